// The Preferences dialog: start with the desktop, log length, number width, prompt, overwrite rule.
#pragma once

#include <QDialog>
#include <functional>

#include "ui/PreferencesValues.h"

class QCheckBox;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace brisko::ui {

class PreferencesDialog : public QDialog {
  Q_OBJECT
 public:
  // Writes the autostart entry (set or removed); false when it could not be written.
  using AutostartWriter = std::function<bool(bool enable)>;
  // Stores "Auto Run" and "Is Minimized" in project.ini.
  using RunFlagsWriter = std::function<void(bool autoRun, bool isMinimized)>;

  PreferencesDialog(const PreferencesValues& initial, AutostartWriter autostart, RunFlagsWriter runFlags,
                    QWidget* parent = nullptr);

  // The values shown now; after OK these are what the main window takes over.
  PreferencesValues Values() const;

 private:
  void UpdateRunMinimized();
  void OnApply();

  AutostartWriter autostart_;
  RunFlagsWriter runFlags_;
  QTabWidget* tabs_;
  QCheckBox* autoRun_;
  QCheckBox* minimized_;
  QSpinBox* logCount_;
  QCheckBox* appendZero_;
  QSpinBox* width_;
  QCheckBox* prompt_;
  QRadioButton* overwrite_;
  QRadioButton* skip_;
};

}  // namespace brisko::ui
