#include "goodsfindbar.h"

#include "stringgrid.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace
{

QToolButton *BarButton(QWidget *parent, const QString &name, const QString &text,
                       const QString &toolTip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TGoodsFindBar::TGoodsFindBar(TStringGrid *grid, QWidget *parent) : QFrame(parent), grid_(grid)
{
    setObjectName(QStringLiteral("GoodsFindBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(QStringLiteral("Найти:"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("editFind"));
    edit_->setAccessibleName(QStringLiteral("Найти товар: наименование, штрих-код или код"));
    edit_->setPlaceholderText(QStringLiteral("наименование, штрих-код или код товара"));
    edit_->setMinimumWidth(260);
    edit_->installEventFilter(this);
    caption->setBuddy(edit_);
    QToolButton *previous =
        BarButton(this, QStringLiteral("buttonFindPrevious"), QStringLiteral("▲ Назад"),
                  QStringLiteral("Предыдущий (Shift+F3)"));
    QToolButton *next = BarButton(this, QStringLiteral("buttonFindNext"), QStringLiteral("▼ Далее"),
                                  QStringLiteral("Следующий (F3)"));
    QToolButton *close = BarButton(this, QStringLiteral("buttonFindClose"), QStringLiteral("✕"),
                                   QStringLiteral("Закрыть (Esc)"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("labelFindStatus"));
    status_->setStyleSheet(QStringLiteral("color: #800000;"));
    layout->addWidget(caption);
    layout->addWidget(edit_);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(status_, 1);
    layout->addWidget(close);

    connect(edit_, &QLineEdit::textEdited, this, &TGoodsFindBar::TextEdited);
    connect(previous, &QToolButton::clicked, this, [this] { FindNext(false); });
    connect(next, &QToolButton::clicked, this, [this] { FindNext(true); });
    connect(close, &QToolButton::clicked, this, &TGoodsFindBar::Close);
    hide();
}

void TGoodsFindBar::Open()
{
    // The clear button's icon is looked up in the icon theme, a search through the system's
    // icon folders that took a fifth of the program's start-up: it waits for the bar's first
    // opening.
    edit_->setClearButtonEnabled(true);
    show();
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->selectAll();
}

void TGoodsFindBar::Close()
{
    hide();
    status_->clear();
    grid_->setFocus(Qt::OtherFocusReason);
}

bool TGoodsFindBar::FindNext(bool forward)
{
    if (edit_->text().trimmed().isEmpty()) {
        Open();
        return false;
    }
    return Find(forward, false);
}

void TGoodsFindBar::TextEdited()
{
    if (edit_->text().trimmed().isEmpty())
        status_->clear();
    else
        Find(true, true);
}

bool TGoodsFindBar::Find(bool forward, bool fromIncluded)
{
    const TGoodsFind find(edit_->text());
    const TGoodsMatch match = find.Next([this](int col, int row) { return grid_->Cells(col, row); },
                                        grid_->RowCount() - 1, grid_->Row(), forward, fromIncluded);
    if (match.row == 0) {
        status_->setText(QStringLiteral("Не найдено"));
        return false;
    }
    status_->setText(!match.wrapped ? QString()
                     : forward ? QStringLiteral("Поиск продолжен с начала таблицы")
                               : QStringLiteral("Поиск продолжен с конца таблицы"));
    grid_->SetCurrentCell(match.col, match.row);
    grid_->scrollTo(grid_->model()->index(match.row - 1, match.col - 1));
    return true;
}

bool TGoodsFindBar::eventFilter(QObject *object, QEvent *event)
{
    if (object == edit_ && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
            Close();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            FindNext(!(mods & Qt::ShiftModifier));
            return true;
        }
    }
    return QFrame::eventFilter(object, event);
}
