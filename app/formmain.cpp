#include "formmain.h"

#include "appfolder.h"
#include "deviceport.h"
#include "dialogs.h"
#include "formexchangelog.h"
#include "formsett.h"
#include "formversion.h"
#include "formwait.h"
#include "framegsmsetting.h"
#include "framesetz48.h"
#include "goodscsvactions.h"
#include "portsearch.h"
#include "programsettings.h"
#include "scancfg.h"
#include "scannercontrol.h"
#include "tablesscanner.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace
{
// The client area (work panel and status bar) and the limits of the outer size; the frame of a
// window takes 8 pixels of width and, with the title bar, 46 - menu of height.
constexpr int clientWidth = 905;
constexpr int clientHeight = 608;
constexpr int minOuterWidth = 550;
constexpr int minOuterHeight = 450;
constexpr int maxOuterWidth = 913;
constexpr int maxOuterHeight = 654;
constexpr int frameWidth = maxOuterWidth - clientWidth;
constexpr int frameHeight = maxOuterHeight - clientHeight;
// How long a note stays in the status bar.
constexpr int kNoteMs = 8000;
} // namespace

QString TFormMain::BaseCaption()
{
    return QStringLiteral("Программирование параметров GSM модуля.");
}

TFormMain::TFormMain(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      configWait_([this] { return TFormWait::ShowOver(this); })
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(BaseCaption());
    menu_ = BuildMainMenu(menuBar());
    connect(menu_.SaveConfig, &QAction::triggered, this, &TFormMain::N7Click);
    connect(menu_.LoadConfig, &QAction::triggered, this, &TFormMain::N8Click);
    connect(menu_.Exit, &QAction::triggered, this, &QWidget::close);
    connect(menu_.ConnectionSettings, &QAction::triggered, this,
            &TFormMain::ConnectionSettingsClick);
    connect(menu_.GsmParams, &QAction::triggered, this, [this] { ShowFrame(gsmFrame_); });
    connect(menu_.Z48Params, &QAction::triggered, this, [this] { ShowFrame(tablesFrame_); });
    connect(menu_.ScannerSettings, &QAction::triggered, this, &TFormMain::ScannerClick);
    connect(menu_.Version, &QAction::triggered, this, &TFormMain::VersionClick);
    connect(menu_.VerifyRegister, &QAction::triggered, this, &TFormMain::VerifyRegisterClick);
    connect(menu_.WriteChanged, &QAction::triggered, this, &TFormMain::WriteChangedClick);
    menu_.VerifyRegister->setEnabled(false);
    menu_.WriteChanged->setEnabled(false);
    connect(menu_.ExchangeLog, &QAction::triggered, this,
            [this] { TFormExchangeLog::ShowLog(this); });
    // The goods CSV tools work on the goods tab, never inside a run.
    const auto goodsTool = [this](void (*tool)(TFrameSetZ48 &)) {
        return [this, tool] {
            if (runLocked_ || !tablesFrame_)
                return;
            ShowFrame(tablesFrame_);
            tool(*tablesFrame_);
        };
    };
    connect(menu_.ExportGoods, &QAction::triggered, this, goodsTool(ExportGoodsCsv));
    connect(menu_.ImportGoods, &QAction::triggered, this, goodsTool(ImportGoodsCsv));

    workPanel_ = new QFrame(this);
    workPanel_->setObjectName(QStringLiteral("WorkPanel"));
    workPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    workPanel_->setLineWidth(1);
    // The frames sit at left 1, top 1 inside the bevel and follow the panel's four edges.
    auto *layout = new QGridLayout(workPanel_);
    layout->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(workPanel_);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusText_ = new QLabel(statusBar());
    statusText_->setObjectName(QStringLiteral("StatusText"));
    statusBar()->addWidget(statusText_, 1);
    connect(menu_.Programming->menuAction(), &QAction::enabledChanged, this,
            &TFormMain::UpdateStatus);
    // A port that does not open says why in the status bar, until one opens again.
    SetPortOpenListener([this](const QString &failure) {
        portFailure_ = failure;
        UpdateStatus();
    });
    UpdateStatus();

    const int menuHeight = menuBar()->sizeHint().height();
    setMinimumSize(minOuterWidth - frameWidth, minOuterHeight - frameHeight + menuHeight);
    setMaximumSize(clientWidth, clientHeight + menuHeight);
    resize(clientWidth, clientHeight + menuHeight);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TFormMain::~TFormMain()
{
    SetPortOpenListener({});
    // The reader goes first, while the frame its barcodes and lamp belong to is still there.
    delete scanner_;
    scanner_ = nullptr;
}

void TFormMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    FormShow();
}

