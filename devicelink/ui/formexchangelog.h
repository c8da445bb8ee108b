#pragma once

#include <QSet>
#include <QWidget>

class QAction;
class QTableView;
class QPushButton;
class QTimer;
class TExchangeLogModel;

// "Журнал обмена": a window with the trace of every exchange with the register from the moment
// it is opened. It sets the exchange hook while it lives and unsets it when it goes, so a
// closed log costs the exchanges nothing. New lines come in batches on a short timer; the view
// follows them while it is scrolled to the end.
class TFormExchangeLog : public QWidget
{
    Q_OBJECT
public:
    // The one log window: created as a window of parent when there is none (it is deleted when
    // closed), shown and brought to the front.
    static TFormExchangeLog *ShowLog(QWidget *parent);
    // The open log window, nullptr when it is closed.
    static TFormExchangeLog *Current();

    explicit TFormExchangeLog(QWidget *parent = nullptr);
    ~TFormExchangeLog() override;

    // Puts the events captured since the last call into the list (the timer calls it).
    void TakeEvents();
    void ClearClick();
    void SaveClick();
    // The selected lines to the clipboard, one a line, in the log's order.
    void CopyClick();
    const TExchangeLogModel &Model() const { return *model_; }
    // How wide the widest line is, with its margins (the column is at least this wide).
    int LineWidth() const { return lineWidth_; }

    QTableView *tvLog = nullptr;
    QPushButton *btnClear = nullptr;
    QPushButton *btnSave = nullptr;
    QAction *actCopy = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void WidenFor(int firstRow);
    void FitColumn();

    TExchangeLogModel *model_ = nullptr;
    QTimer *timer_ = nullptr;
    QSet<quint64> measuredShapes_;
    int lineWidth_ = 0;
};
