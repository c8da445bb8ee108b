#pragma once

#include "gsmcompare.h"
#include "gsmframerun.h"

#include <QFrame>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TStringGrid;
class TWorkHost;

// "Параметры GSM": the GSM module's settings grid and the server connection test.
class TFrameGsmSetting : public QFrame
{
    Q_OBJECT
public:
    TFrameGsmSetting(TWorkHost *host, QWidget *parent = nullptr);

    // The frame's own initialisation, run by the main window right after creating it.
    void InitFrame();

    // The parameters grid: column 1 of rows 1 to 7 holds the values (row order of the grid, see
    // gsmparams.h). The configuration record copies rows 1 to 6 out of it and back.
    TStringGrid *Grid() const { return sgGsm; }
    // The grid row last selected (1 after InitFrame).
    int CurrentRow() const { return currentRow_; }
    // True while a write or read of the register is under way.
    bool Running() const { return running_; }
    // What a run shows itself with: the progress bar and the stop button beside it.
    QProgressBar *RunProgress() const { return ProgressBar1; }
    QPushButton *RunStop() const { return ButtonStop; }

    // What the register of the connection settings is known to hold of the parameters, from
    // this session's writes and reads.
    TGsmMirror Mirror;

public slots:
    void Button1Click(); // "Получить IP по имени"
    void Button2Click(); // "Проверить соединение"
    void Button3Click(); // "Записать в ККТ"
    void Button4Click(); // "Прочитать из ККТ"
    // "Сервис": the parameters read back and compared with the grid, and written for the
    // changed ones only.
    void VerifyClick();
    void WriteChangedClick();

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void BuildControls();
    void sgGsmSelectCell(int col, int row, bool &canSelect);
    QChar sgGsmKeyPress(int row, QChar key, const QString &text) const;
    bool Edit2KeyPress(QChar key) const;
    // A run over the grid, its progress and its stop; none inside another.
    void RunWithRegister(TGsmRunKind kind);

    TWorkHost *host_;
    int currentRow_ = 1;
    bool running_ = false;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *ButtonStop = nullptr; // "Стоп", shown while a run is under way
    TStringGrid *sgGsm = nullptr;
};