void TFormMain::FormShow()
{
    bool closeAfterStartup = false;
    if (!ReadProgSettings(ProgSettingsPath(), settings_)) {
        ShowInformation(this, QStringLiteral("ВНИМАНИЕ!\r\nНе удалось прочитать файл настроек - "
                                             "ProgSett.ini!\r\nПопробуйте запустить программу от "
                                             "имени Администратора!"));
        closeAfterStartup = true;
    }

    ports_ = portSearch_.Take(settings_.Port.Name);
    if (ports_.isEmpty()) {
        menu_.Programming->menuAction()->setEnabled(false);
        ShowInformation(this, QStringLiteral("ВНИМАНИЕ!\r\nНа ПК не обнаружено ни одного COM "
                                             "порта!\r\nСвязь с ККТ не будет установлена!"));
    }

    CreateFrames();
    // Stays disabled until the connection settings are applied.
    menu_.Programming->menuAction()->setEnabled(false);
    // Widgets draw double-buffered already; nothing to switch on.

    versionText_ = ProgramVersionText();
    setWindowTitle(BaseCaption() + QStringLiteral(" (ver.") + versionText_ + QStringLiteral(")"));

    // Reads "Scan.cfg" (created empty when missing), hides the goods tab's scanner lamp when no
    // scanner is set, and creates the reader paused.
    scannerIndicator_ = std::make_unique<TTablesScannerIndicator>(tablesFrame_);
    scanner_ = new TScannerControl(scannerIndicator_.get(), this);
    connect(scanner_, &TScannerControl::BarcodeReceived, this,
            [this](const QString &barcode) { ScanBarcodeReceived(*tablesFrame_, barcode); });

    startupComplete_ = true;
    if (closeAfterStartup)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TFormMain::CreateFrames()
{
    auto *layout = static_cast<QGridLayout *>(workPanel_->layout());
    gsmFrame_ = new TFrameGsmSetting(this, workPanel_);
    gsmFrame_->hide();
    layout->addWidget(gsmFrame_, 0, 0);
    gsmFrame_->InitFrame();

    tablesFrame_ = new TFrameSetZ48(this, workPanel_);
    tablesFrame_->hide();
    layout->addWidget(tablesFrame_, 0, 0);
    tablesFrame_->InitGrids();
    currentFrame_ = nullptr;
}

void TFormMain::ShowFrame(QWidget *frame)
{
    if (frame == currentFrame_)
        return;
    if (currentFrame_)
        currentFrame_->hide();
    currentFrame_ = frame;
    if (currentFrame_)
        currentFrame_->show();
    menu_.SaveConfig->setEnabled(true);
    const bool work = currentFrame_ != nullptr;
    menu_.VerifyRegister->setEnabled(work);
    menu_.WriteChanged->setEnabled(work);
    QCoreApplication::processEvents();
}

void TFormMain::ConnectionSettingsClick()
{
    auto *dialog = new TFormSett(settings_, ports_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (dialog->exec() == QDialog::Accepted) {
        menu_.Programming->menuAction()->setEnabled(true);
        // Another port or device number is another register, with its own known contents.
        if (tablesFrame_)
            tablesFrame_->UpdateChangeMarks();
    }
}

void TFormMain::VersionClick()
{
    TFormVersion version(versionText_, this);
    version.exec();
}

// Both work on the frame shown: the GSM parameters or the open tab of the tables frame.
void TFormMain::VerifyRegisterClick()
{
    if (currentFrame_ && currentFrame_ == gsmFrame_)
        gsmFrame_->VerifyClick();
    else if (currentFrame_ && currentFrame_ == tablesFrame_)
        tablesFrame_->VerifyClick();
}

void TFormMain::WriteChangedClick()
{
    if (currentFrame_ && currentFrame_ == gsmFrame_)
        gsmFrame_->WriteChangedClick();
    else if (currentFrame_ && currentFrame_ == tablesFrame_)
        tablesFrame_->WriteChangedClick();
}

void TFormMain::N7Click()
{
    if (gsmFrame_ && tablesFrame_)
        RunSaveConfig(this, config_, *gsmFrame_, *tablesFrame_, &configWait_);
}

void TFormMain::N8Click()
{
    if (gsmFrame_ && tablesFrame_)
        RunLoadConfig(this, config_, *gsmFrame_, *tablesFrame_, &configWait_);
}

void TFormMain::ScannerClick()
{
    if (!scanner_)
        return;
    const TScannerDialogResult result = scanner_->ScannerClick(this);
    // The configuration keeps the scanner chosen in this session; it is not stored in files.
    if (result.Accepted && result.Cfg.ModelName == ScanCfg::ModelX5710)
        config_.Scanner = {1, result.Cfg.ComPort, result.Cfg.SpeedPort, true};
}

void TFormMain::StartScanner()
{
    // The goods tab may be shown while the frames are built, before the reader exists.
    if (scanner_)
        scanner_->StartScanner();
}

void TFormMain::StopScanner()
{
    if (scanner_)
        scanner_->StopScanner();
}

void TFormMain::SetRunLock(bool locked)
{
    // The bar's items are disabled one by one and given back their own states afterwards
    // ("Программирование" may be disabled underneath).
    if (locked == runLocked_)
        return;
    runLocked_ = locked;
    const QList<QAction *> items = menuBar()->actions();
    if (locked) {
        // All states first: "Сервис" follows "Программирование" as it is disabled.
        lockedStates_.clear();
        for (QAction *item : items)
            lockedStates_.append(item->isEnabled());
        for (QAction *item : items)
            item->setEnabled(false);
        return;
    }
    for (int i = 0; i < items.size() && i < lockedStates_.size(); ++i)
        items[i]->setEnabled(lockedStates_[i]);
}

void TFormMain::ShowStatus(const QString &text)
{
    runStatus_ = text;
    UpdateStatus();
}

void TFormMain::ShowNote(const QString &text)
{
    // Over the bar's own text for a while, as the menu items' tips are.
    statusBar()->showMessage(text, kNoteMs);
}

void TFormMain::UpdateStatus()
{
    if (!runStatus_.isEmpty())
        statusText_->setText(runStatus_);
    else if (!portFailure_.isEmpty())
        statusText_->setText(portFailure_);
    else if (!ProgrammingEnabled())
        statusText_->setText(QStringLiteral("Выберите порт ККТ: Настройки → Связь с ККТ"));
    else
        statusText_->clear();
}

bool TFormMain::ProgrammingEnabled() const
{
    QAction *item = menu_.Programming->menuAction();
    if (!runLocked_)
        return item->isEnabled();
    return lockedStates_.value(menuBar()->actions().indexOf(item), false);
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    // A run ends after its current exchange once the window closes; the user may rather let it
    // finish, and a stray Enter lets it.
    if (runLocked_ && !closing_ &&
        TDialogs::Instance().AskYesNo(this, QStringLiteral("Идет обмен с ККТ. Прервать?"),
                                      TDialogs::Answer::No) != TDialogs::Answer::Yes) {
        event->ignore();
        return;
    }
    closing_ = true;
    // Settings are only written back once they were read; a failed write is not worth keeping
    // the window open for.
    if (shownOnce_)
        WriteProgSettings(ProgSettingsPath(), settings_);
    event->accept();
}
