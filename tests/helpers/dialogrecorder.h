#pragma once

#include "dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

// Stands in for every message box and file dialog while it lives: installs itself on
// construction, restores the real windows on destruction, and records each call in order.
//
//   TDialogRecorder dialogs;
//   dialogs.SetSaveFileName(path);
//   frame.Button1Click();
//   QCOMPARE(dialogs.Texts(), QStringList{"ВНИМАНИЕ!\r\n..."});
class TDialogRecorder : public TDialogs
{
public:
    enum class Call { Message, AskYesNo, OpenFileName, SaveFileName };

    struct Record {
        Call call = Call::Message;
        Kind kind = Kind::Information; // Kind::Question for AskYesNo
        QString text;                  // the message; the filter for a file dialog
        QString defaultExt;            // file dialogs only
        QWidget *parent = nullptr;
        Answer defaultButton = Answer::Ok; // AskYesNo only: the button Enter would press
        QString title = {};                // file dialogs: the caption asked for
        QString folder = {};               // file dialogs: where it would open
        QString fileName = {};             // save dialogs: the name offered
        bool operator==(const Record &other) const = default;
    };

    // A message box or question as a test states it: {kind, text}.
    struct Shown {
        Kind kind = Kind::Information;
        QString text;
        bool operator==(const Shown &other) const = default;
    };

    TDialogRecorder();
    ~TDialogRecorder() override;
    TDialogRecorder(const TDialogRecorder &) = delete;
    TDialogRecorder &operator=(const TDialogRecorder &) = delete;

    // Every call, in order.
    const QList<Record> &Records() const { return records_; }
    // Message boxes and Yes/No questions only, in order.
    QList<Shown> Messages() const;
    // Their texts only.
    QStringList Texts() const;
    // The texts of the Yes/No questions only.
    QStringList Questions() const;
    // The last message or question text; empty when there was none.
    QString LastText() const;
    // How many message boxes and questions were shown.
    int MessageCount() const { return int(Messages().size()); }
    // File dialogs only, in order.
    QList<Record> FileDialogs() const;
    // Forgets what was recorded (the preset answers and file names stay).
    void Clear() { records_.clear(); }

    // Answers for the next questions, first in first out; with the queue empty a question gets
    // DefaultAnswer (Yes unless set).
    void QueueAnswer(Answer answer) { answers_.enqueue(answer); }
    void SetDefaultAnswer(Answer answer) { defaultAnswer_ = answer; }
    int PendingAnswers() const { return int(answers_.size()); }

    // The names the open and save dialogs return until changed; empty means "cancelled".
    void SetOpenFileName(const QString &name) { openFileName_ = name; }
    void SetSaveFileName(const QString &name) { saveFileName_ = name; }
    // The filter entry the save dialog reports as chosen (0 unless set).
    void SetSaveFilter(int index) { saveFilter_ = index; }

    void Message(QWidget *parent, Kind kind, const QString &text) override;
    Answer AskYesNo(QWidget *parent, const QString &text, Answer defaultButton) override;
    QString OpenFileName(QWidget *parent, const QString &filter,
                         const QString &defaultExt) override;
    QString SaveFileName(QWidget *parent, const QString &filter,
                         const QString &defaultExt) override;
    QString SaveFileNameAndFilter(QWidget *parent, const QString &filter, const QString &defaultExt,
                                  int *chosenFilter) override;
    QString OpenFile(QWidget *parent, const TFileRequest &request) override;
    QString SaveFile(QWidget *parent, const TFileRequest &request, int *chosenFilter) override;

private:
    QList<Record> records_;
    QQueue<Answer> answers_;
    Answer defaultAnswer_ = Answer::Yes;
    QString openFileName_;
    QString saveFileName_;
    int saveFilter_ = 0;
};

// Readable failures in QCOMPARE.
char *toString(const TDialogRecorder::Shown &shown);
