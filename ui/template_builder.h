#pragma once
// Makes the widgets of a window from its template table, placed by the classic conversion of
// dialog units for the 8-point dialog font: 1.5 pixels a horizontal unit, 1.625 a vertical one.

#include "ui/templates.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <span>
#include <utility>
#include <vector>

class QWidget;

namespace pixmorph::ui {

// The dialog font's base units: 6 x 13 pixels, with 4 horizontal and 8 vertical dialog units to
// a base unit. Rounded as the system's multiply-divide rounds (halves away from zero).
constexpr int dialogUnitsToPixelsX(int units) {
    return units >= 0 ? (units * 6 + 2) / 4 : -((-units * 6 + 2) / 4);
}
constexpr int dialogUnitsToPixelsY(int units) {
    return units >= 0 ? (units * 13 + 4) / 8 : -((-units * 13 + 4) / 8);
}

// Both corners are converted, so neighbouring controls meet as they do in dialog units.
QRect dialogRect(int x, int y, int width, int height);
QSize clientSize(const WindowTemplate& window);

// The dialog font: 8 points at 96 dots an inch, from the sans-serif faces nearest the system's.
QFont dialogFont();

// The property under which every built widget carries its control id.
inline constexpr const char* kControlIdProperty = "controlId";

// Creates the controls as children of parent, in template order (so the focus chain follows the
// template), and returns them with their ids. Pictures and icons take their resource's size.
std::vector<std::pair<int, QWidget*>> buildControls(QWidget& parent,
                                                    std::span<const ControlTemplate> controls);

} // namespace pixmorph::ui
