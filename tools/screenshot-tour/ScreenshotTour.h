// Saves pictures of the windows for the documentation (scripts/screenshots.sh).
#pragma once

#include <QString>

namespace brisko::ui {

class MainWindow;

// Walks through the tabs, the wizard pages, the preferences and a timed message, saving one PNG per
// view into `folder`, then closes the main window. Runs from the event loop.
void StartScreenshotTour(MainWindow& window, const QString& folder);

}  // namespace brisko::ui
