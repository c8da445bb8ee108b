#include "dialogrecorder.h"

#include <QtTest/QTest>

TDialogRecorder::TDialogRecorder()
{
    TDialogs::Install(this);
}

TDialogRecorder::~TDialogRecorder()
{
    TDialogs::Install(nullptr);
}

QList<TDialogRecorder::Shown> TDialogRecorder::Messages() const
{
    QList<Shown> shown;
    for (const Record &r : records_)
        if (r.call == Call::Message || r.call == Call::AskYesNo)
            shown.append({r.kind, r.text});
    return shown;
}

QStringList TDialogRecorder::Texts() const
{
    QStringList texts;
    for (const Shown &s : Messages())
        texts.append(s.text);
    return texts;
}

QStringList TDialogRecorder::Questions() const
{
    QStringList texts;
    for (const Record &r : records_)
        if (r.call == Call::AskYesNo)
            texts.append(r.text);
    return texts;
}

QString TDialogRecorder::LastText() const
{
    const QStringList texts = Texts();
    return texts.isEmpty() ? QString() : texts.constLast();
}

QList<TDialogRecorder::Record> TDialogRecorder::FileDialogs() const
{
    QList<Record> dialogs;
    for (const Record &r : records_)
        if (r.call == Call::OpenFileName || r.call == Call::SaveFileName)
            dialogs.append(r);
    return dialogs;
}

void TDialogRecorder::Message(QWidget *parent, Kind kind, const QString &text)
{
    records_.append({Call::Message, kind, text, QString(), parent});
}

TDialogs::Answer TDialogRecorder::AskYesNo(QWidget *parent, const QString &text,
                                           Answer defaultButton)
{
    records_.append({Call::AskYesNo, Kind::Question, text, QString(), parent, defaultButton});
    return answers_.isEmpty() ? defaultAnswer_ : answers_.dequeue();
}

QString TDialogRecorder::OpenFileName(QWidget *parent, const QString &filter,
                                      const QString &defaultExt)
{
    records_.append({Call::OpenFileName, Kind::Information, filter, defaultExt, parent});
    return openFileName_;
}

QString TDialogRecorder::SaveFileName(QWidget *parent, const QString &filter,
                                      const QString &defaultExt)
{
    records_.append({Call::SaveFileName, Kind::Information, filter, defaultExt, parent});
    return saveFileName_;
}

QString TDialogRecorder::SaveFileNameAndFilter(QWidget *parent, const QString &filter,
                                               const QString &defaultExt, int *chosenFilter)
{
    if (chosenFilter)
        *chosenFilter = saveFilter_;
    return SaveFileName(parent, filter, defaultExt);
}

QString TDialogRecorder::OpenFile(QWidget *parent, const TFileRequest &request)
{
    records_.append({Call::OpenFileName, Kind::Information, request.filter, request.defaultExt,
                     parent, Answer::Ok, request.title, request.folder, request.fileName});
    return openFileName_;
}

QString TDialogRecorder::SaveFile(QWidget *parent, const TFileRequest &request, int *chosenFilter)
{
    records_.append({Call::SaveFileName, Kind::Information, request.filter, request.defaultExt,
                     parent, Answer::Ok, request.title, request.folder, request.fileName});
    if (chosenFilter)
        *chosenFilter = saveFilter_;
    return saveFileName_;
}

char *toString(const TDialogRecorder::Shown &shown)
{
    static const char *const kinds[] = {"Information", "Error", "Question", "Warning"};
    const QByteArray text = QByteArray(kinds[int(shown.kind)]) + ": " + shown.text.toUtf8();
    return qstrdup(text.constData());
}
