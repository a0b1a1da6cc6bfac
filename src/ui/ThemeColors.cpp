// Colours taken from the palette, so that light and dark desktop themes both read well.
#include "ui/ThemeColors.h"

namespace brisko::ui {

bool IsDarkPalette(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

QColor FailureTextColor(const QPalette& palette) {
  return IsDarkPalette(palette) ? QColor(255, 110, 110) : QColor(Qt::red);
}

QImage ImageForPalette(const QImage& image, const QPalette& palette) {
  if (!IsDarkPalette(palette)) return image;
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  const QColor ink = palette.color(QPalette::WindowText);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QColor pixel = QColor::fromRgba(line[x]);
      // Dark and nearly grey: a stroke of a line icon, drawn for light backgrounds.
      if (pixel.alpha() == 0 || pixel.hslSaturation() > 60 || pixel.lightness() > 120) continue;
      line[x] = qRgba(ink.red(), ink.green(), ink.blue(), pixel.alpha());
    }
  }
  return out;
}

}  // namespace brisko::ui
