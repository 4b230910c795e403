#pragma once
#include <QFont>
#include <QRect>

// Converts a template's dialog units into pixels with the base units of the font the dialog
// uses, computed as Windows computes them for a template with its own font: the average width of
// the 52 Latin letters and the font's height. A unit is a quarter of the base width and an eighth
// of the base height, rounded to the nearest pixel as the Windows conversion rounds.
class Cdialog_units {
  public:
    explicit Cdialog_units(const QFont& font);

    int base_width() const { return base_width_; }
    int base_height() const { return base_height_; }

    int x(int units) const { return (units * base_width_ + 2) / 4; }
    int y(int units) const { return (units * base_height_ + 4) / 8; }
    QRect rect(int x_units, int y_units, int width_units, int height_units) const {
        return QRect(x(x_units), y(y_units), x(width_units), y(height_units));
    }

  private:
    int base_width_;
    int base_height_;
};
