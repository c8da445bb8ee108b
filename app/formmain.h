#pragma once

#include "config.h"
#include "configcommands.h"
#include "mainmenu.h"
#include "portsearch.h"
#include "progsettings.h"
#include "workhost.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QFrame;
class QLabel;
class TFrameGsmSetting;
class TFrameSetZ48;
class TScannerControl;
class TTablesScannerIndicator;

// The program's main window: the menu, the work panel with the two work frames, and the
// program-wide state (connection settings, port list, the scanner).
class TFormMain : public QMainWindow, public TWorkHost
{
    Q_OBJECT
public:
    explicit TFormMain(QWidget *parent = nullptr);
    ~TFormMain() override;

    // TWorkHost
    const TStructSetting &Settings() const override { return settings_; }
    bool StartupComplete() const override { return startupComplete_; }
    void StartScanner() override;
    void StopScanner() override;
    void SetRunLock(bool locked) override;
    bool Closing() const override { return closing_; }
    void ShowStatus(const QString &text) override;
    void ShowNote(const QString &text) override;
    bool RunLocked() const { return runLocked_; }

    // Makes frame the visible work frame (nullptr: none).
    void ShowFrame(QWidget *frame);
    QWidget *CurrentFrame() const { return currentFrame_; }

    const QStringList &Ports() const { return ports_; }
    const QString &VersionText() const { return versionText_; }
    const TMainMenu &Menu() const { return menu_; }
    TScannerControl *Scanner() const { return scanner_; }
    TFrameGsmSetting *GsmFrame() const { return gsmFrame_; }
    TFrameSetZ48 *TablesFrame() const { return tablesFrame_; }
    const TConfig &Config() const { return config_; }

    // The caption before the version is appended.
    static QString BaseCaption();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow(); // the start-up sequence, on first show
    void CreateFrames();
    void ConnectionSettingsClick();
    void VersionClick();
    void ScannerClick();
    void VerifyRegisterClick();
    void WriteChangedClick();
    void N7Click();
    void N8Click();
    // The status bar: a run's place, or, while "Программирование" is disabled, where the
    // register's port is chosen.
    void UpdateStatus();
    // Whether "Программирование" is enabled apart from a run's lock of the menu.
    bool ProgrammingEnabled() const;

    // Started with the window, taken at the start-up's port step.
    TPortSearch portSearch_;
    TMainMenu menu_;
    QFrame *workPanel_ = nullptr;
    // In the status bar as a widget: the bar's temporary messages (the menu items' tips) cover
    // it for their while instead of wiping it.
    QLabel *statusText_ = nullptr;
    QString runStatus_;
    QString portFailure_; // why the last opening of the register's port failed
    TStructSetting settings_;
    QStringList ports_;
    TConfig config_; // staging between the frames' grids and a ".conf" file
    TConfigWaitWindow configWait_;
    std::unique_ptr<TTablesScannerIndicator> scannerIndicator_;
    TScannerControl *scanner_ = nullptr; // child object, created at start-up
    TFrameGsmSetting *gsmFrame_ = nullptr;
    TFrameSetZ48 *tablesFrame_ = nullptr;
    QWidget *currentFrame_ = nullptr;
    QString versionText_;
    bool shownOnce_ = false;
    bool startupComplete_ = false;
    bool closing_ = false;
    bool runLocked_ = false;
    QList<bool> lockedStates_; // the bar's items before a run locked them
};
