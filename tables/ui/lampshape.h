#pragma once

#include <QColor>
#include <QWidget>

// A small filled circle: the scanner lamp of the goods tab (green: port open, red: not).
class TLampShape : public QWidget
{
    Q_OBJECT
public:
    explicit TLampShape(QWidget *parent = nullptr);

    QColor Color() const { return color_; }
    void SetColor(const QColor &color);

    QSize sizeHint() const override { return {15, 15}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor color_ = Qt::white;
};
