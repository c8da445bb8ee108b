#include "dialogs.h"

#include "filefilter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace
{

// The program's own windows: message boxes captioned with the application's name, as Windows
// captions them with the application title, and the common file dialogs.
class TRealDialogs final : public TDialogs
{
public:
    void Message(QWidget *parent, Kind kind, const QString &text) override
    {
        QMessageBox box(IconOf(kind), QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                        parent);
        box.exec();
    }

    Answer AskYesNo(QWidget *parent, const QString &text, Answer defaultButton) override
    {
        QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }

    QString OpenFileName(QWidget *parent, const QString &filter, const QString &defaultExt) override
    {
        return Run(parent, QFileDialog::AcceptOpen, {{}, filter, defaultExt, {}, {}});
    }

    QString SaveFileName(QWidget *parent, const QString &filter, const QString &defaultExt) override
    {
        return Run(parent, QFileDialog::AcceptSave, {{}, filter, defaultExt, {}, {}});
    }

    QString SaveFileNameAndFilter(QWidget *parent, const QString &filter, const QString &defaultExt,
                                  int *chosenFilter) override
    {
        return Run(parent, QFileDialog::AcceptSave, {{}, filter, defaultExt, {}, {}}, chosenFilter);
    }

    QString OpenFile(QWidget *parent, const TFileRequest &request) override
    {
        return Run(parent, QFileDialog::AcceptOpen, request);
    }

    QString SaveFile(QWidget *parent, const TFileRequest &request, int *chosenFilter) override
    {
        return Run(parent, QFileDialog::AcceptSave, request, chosenFilter);
    }

private:
    static QMessageBox::Icon IconOf(Kind kind)
    {
        switch (kind) {
        case Kind::Information:
            return QMessageBox::Information;
        case Kind::Error:
            return QMessageBox::Critical;
        case Kind::Question:
            return QMessageBox::Question;
        case Kind::Warning:
            return QMessageBox::Warning;
        }
        return QMessageBox::NoIcon;
    }

    // Both dialogs take any name: the open dialog also one of a file that does not exist yet,
    // and the save dialog replaces a file without asking, as the program's commands expect.
    static QString Run(QWidget *parent, QFileDialog::AcceptMode mode, const TFileRequest &request,
                       int *chosenFilter = nullptr)
    {
        QString title = request.title;
        if (title.isEmpty())
            title = mode == QFileDialog::AcceptOpen ? QStringLiteral("Открыть")
                                                    : QStringLiteral("Сохранить как");
        QFileDialog dialog(parent, title, request.folder);
        dialog.setAcceptMode(mode);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilter(QtFileFilter(request.filter));
        dialog.setDefaultSuffix(request.defaultExt);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        if (chosenFilter)
            *chosenFilter =
                int(qMax<qsizetype>(0, dialog.nameFilters().indexOf(dialog.selectedNameFilter())));
        return WithDefaultExtension(dialog.selectedFiles().constFirst(), request.defaultExt);
    }
};

TDialogs *installed = nullptr;

} // namespace

QString TDialogs::SaveFileNameAndFilter(QWidget *parent, const QString &filter,
                                        const QString &defaultExt, int *chosenFilter)
{
    if (chosenFilter)
        *chosenFilter = 0;
    return SaveFileName(parent, filter, defaultExt);
}

QString TDialogs::OpenFile(QWidget *parent, const TFileRequest &request)
{
    return OpenFileName(parent, request.filter, request.defaultExt);
}

QString TDialogs::SaveFile(QWidget *parent, const TFileRequest &request, int *chosenFilter)
{
    return SaveFileNameAndFilter(parent, request.filter, request.defaultExt, chosenFilter);
}

TDialogs &TDialogs::Instance()
{
    static TRealDialogs real;
    return installed ? *installed : real;
}

void TDialogs::Install(TDialogs *replacement)
{
    installed = replacement;
}
