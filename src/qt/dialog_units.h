#pragma once
#include <QRect>

// Dialog templates measure in dialog units; the Linux program converts them with base units of
// 6 by 13 pixels (a unit is a quarter of the base width and an eighth of the base height),
// rounding to the nearest pixel as the Windows conversion does.
inline int dialog_units_x(int units) {
    return (units * 6 + 2) / 4;
}

inline int dialog_units_y(int units) {
    return (units * 13 + 4) / 8;
}

inline QRect dialog_units_rect(int x, int y, int width, int height) {
    return QRect(dialog_units_x(x), dialog_units_y(y), dialog_units_x(width),
                 dialog_units_y(height));
}
