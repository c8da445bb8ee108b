#pragma once

#include <QColor>

// The scanner's state beside the goods grid: the small circle `Shape1` and the caption `Label14`
// ("Сканер шрих-кода"). The tables frame implements it; the scanner controller drives it.
class TScannerIndicator
{
public:
    virtual ~TScannerIndicator() = default;

    virtual void SetLampVisible(bool visible) = 0;
    virtual void SetLampColor(const QColor &color) = 0;
    virtual void SetCaptionVisible(bool visible) = 0;
};

namespace ScannerLamp
{
// The port could not be opened.
inline const QColor Red = QColor(255, 0, 0);
// The port is open and the reader runs.
inline const QColor Green = QColor(0, 255, 0);
} // namespace ScannerLamp
