#include "configcommands.h"

#include "config.h"
#include "configfile.h"
#include "configgrids.h"
#include "dialogs.h"
#include "goodsbaseactions.h"
#include "inidocument.h"
#include "waitcursor.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

namespace
{

bool running = false;

// Marks a command as under way for its whole length, dialogs included.
class TRunningMark
{
public:
    TRunningMark() { running = true; }
    ~TRunningMark() { running = false; }
    TRunningMark(const TRunningMark &) = delete;
    TRunningMark &operator=(const TRunningMark &) = delete;
};

void Repaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The hourglass and the wait window for the length of the file work; both go away however it
// ends.
class TBusy
{
public:
    explicit TBusy(TConfigFileUi *ui) : ui_(ui)
    {
        if (ui_)
            ui_->ShowWait();
        Repaint();
    }
    ~TBusy()
    {
        if (ui_)
            ui_->CloseWait();
    }
    TBusy(const TBusy &) = delete;
    TBusy &operator=(const TBusy &) = delete;

private:
    const TWaitCursor wait_; // first: shown before the wait window, gone after it
    TConfigFileUi *ui_;
};

// Waits while the windows keep repainting. Mouse and key input stays queued until the command
// is over, so no menu item or button can start anything inside the pause.
void Pause(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// The same form as the goods base file's error box: what failed, the file, the system's words.
QString FailureText(const QString &what, const QString &path, const QString &reason)
{
    return what + QStringLiteral(" \"") + QDir::toNativeSeparators(path) +
           QStringLiteral("\".\r\n") + reason;
}

} // namespace

void TConfigWaitWindow::ShowWait()
{
    if (show_)
        window_ = show_();
}

void TConfigWaitWindow::CloseWait()
{
    if (window_)
        window_->close();
    window_ = nullptr;
}

bool SaveConfigFile(QWidget *parent, const QString &path, const TConfig &config, TConfigFileUi *ui,
                    int pauseMs)
{
    QString error;
    bool saved = false;
    {
        TBusy busy(ui);
        Pause(pauseMs);
        saved = WriteConfigFile(path, config, &error);
    }
    if (!saved)
        ShowError(parent, FailureText(QStringLiteral("Не удалось сохранить файл конфигурации"),
                                      path, error));
    return saved;
}

bool LoadConfigFile(QWidget *parent, const QString &path, TConfig &config, TConfigFileUi *ui,
                    int pauseMs)
{
    QString error;
    TIniDocument doc;
    bool read = false;
    bool holdsConfig = false;
    {
        TBusy busy(ui);
        Pause(pauseMs);
        read = ReadConfigDocument(path, doc, &error);
        holdsConfig = read && HoldsConfig(doc);
        if (holdsConfig)
            ConfigFromIni(doc, config);
    }
    if (!read) {
        ShowError(parent, FailureText(QStringLiteral("Не удалось прочитать файл конфигурации"),
                                      path, error));
        return false;
    }
    if (holdsConfig)
        return true;
    // The wrong file chosen by mistake would reset every field: the user decides first.
    if (!ConfirmLoadWithoutData(parent))
        return false;
    ConfigFromIni(doc, config);
    return true;
}

bool RunSaveConfig(QWidget *parent, TConfig &config, const TFrameGsmSetting &gsm,
                   const TFrameSetZ48 &tables, TConfigFileUi *ui, int pauseMs)
{
    if (running)
        return false;
    TRunningMark mark;
    const QString path = TDialogs::Instance().SaveFileName(parent, ConfigCommand::kFilter,
                                                           ConfigCommand::kDefaultExt);
    if (path.isEmpty())
        return false;
    // The file itself is created by the write: the document reads a missing file as empty, and
    // a name that cannot be created gets its error box there.
    ConfigFromGrids(config, gsm, tables);
    return SaveConfigFile(parent, path, config, ui, pauseMs);
}

bool RunLoadConfig(QWidget *parent, TConfig &config, TFrameGsmSetting &gsm, TFrameSetZ48 &tables,
                   TConfigFileUi *ui, int pauseMs)
{
    if (running)
        return false;
    TRunningMark mark;
    const QString path = TDialogs::Instance().OpenFileName(parent, ConfigCommand::kFilter,
                                                           ConfigCommand::kDefaultExt);
    if (path.isEmpty())
        return false;
    if (!LoadConfigFile(parent, path, config, ui, pauseMs))
        return false;
    ConfigToGrids(config, gsm, tables);
    return true;
}

bool ConfigCommandRunning()
{
    return running;
}
