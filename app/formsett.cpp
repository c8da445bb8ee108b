#include "formsett.h"

#include "devicecommands.h"
#include "dialogs.h"
#include "digitkeyfilter.h"
#include "waitcursor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
const QString badParameterText = QStringLiteral("ВНИМАНИЕ!\r\nНеккоректный параметр!");

// A whole 32-bit number that is not negative (the fields type digits only; a paste may bring
// anything).
bool ParseField(const QString &text, qint32 &value)
{
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    if (!ok || number < 0)
        return false;
    value = number;
    return true;
}

// The values of the dialog's controls; false when one of the numbers does not convert.
bool ParseValues(const QString &speedText, const QString &timeOutText,
                 const QString &deviceNumberText, qint32 &speed, qint32 &timeOut,
                 qint32 &deviceNumber)
{
    return ParseField(speedText, speed) && ParseField(timeOutText, timeOut) &&
           ParseField(deviceNumberText, deviceNumber);
}

QLabel *AddRow(QGridLayout *grid, int row, const QString &caption, QWidget *field)
{
    auto *label = new QLabel(caption);
    label->setObjectName(QStringLiteral("Label%1").arg(row + 1));
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return label;
}
} // namespace

const QStringList &TFormSett::SpeedTexts()
{
    static const QStringList speeds = {QStringLiteral("1200"),  QStringLiteral("2400"),
                                       QStringLiteral("4800"),  QStringLiteral("9600"),
                                       QStringLiteral("19200"), QStringLiteral("38400"),
                                       QStringLiteral("57600"), QStringLiteral("115200")};
    return speeds;
}

TFormSett::TFormSett(TStructSetting &settings, const QStringList &ports, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      settings_(settings), ports_(ports)
{
    setObjectName(QStringLiteral("FormSett"));
    setWindowTitle(QStringLiteral("Настройки связи с ККТ"));

    comboBox1_ = new QComboBox;
    comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
    comboBox2_ = new QComboBox;
    comboBox2_->setObjectName(QStringLiteral("ComboBox2"));
    comboBox2_->addItems(SpeedTexts());
    comboBox2_->setCurrentIndex(-1);
    edit1_ = new QLineEdit(QStringLiteral("0"));
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit2_ = new QLineEdit(QStringLiteral("0"));
    edit2_->setObjectName(QStringLiteral("Edit2"));
    auto *digitsOnly = new TDigitKeyFilter(this);
    edit1_->installEventFilter(digitsOnly);
    edit2_->installEventFilter(digitsOnly);

    button1_ = new QPushButton(QStringLiteral("Проверить связь с ККТ"));
    button1_->setObjectName(QStringLiteral("Button1"));
    button2_ = new QPushButton(QStringLiteral("Отмена"));
    button2_->setObjectName(QStringLiteral("Button2"));
    button3_ = new QPushButton(QStringLiteral("Применить"));
    button3_->setObjectName(QStringLiteral("Button3"));

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    AddRow(grid, 0, QStringLiteral("COM порт:"), comboBox1_);
    AddRow(grid, 1, QStringLiteral("Скорость:"), comboBox2_);
    AddRow(grid, 2, QStringLiteral("Тайм-аут:"), edit1_);
    AddRow(grid, 3, QStringLiteral("Номер ККМ:"), edit2_);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(button1_);
    buttons->addStretch(1);
    buttons->addWidget(button2_);
    buttons->addWidget(button3_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    setTabOrder(comboBox1_, comboBox2_);
    setTabOrder(comboBox2_, edit1_);
    setTabOrder(edit1_, edit2_);
    setTabOrder(edit2_, button1_);
    setTabOrder(button1_, button2_);
    setTabOrder(button2_, button3_);

    connect(comboBox1_, &QComboBox::activated, this, [this] { button3_->setEnabled(true); });
    connect(comboBox2_, &QComboBox::activated, this, [this] { button3_->setEnabled(true); });
    connect(edit1_, &QLineEdit::textChanged, this, &TFormSett::TimeOutChanged);
    connect(edit2_, &QLineEdit::textChanged, this, &TFormSett::DeviceNumberChanged);
    connect(button1_, &QPushButton::clicked, this, &TFormSett::Button1Click);
    connect(button2_, &QPushButton::clicked, this, &QDialog::reject);
    connect(button3_, &QPushButton::clicked, this, &TFormSett::Button3Click);

    setFixedSize(363, 183);
}

void TFormSett::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    FormShow();
}

void TFormSett::FormShow()
{
    comboBox1_->clear();
    comboBox1_->addItems(ports_);
    comboBox1_->setCurrentIndex(ports_.indexOf(settings_.Port.Name));
    comboBox2_->setCurrentIndex(SpeedTexts().indexOf(QString::number(settings_.Port.Speed)));
    edit1_->setText(QString::number(settings_.Port.TimeOut));
    edit2_->setText(QString::number(settings_.NumKKT));
    if (comboBox1_->currentIndex() < 0 || comboBox2_->currentIndex() < 0 ||
        edit1_->text().isEmpty() || edit1_->text() == QStringLiteral("0"))
        button3_->setEnabled(false);
    button2_->setFocus();
}

void TFormSett::TimeOutChanged(const QString &text)
{
    qint32 timeOut = 0;
    button3_->setEnabled(ParseField(text, timeOut) && timeOut != 0);
}

void TFormSett::DeviceNumberChanged(const QString &text)
{
    button3_->setEnabled(!text.isEmpty());
    button1_->setEnabled(!text.isEmpty());
}

void TFormSett::Button1Click()
{
    qint32 speed = 0, timeOut = 0, deviceNumber = 0;
    if (!ParseValues(comboBox2_->currentText(), edit1_->text(), edit2_->text(), speed, timeOut,
                     deviceNumber)) {
        ShowInformation(this, badParameterText);
        return;
    }
    TDeviceStatus status;
    quint8 result = 0;
    {
        const TWaitCursor wait;
        result = StatusCommand(comboBox1_->currentText(), speed, timeOut, 0, quint32(deviceNumber),
                               status);
    }
    if (result != 0)
        TDialogs::Instance().Message(this, TDialogs::Kind::Question,
                                     QStringLiteral("ВНИМАНИЕ!\r\nНе удалось подключиться к ККТ!"));
    else
        ShowInformation(this, QStringLiteral("Связь с ККТ установленна!"));
}

void TFormSett::Button3Click()
{
    qint32 speed = 0, timeOut = 0, deviceNumber = 0;
    // A value that does not convert (a pasted number beyond 32 bits, no speed chosen) or a
    // time-out of 0, which no exchange could meet, is refused; the settings stay as they were.
    if (!ParseValues(comboBox2_->currentText(), edit1_->text(), edit2_->text(), speed, timeOut,
                     deviceNumber) ||
        timeOut == 0) {
        ShowInformation(this, badParameterText);
        return;
    }
    settings_.Port.Name = comboBox1_->currentText();
    settings_.Port.Speed = speed;
    settings_.Port.TimeOut = timeOut;
    settings_.NumKKT = quint32(deviceNumber);
    accept();
}
