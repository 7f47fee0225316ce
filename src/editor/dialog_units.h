// Dialog layouts are given in dialog units, which scale with the dialog's font: a horizontal
// unit is a quarter of the average width of the Latin letters, a vertical unit an eighth of
// the font's height. A layout so converted keeps its proportions at any font and scale.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace drovik::editor {

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int x(int units) const;  // horizontal units to pixels
  int y(int units) const;  // vertical units to pixels
  QRect rect(int x, int y, int width, int height) const;
  QSize size(int width, int height) const;

 private:
  double charWidth_;
  double charHeight_;
};

}  // namespace drovik::editor
