#include "goodsimportdialog.h"

#include "goodscsv.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TGoodsImportDialog::TGoodsImportDialog(const TGoodsImportPlan &plan, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormGoodsImport"));
    setWindowTitle(QStringLiteral("Импорт товаров из CSV"));
    auto *layout = new QVBoxLayout(this);

    auto *summary = new QLabel(GoodsImportSummary(plan), this);
    summary->setObjectName(QStringLiteral("LabelSummary"));
    layout->addWidget(summary);

    if (!plan.problems.isEmpty()) {
        auto *caption = new QLabel(QStringLiteral("Не будут использованы:"), this);
        layout->addWidget(caption);
        // A long list scrolls; the user can copy it to mend the file.
        auto *problems = new QPlainTextEdit(this);
        problems->setObjectName(QStringLiteral("MemoProblems"));
        problems->setAccessibleName(caption->text());
        problems->setReadOnly(true);
        problems->setLineWrapMode(QPlainTextEdit::NoWrap);
        problems->setPlainText(GoodsImportProblemText(plan));
        problems->setMinimumSize(520, 200);
        caption->setBuddy(problems);
        layout->addWidget(problems, 1);
    }

    auto *buttons = new QDialogButtonBox(this);
    ButtonImport =
        buttons->addButton(QStringLiteral("Импортировать"), QDialogButtonBox::AcceptRole);
    ButtonImport->setObjectName(QStringLiteral("ButtonImport"));
    ButtonImport->setEnabled(!plan.items.isEmpty());
    ButtonCancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    // The rows it overwrites cannot be had back: a stray Enter keeps them.
    ButtonImport->setAutoDefault(false);
    ButtonCancel->setDefault(true);
    ButtonCancel->setFocus();
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool ConfirmGoodsImport(QWidget *parent, const TGoodsImportPlan &plan)
{
    TGoodsImportDialog dialog(plan, parent);
    return dialog.exec() == QDialog::Accepted;
}
