#include "editor/dialog_units.h"

#include <QFontMetricsF>
#include <cmath>

namespace drovik::editor {
namespace {

// The letters dialog templates measure, rather than the font's own average width, which
// counts the full-width glyphs of a Japanese font and would double the layout.
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetricsF metrics(font);
  charWidth_ = metrics.horizontalAdvance(QString::fromLatin1(kLetters)) / 52.0;
  charHeight_ = metrics.height();
}

int DialogUnits::x(int units) const {
  return static_cast<int>(std::lround(units * charWidth_ / 4.0));
}

int DialogUnits::y(int units) const {
  return static_cast<int>(std::lround(units * charHeight_ / 8.0));
}

QRect DialogUnits::rect(int x0, int y0, int width, int height) const {
  return {x(x0), y(y0), x(width), y(height)};
}

QSize DialogUnits::size(int width, int height) const { return {x(width), y(height)}; }

}  // namespace drovik::editor
