// What the Preferences dialog shows and hands back.
#pragma once

namespace brisko::ui {

struct PreferencesValues {
  bool autoRun = false;      // "Auto Run" in project.ini, and the autostart entry
  bool isMinimized = false;  // "Is Minimized"
  int logCount = 50;         // "Log Count", 10..200
  bool appendZero = false;   // "Is Append 0"
  int width = 3;             // "Width", 2..30
  bool prompt = false;       // "PromptBeforeBackup"
  bool overwrite = false;    // "IsOverWrite"
};

}  // namespace brisko::ui
