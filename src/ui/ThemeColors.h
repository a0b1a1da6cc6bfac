// Colours taken from the palette, so that light and dark desktop themes both read well.
#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>

namespace brisko::ui {

// Whether the palette draws light text on a dark window.
bool IsDarkPalette(const QPalette& palette);

// The red of failed rows: pure red on light themes, a lighter red where pure red would be hard to
// read on the dark base.
QColor FailureTextColor(const QPalette& palette);

// A toolbar image for the palette: on dark themes its dark grey strokes take the text colour, so
// that line icons do not vanish; coloured parts stay as drawn.
QImage ImageForPalette(const QImage& image, const QPalette& palette);

}  // namespace brisko::ui
