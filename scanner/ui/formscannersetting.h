#pragma once

#include "scancfg.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QFrame;
class QPushButton;
class TFrame_X5710;

// "Настройки сканера штрих-кода": the scanner model, and for a model its port and speed, kept
// in "Scan.cfg". Created anew each time, so it always starts from the file.
class TFormScannerSetting : public QDialog
{
    Q_OBJECT
public:
    // path: the settings file; the program's "Scan.cfg" unless a caller names another.
    explicit TFormScannerSetting(QWidget *parent = nullptr,
                                 const QString &path = ScanCfg::FilePath());

    // The dialog's working copy of the file.
    const TScanCfg &Cfg() const { return cfg_; }

    QLabel *Label1 = nullptr;
    QComboBox *ComboBox1 = nullptr; // model
    QFrame *Panel2 = nullptr;       // host of the model's settings frame
    QPushButton *Button2 = nullptr; // "Применить"
    QPushButton *Button1 = nullptr; // "Отмена"
    TFrame_X5710 *Frame_X5710 = nullptr;

public slots:
    void ComboBox1Change();
    void Button2Click();
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();

    QString path_;
    TScanCfg cfg_;
};

// What the scanner menu command takes from the dialog.
struct TScannerDialogResult {
    bool Accepted = false; // closed with "Применить"
    TScanCfg Cfg;          // the dialog's texts as it closed
};

// Creates the dialog anew, shows it modally and returns its result and texts.
TScannerDialogResult RunScannerSettingDialog(QWidget *parent,
                                             const QString &path = ScanCfg::FilePath());
