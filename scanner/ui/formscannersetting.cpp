#include "formscannersetting.h"

#include "dialogs.h"
#include "frame_x5710.h"
#include "scanports.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFormScannerSetting::TFormScannerSetting(QWidget *parent, const QString &path)
    : QDialog(parent), path_(path)
{
    setObjectName(QStringLiteral("FormScannerSetting"));
    setWindowTitle(QStringLiteral("Настройки сканера штрих-кода"));
    // Fixed single border, no system menu: a title bar without buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(433, 207);

    Label1 = new QLabel(QStringLiteral("Модель:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 12, 52, 21);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setGeometry(64, 8, 361, 24);
    ComboBox1->setAccessibleName(Label1->text());
    Label1->setBuddy(ComboBox1);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::NoFrame);
    Panel2->setGeometry(8, 40, 417, 121);

    Button2 = new QPushButton(QStringLiteral("Применить"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(262, 172, 80, 27);
    Button2->setDefault(true);
    Button1 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(346, 172, 80, 27);

    connect(ComboBox1, &QComboBox::activated, this, &TFormScannerSetting::ComboBox1Change);
    connect(Button2, &QPushButton::clicked, this, &TFormScannerSetting::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TFormScannerSetting::Button1Click);

    FormCreate();
}

void TFormScannerSetting::FormCreate()
{
    cfg_ = ReadScanCfg(path_);

    Frame_X5710 = new TFrame_X5710(&cfg_, Panel2);
    Frame_X5710->setGeometry(Panel2->rect().adjusted(1, 1, -1, -1));
    // Offset (1, 1) and following the panel's size on all four sides.
    auto *layout = new QVBoxLayout(Panel2);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(Frame_X5710);
    Frame_X5710->hide();
    Frame_X5710->FillPorts(ScannerPortNames(cfg_.ComPort));
}

void TFormScannerSetting::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormScannerSetting::FormShow()
{
    ComboBox1->clear();
    ComboBox1->addItems(ScanCfg::ModelNames());
    const int index = ComboBox1->findText(cfg_.ModelName, Qt::MatchExactly);
    ComboBox1->setCurrentIndex(index >= 0 ? index : 0);
    ComboBox1Change();
}

void TFormScannerSetting::ComboBox1Change()
{
    if (ComboBox1->currentIndex() == 1) {
        cfg_.ModelName = ScanCfg::ModelX5710;
        Frame_X5710->show();
        Frame_X5710->SelectPortAndSpeed(cfg_.ComPort, cfg_.SpeedPort);
    } else {
        Frame_X5710->hide();
        cfg_ = TScanCfg();
    }
}

void TFormScannerSetting::Button2Click()
{
    if (!WriteScanCfg(path_, cfg_)) {
        // The choice would be lost silently: say so and leave the dialog open.
        ShowError(this, QStringLiteral("Не удалось записать файл настроек сканера \"%1\".")
                            .arg(QDir::toNativeSeparators(path_)));
        return;
    }
    accept();
}

void TFormScannerSetting::Button1Click()
{
    reject();
}

TScannerDialogResult RunScannerSettingDialog(QWidget *parent, const QString &path)
{
    TFormScannerSetting dialog(parent, path);
    TScannerDialogResult result;
    result.Accepted = dialog.exec() == QDialog::Accepted;
    result.Cfg = dialog.Cfg();
    return result;
}
