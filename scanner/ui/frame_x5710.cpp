#include "frame_x5710.h"

#include "scancfg.h"

#include <QComboBox>
#include <QLabel>

namespace
{

QLabel *AddLabel(QWidget *parent, const char *name, const QString &caption, int x, int y)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, 70, 21);
    return label;
}

QComboBox *AddList(QWidget *parent, const char *name, QLabel *label, int x, int y)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(false); // pick from the list only
    list->setGeometry(x, y, 120, 21);
    list->setAccessibleName(label->text());
    label->setBuddy(list);
    return list;
}

// A greyed panel that only shows a fixed framing value.
void AddFixedPanel(QWidget *parent, const char *name, QLabel *label, const QString &text, int x,
                   int y)
{
    auto *panel = new QLabel(text, parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setGeometry(x, y, 110, 21);
    panel->setEnabled(false);
    label->setEnabled(false);
    panel->setAccessibleName(label->text());
}

} // namespace

TFrame_X5710::TFrame_X5710(TScanCfg *cfg, QWidget *parent) : QFrame(parent), cfg_(cfg)
{
    setObjectName(QStringLiteral("Frame_X5710"));
    setFrameStyle(QFrame::NoFrame);

    QLabel *label1 = AddLabel(this, "Label1", QStringLiteral("COM порт:"), 8, 8);
    ComboBox1 = AddList(this, "ComboBox1", label1, 80, 8);
    QLabel *label2 = AddLabel(this, "Label2", QStringLiteral("Скорость:"), 8, 40);
    ComboBox2 = AddList(this, "ComboBox2", label2, 80, 40);
    ComboBox2->addItems(ScanCfg::SpeedTexts());
    ComboBox2->setCurrentIndex(-1);

    QLabel *label3 = AddLabel(this, "Label3", QStringLiteral("Данные:"), 216, 8);
    AddFixedPanel(this, "Panel1", label3, QStringLiteral("8 бит"), 290, 8);
    QLabel *label4 = AddLabel(this, "Label4", QStringLiteral("Стоп:"), 216, 40);
    AddFixedPanel(this, "Panel2", label4, QStringLiteral("1 стоп бит"), 290, 40);
    QLabel *label5 = AddLabel(this, "Label5", QStringLiteral("Четность:"), 216, 72);
    AddFixedPanel(this, "Panel3", label5, QStringLiteral("Нет"), 290, 72);

    // Only the user's own choice copies a value; selecting the configured entries does not.
    connect(ComboBox1, &QComboBox::activated, this, &TFrame_X5710::ComboBox1Change);
    connect(ComboBox2, &QComboBox::activated, this, &TFrame_X5710::ComboBox2Change);
}

void TFrame_X5710::FillPorts(const QStringList &portNames)
{
    ComboBox1->clear();
    ComboBox1->addItems(portNames);
    ComboBox1->setCurrentIndex(-1);
}

void TFrame_X5710::SelectPortAndSpeed(const QString &port, const QString &speed)
{
    const int portIndex = ComboBox1->findText(port, Qt::MatchExactly);
    if (portIndex >= 0)
        ComboBox1->setCurrentIndex(portIndex);
    const int speedIndex = ComboBox2->findText(speed, Qt::MatchExactly);
    if (speedIndex >= 0)
        ComboBox2->setCurrentIndex(speedIndex);
}

void TFrame_X5710::ComboBox1Change()
{
    if (ComboBox1->currentIndex() >= 0)
        cfg_->ComPort = ComboBox1->currentText();
}

void TFrame_X5710::ComboBox2Change()
{
    if (ComboBox2->currentIndex() >= 0)
        cfg_->SpeedPort = ComboBox2->currentText();
}
