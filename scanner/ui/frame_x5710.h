#pragma once

#include <QFrame>

class QComboBox;
class QLabel;
struct TScanCfg;

// The settings of the "Ravix X-5710 (RS-232)" scanner: port and speed lists, and the framing the
// reader always uses (8 data bits, 1 stop bit, no parity) shown greyed and fixed.
class TFrame_X5710 : public QFrame
{
    Q_OBJECT
public:
    // cfg is the dialog's working copy, which the two lists write into.
    explicit TFrame_X5710(TScanCfg *cfg, QWidget *parent = nullptr);

    // Fills the port list; nothing is selected afterwards.
    void FillPorts(const QStringList &portNames);
    // Selects the entries equal to the texts; a list without such an entry keeps its selection.
    void SelectPortAndSpeed(const QString &port, const QString &speed);

    QComboBox *ComboBox1 = nullptr; // port
    QComboBox *ComboBox2 = nullptr; // speed

public slots:
    void ComboBox1Change();
    void ComboBox2Change();

private:
    TScanCfg *cfg_;
};
