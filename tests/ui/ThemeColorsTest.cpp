// Light and dark themes: failure rows stay readable, line icons stay visible, colours stay as drawn.
#include <QTest>
#include <algorithm>
#include <cmath>

#include "UiTestRegistry.h"
#include "ui/ThemeColors.h"

namespace {

// WCAG contrast ratio of two colours.
double Contrast(const QColor& a, const QColor& b) {
  auto luminance = [](const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette PaletteOf(QColor window, QColor text) {
  QPalette p;
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::Base, window);
  p.setColor(QPalette::WindowText, text);
  return p;
}

}  // namespace

class ThemeColorsTest : public QObject {
  Q_OBJECT
 private slots:
  void readableOnLightAndDark() {
    const struct {
      const char* name;
      QPalette palette;
      bool dark;
    } themes[] = {
        {"light", PaletteOf(QColor(240, 240, 240), Qt::black), false},
        {"dark", PaletteOf(QColor(30, 30, 32), QColor(225, 225, 225)), true},
    };
    for (const auto& t : themes) {
      QCOMPARE(brisko::ui::IsDarkPalette(t.palette), t.dark);
      const QColor failure = brisko::ui::FailureTextColor(t.palette);
      QVERIFY2(Contrast(failure, t.palette.color(QPalette::Base)) >= 3.5, t.name);

      QImage icon(2, 1, QImage::Format_ARGB32);
      icon.setPixel(0, 0, qRgba(60, 60, 60, 255));   // a grey stroke
      icon.setPixel(1, 0, qRgba(20, 90, 200, 255));  // a blue part
      const QImage shown = brisko::ui::ImageForPalette(icon, t.palette);
      QVERIFY2(Contrast(shown.pixelColor(0, 0), t.palette.color(QPalette::Window)) >= 3.0, t.name);
      QCOMPARE(shown.pixel(1, 0), icon.pixel(1, 0));
    }
  }
};

BRISKO_UI_TEST(ThemeColorsTest);
#include "ThemeColorsTest.moc"
