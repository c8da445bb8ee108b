#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QPushButton;
class QWidget;
class TStringGrid;
class TWorkHost;

// The text shown when the user has stopped a run.
inline const QString kRunStoppedText =
    QStringLiteral("ВНИМАНИЕ!\r\nОперация прервана пользователем!");

// What the user sees of a run with the register and how he stops it, for the run's length:
// the stop button beside the progress bar is shown, Esc anywhere in the button's window asks
// for the stop as the button does, the grid the run uses is read-only, and the main window's
// status bar shows the run's place (cleared at the end unless kept). Everything is given back
// however the run ends; widgets destroyed meanwhile are skipped. The run looks at StopRequested()
// between two exchanges, so the exchange under way always completes.
class TRunControl : public QObject
{
public:
    TRunControl(QPushButton *stopButton, TStringGrid *grid, TWorkHost *host);
    ~TRunControl() override;
    TRunControl(const TRunControl &) = delete;
    TRunControl &operator=(const TRunControl &) = delete;

    bool StopRequested() const { return stopRequested_; }
    void ShowPlace(const QString &text);
    // The place the run ended at, kept in the status bar after the run.
    void ShowLastPlace(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QPushButton> stop_;
    QPointer<TStringGrid> grid_;
    QPointer<QWidget> window_;
    TWorkHost *host_;
    bool gridWasReadOnly_ = false;
    bool stopRequested_ = false;
    bool keepPlace_ = false;
};
