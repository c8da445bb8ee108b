#pragma once

// The tables frame's controls, found by their object names, for the tests and benchmarks that
// click and type as the user does.
#include "framesetz48.h"
#include "lampshape.h"
#include "stringgrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

struct TZ48Controls {
    explicit TZ48Controls(const QWidget &frame) : frame_(frame) {}

    const QWidget &frame_;
    template <typename T> T *Named(const char *name) const
    {
        T *control = frame_.findChild<T *>(QLatin1String(name));
        Q_ASSERT_X(control, "TZ48Controls", name);
        return control;
    }

    QLabel *labelTitle = Named<QLabel>("labelTitle");
    QTabWidget *PageControl1 = Named<QTabWidget>("PageControl1");
    QWidget *TabSheet1 = Named<QWidget>("TabSheet1");
    QWidget *TabSheet2 = Named<QWidget>("TabSheet2");
    QWidget *TabSheet3 = Named<QWidget>("TabSheet3");
    QWidget *TabSheet4 = Named<QWidget>("TabSheet4");
    QWidget *TabSheet5 = Named<QWidget>("TabSheet5");
    TStringGrid *sgOper = Named<TStringGrid>("sgOper");
    TStringGrid *SGBase = Named<TStringGrid>("SGBase");
    TStringGrid *sgUsl = Named<TStringGrid>("sgUsl");
    TStringGrid *sgKl = Named<TStringGrid>("sgKl");
    TStringGrid *sgAgents = Named<TStringGrid>("sgAgents");
    QLineEdit *Edit1 = Named<QLineEdit>("Edit1"), *Edit2 = Named<QLineEdit>("Edit2");
    QLineEdit *Edit3 = Named<QLineEdit>("Edit3"), *Edit4 = Named<QLineEdit>("Edit4");
    QLineEdit *Edit5 = Named<QLineEdit>("Edit5"), *Edit6 = Named<QLineEdit>("Edit6");
    QLineEdit *Edit7 = Named<QLineEdit>("Edit7"), *Edit8 = Named<QLineEdit>("Edit8");
    QLineEdit *Edit9 = Named<QLineEdit>("Edit9"), *Edit10 = Named<QLineEdit>("Edit10");
    QLineEdit *Edit11 = Named<QLineEdit>("Edit11");
    QComboBox *ComboBox1 = Named<QComboBox>("ComboBox1"),
              *ComboBox2 = Named<QComboBox>("ComboBox2");
    QComboBox *ComboBox3 = Named<QComboBox>("ComboBox3"),
              *ComboBox4 = Named<QComboBox>("ComboBox4");
    QComboBox *ComboBox5 = Named<QComboBox>("ComboBox5"),
              *ComboBox6 = Named<QComboBox>("ComboBox6");
    QComboBox *ComboBox7 = Named<QComboBox>("ComboBox7"),
              *ComboBox8 = Named<QComboBox>("ComboBox8");
    QPushButton *Button1 = Named<QPushButton>("Button1"), *Button2 = Named<QPushButton>("Button2");
    QPushButton *Button3 = Named<QPushButton>("Button3"), *Button4 = Named<QPushButton>("Button4");
    QPushButton *Button5 = Named<QPushButton>("Button5"), *Button6 = Named<QPushButton>("Button6");
    TLampShape *Shape1 = Named<TLampShape>("Shape1");
    QLabel *Label14 = Named<QLabel>("Label14");
    QProgressBar *ProgressBar1 = Named<QProgressBar>("ProgressBar1");
    QPushButton *ButtonStop = Named<QPushButton>("ButtonStop");
};
