#pragma once

#include "progsettings.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;

// "Настройки связи с ККТ": port, speed, time-out and device number of every exchange, with a
// connection test on the values shown. "Применить" stores them into the program settings.
class TFormSett : public QDialog
{
    Q_OBJECT
public:
    TFormSett(TStructSetting &settings, const QStringList &ports, QWidget *parent = nullptr);

    // The speeds offered, in order.
    static const QStringList &SpeedTexts();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void TimeOutChanged(const QString &text);
    void DeviceNumberChanged(const QString &text);
    void Button1Click(); // "Проверить связь с ККТ"
    void Button3Click(); // "Применить"

    TStructSetting &settings_;
    QStringList ports_;
    bool shownOnce_ = false;
    QComboBox *comboBox1_ = nullptr; // port
    QComboBox *comboBox2_ = nullptr; // speed
    QLineEdit *edit1_ = nullptr;     // time-out
    QLineEdit *edit2_ = nullptr;     // device number
    QPushButton *button1_ = nullptr; // "Проверить связь с ККТ"
    QPushButton *button2_ = nullptr; // "Отмена"
    QPushButton *button3_ = nullptr; // "Применить"
};
