#include "framegsmsetting.h"

#include "dialogs.h"
#include "gsmframerun.h"
#include "gsmparams.h"
#include "serverconnect.h"
#include "stringgrid.h"
#include "workhost.h"

#include <QEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

constexpr int kFrameWidth = 903;
constexpr int kFrameHeight = 587;
constexpr int kCaptionWidth = 250;
constexpr int kValueWidth = 595;
constexpr int kRowHeight = 21;

const QString kInternetOnly =
    QStringLiteral("ВНИМАНИЕ!\r\nДанная функция доступна лишь для ПК подключенных к Интернету!");

// A 3-pixel sunken line between the parts of the frame.
QFrame *MakeSeparator(QWidget *parent, const QString &name)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::HLine);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedHeight(3);
    return panel;
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TFrameGsmSetting::TFrameGsmSetting(TWorkHost *host, QWidget *parent) : QFrame(parent), host_(host)
{
    BuildControls();
}

void TFrameGsmSetting::BuildControls()
{
    setObjectName(QStringLiteral("FrameGsmSetting"));
    resize(kFrameWidth, kFrameHeight);

    Label1 = new QLabel(QStringLiteral("Параметры GSM"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont(QStringLiteral("Times New Roman"), 14);
    titleFont.setBold(true);
    Label1->setFont(titleFont);

    sgGsm = new TStringGrid(2, kGsmParamCount + 1, this);
    sgGsm->setObjectName(QStringLiteral("sgGsm"));
    sgGsm->setAccessibleName(QStringLiteral("Параметры GSM"));
    sgGsm->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The 250-pixel caption column is sized for a compact dialog font, as in the tables frame.
    QFont gridFont = sgGsm->font();
    if (gridFont.pointSizeF() > 8)
        gridFont.setPointSizeF(8);
    sgGsm->setFont(gridFont);
    sgGsm->setTabKeyNavigation(true);
    sgGsm->SetSelectCellHook([this](TStringGrid &, int col, int row, bool &canSelect) {
        sgGsmSelectCell(col, row, canSelect);
    });
    sgGsm->SetKeyFilter([this](TStringGrid &, int, int row, QChar key, const QString &text) {
        return sgGsmKeyPress(row, key, text);
    });

    // The address box and its buttons belong to the connection test, which is not offered:
    // they stay hidden.
    Label2 = new QLabel(QStringLiteral("IP адрес сервера:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setAccessibleName(QStringLiteral("IP адрес сервера"));
    Edit2->installEventFilter(this);
    Label2->setBuddy(Edit2);
    Button1 = MakeButton(this, QStringLiteral("Button1"), QStringLiteral("Получить IP по имени"));
    Button2 = MakeButton(this, QStringLiteral("Button2"), QStringLiteral("Проверить соединение"));
    for (QWidget *hidden : {static_cast<QWidget *>(Label2), static_cast<QWidget *>(Edit2),
                            static_cast<QWidget *>(Button1), static_cast<QWidget *>(Button2)})
        hidden->setVisible(false);

    Button3 = MakeButton(this, QStringLiteral("Button3"), QStringLiteral("Записать в ККТ"));
    Button4 = MakeButton(this, QStringLiteral("Button4"), QStringLiteral("Прочитать из ККТ"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(false);
    ButtonStop = MakeButton(this, QStringLiteral("ButtonStop"), QStringLiteral("Стоп"));
    ButtonStop->setVisible(false);

    connect(Button1, &QPushButton::clicked, this, &TFrameGsmSetting::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFrameGsmSetting::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFrameGsmSetting::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFrameGsmSetting::Button4Click);

    auto *title = new QHBoxLayout;
    title->addStretch(1);
    title->addWidget(Label1);

    auto *address = new QHBoxLayout;
    address->addWidget(Label2);
    address->addWidget(Edit2);
    address->addWidget(Button1);
    address->addWidget(Button2);
    address->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);
    buttons->addWidget(ProgressBar1, 1);
    buttons->addWidget(ButtonStop);
    buttons->addStretch(0);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(title);
    layout->addWidget(MakeSeparator(this, QStringLiteral("Panel1")));
    layout->addWidget(sgGsm, 1);
    layout->addLayout(address);
    layout->addWidget(MakeSeparator(this, QStringLiteral("Panel2")));
    layout->addLayout(buttons);
}

void TFrameGsmSetting::InitFrame()
{
    sgGsm->SetCells(0, 0, QStringLiteral("Параметр"));
    sgGsm->SetCells(1, 0, QStringLiteral("Значение"));
    for (int row = 1; row <= kGsmParamCount; ++row)
        sgGsm->SetCells(0, row, QString::fromUtf8(GsmParamAtGridRow(row)->Caption));
    sgGsm->SetColWidth(0, kCaptionWidth);
    sgGsm->SetColWidth(1, kValueWidth);
    sgGsm->SetDefaultRowHeight(kRowHeight);
    currentRow_ = 1;
}

void TFrameGsmSetting::sgGsmSelectCell(int, int row, bool &canSelect)
{
    currentRow_ = row;
    canSelect = true;
}

QChar TFrameGsmSetting::sgGsmKeyPress(int row, QChar key, const QString &text) const
{
    // The row of the editor itself, which is the current row the selection hook recorded.
    return GsmKeyFilter(row, key, text).value_or(QChar());
}

bool TFrameGsmSetting::Edit2KeyPress(QChar key) const
{
    return key == QLatin1Char('\b') || key == QLatin1Char('.') ||
           (key >= QLatin1Char('0') && key <= QLatin1Char('9'));
}

bool TFrameGsmSetting::eventFilter(QObject *object, QEvent *event)
{
    if (object == Edit2 && event->type() == QEvent::KeyPress) {
        // Only typed characters are judged; keys without text (arrows, Delete) keep working.
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (!text.isEmpty() && text.front().isPrint() && !Edit2KeyPress(text.front()))
            return true;
    }
    return QFrame::eventFilter(object, event);
}

void TFrameGsmSetting::Button1Click()
{
    ShowInformation(this, kInternetOnly);
}

void TFrameGsmSetting::Button3Click()
{
    RunWithRegister(TGsmRunKind::Write);
}

void TFrameGsmSetting::Button4Click()
{
    RunWithRegister(TGsmRunKind::Read);
}

void TFrameGsmSetting::VerifyClick()
{
    RunWithRegister(TGsmRunKind::Verify);
}

void TFrameGsmSetting::WriteChangedClick()
{
    RunWithRegister(TGsmRunKind::WriteChanged);
}

void TFrameGsmSetting::RunWithRegister(TGsmRunKind kind)
{
    // The buttons stay enabled during a run, so a click arriving while the window repaints
    // between two exchanges would start a run inside the run: it is ignored instead.
    if (running_ || !host_)
        return;
    QPointer<TFrameGsmSetting> self(this);
    running_ = true;
    TGsmFrameRun(*this, host_, kind).Run();
    if (self)
        running_ = false;
}

void TFrameGsmSetting::Button2Click()
{
    ShowInformation(this, kInternetOnly);

    quint16 port = 0;
    if (!ParseServerPort(sgGsm->Cells(1, kGsmPortGridRow), port)) {
        ShowInformation(this, QStringLiteral("ВНИМАНИЕ!\r\nНеверно задан порт ОФД сервера!"));
        return;
    }
    quint32 address = 0;
    if (!ParseServerAddress(Edit2->text(), address)) {
        ShowInformation(this, QStringLiteral("ВНИМАНИЕ!\r\nНеверно задан IP ОФД сервера!"));
        return;
    }

    const TConnectResult result = TryServerConnection(address, port);
    switch (result.Outcome) {
    case TConnectOutcome::Connected:
        ShowInformation(this,
                        QStringLiteral("ВНИМАНИЕ!\r\nСоединение с сервером установленно удачно!"));
        break;
    case TConnectOutcome::Error:
        ShowInformation(this,
                        QStringLiteral("ВНИМАНИЕ!\r\nОшибка установки соединения с сервером!"));
        break;
    case TConnectOutcome::Timeout:
        ShowInformation(
            this, QStringLiteral("ВНИМАНИЕ!\r\nПревышен интервал ожидания ответа от сервера!"));
        break;
    case TConnectOutcome::SocketFailed:
        ShowInformation(this, QStringLiteral("ВНИМАНИЕ!\r\nОшибка создания сокета: ") +
                                  QString::number(result.ErrorCode) + QStringLiteral("!"));
        break;
    case TConnectOutcome::LibraryFailed:
        ShowInformation(
            this, QStringLiteral("ВНИМАНИЕ!\r\nНе удалось инициализировать библиотеку winsock2!"));
        break;
    }
}
