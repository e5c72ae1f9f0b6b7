// The font of a dialog template and the dialog units it gives.
#pragma once

#include <QFont>

#include <string>

namespace user32 {

// The template's face (or a stand-in installed here) at its point size.
QFont DialogFont(QFont base, const std::u16string& typeface, int pointSize);

// Dialog base units of a font: the average width of the Latin letters and
// the line height, as the dialog manager measures them.
struct BaseUnits {
    int x;
    int y;
    int toPixelsX(int units) const { return (units * x + 2) / 4; }
    int toPixelsY(int units) const { return (units * y + 4) / 8; }
};
BaseUnits BaseUnitsOf(const QFont& font);

} // namespace user32
