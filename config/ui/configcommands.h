#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

struct TConfig;
class TFrameGsmSetting;
class TFrameSetZ48;

// The commands "Сохранить конфигурацию" and "Загрузить конфигурацию" of the main window's
// "Файл" menu, with their file dialogs, the hourglass cursor, the wait window and the pause.

// The wait window, which the main window owns.
class TConfigFileUi
{
public:
    virtual ~TConfigFileUi() = default;
    // Shows the wait window and paints it at once.
    virtual void ShowWait() = 0;
    // Closes it again; called once after every ShowWait, on failure too.
    virtual void CloseWait() = 0;
};

// A wait window made by a factory (e.g. TFormWait::ShowOver) and closed with QWidget::close;
// a window that went away meanwhile is left alone.
class TConfigWaitWindow : public TConfigFileUi
{
public:
    explicit TConfigWaitWindow(std::function<QWidget *()> show) : show_(std::move(show)) {}
    void ShowWait() override;
    void CloseWait() override;

private:
    std::function<QWidget *()> show_;
    QPointer<QWidget> window_;
};

namespace ConfigCommand
{
inline const QString kFilter = QStringLiteral("Байлы конфигурации (*.conf)|*.conf");
inline const QString kDefaultExt = QStringLiteral("conf");
// How long the wait window stays before the file work starts.
inline constexpr int kPauseMs = 1000;
} // namespace ConfigCommand

// The save command: the save dialog (cancel: nothing happens), the grids into the record,
// SaveConfigFile. True when the file was written.
bool RunSaveConfig(QWidget *parent, TConfig &config, const TFrameGsmSetting &gsm,
                   const TFrameSetZ48 &tables, TConfigFileUi *ui,
                   int pauseMs = ConfigCommand::kPauseMs);
// The load command: the open dialog (cancel: nothing happens), LoadConfigFile, then the
// record into the grids. A file that cannot be read, or holds none of the configuration's
// sections and is then not confirmed, changes neither the record nor the grids.
bool RunLoadConfig(QWidget *parent, TConfig &config, TFrameGsmSetting &gsm, TFrameSetZ48 &tables,
                   TConfigFileUi *ui, int pauseMs = ConfigCommand::kPauseMs);

// The file work behind the hourglass cursor and the wait window (ui may be null), after a
// pause of pauseMs during which the window repaints but takes no mouse or key input. A failure
// closes the wait window, restores the cursor and then shows an error box with the system's
// reason. A file to load that holds none of the configuration's sections is loaded only when
// the user says Yes to the question (No is the default); false otherwise.
bool SaveConfigFile(QWidget *parent, const QString &path, const TConfig &config, TConfigFileUi *ui,
                    int pauseMs = ConfigCommand::kPauseMs);
bool LoadConfigFile(QWidget *parent, const QString &path, TConfig &config, TConfigFileUi *ui,
                    int pauseMs = ConfigCommand::kPauseMs);

// True while a save or load is under way; a command started meanwhile does nothing.
bool ConfigCommandRunning();
