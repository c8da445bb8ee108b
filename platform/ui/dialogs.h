#pragma once

#include <QString>

class QWidget;

// Every message box and file dialog of the program goes through here, so tests can put a
// recorder in place of the real windows and assert each text exactly.
class TDialogs
{
public:
    // A file dialog as a command asks for it.
    struct TFileRequest {
        QString title; // what the command does; empty: "Открыть" or "Сохранить как"
        QString filter;
        QString defaultExt;
        QString folder;   // where the dialog opens; empty: where it opens by itself
        QString fileName; // the name a save dialog offers; empty: none
    };

    enum class Kind { Information, Error, Question, Warning };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~TDialogs() = default;

    // A modal box with an OK button. Kind::Question shows the question icon (some messages of
    // the program use it with only OK).
    virtual void Message(QWidget *parent, Kind kind, const QString &text) = 0;
    // A modal Yes/No question; returns Answer::Yes or Answer::No. defaultButton (Yes or No) is
    // what Enter answers: No where a stray Enter must not erase anything.
    virtual Answer AskYesNo(QWidget *parent, const QString &text,
                            Answer defaultButton = Answer::Yes) = 0;
    // File dialogs. filter is in the program's own form, "Description (*.ext)|*.ext";
    // defaultExt without the dot is appended to a name typed without one. Empty when cancelled.
    virtual QString OpenFileName(QWidget *parent, const QString &filter,
                                 const QString &defaultExt) = 0;
    virtual QString SaveFileName(QWidget *parent, const QString &filter,
                                 const QString &defaultExt) = 0;
    // The save dialog that also tells which entry of the filter the user left chosen (0 the
    // first, as the dialog opens). This one asks SaveFileName and answers 0, so a replacement
    // that knows nothing of filters still serves.
    virtual QString SaveFileNameAndFilter(QWidget *parent, const QString &filter,
                                          const QString &defaultExt, int *chosenFilter);
    // The dialogs with their own caption, folder and offered name. These ask the forms above
    // (which know none of them), so a replacement that knows only those still serves.
    virtual QString OpenFile(QWidget *parent, const TFileRequest &request);
    virtual QString SaveFile(QWidget *parent, const TFileRequest &request,
                             int *chosenFilter = nullptr);

    // The instance in use: the real windows unless a test installed another.
    static TDialogs &Instance();
    // Installs a replacement (not owned); nullptr restores the real windows.
    static void Install(TDialogs *replacement);
};

// Short forms for the common cases.
inline void ShowInformation(QWidget *parent, const QString &text)
{
    TDialogs::Instance().Message(parent, TDialogs::Kind::Information, text);
}
inline void ShowError(QWidget *parent, const QString &text)
{
    TDialogs::Instance().Message(parent, TDialogs::Kind::Error, text);
}
