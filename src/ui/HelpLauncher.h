// Opens the help page of a numbered context and answers F1 for the focused window.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace brisko::ui {

// Help context numbers of the windows, tabs and dialogs.
enum HelpContext : int {
  kHelpMain = 1,
  kHelpBackupTab = 41,
  kHelpRestoreTab = 6,
  kHelpAbout = 30,
  kHelpWizardFirst = 301,  // 301..306, one per wizard page
  kHelpSelectByFilter = 302,
  kHelpPreferences = 601,
  kHelpWildcard = 801,
};

class HelpLauncher : public QObject {
  Q_OBJECT
 public:
  // Name of the widget property that holds a help context number.
  static constexpr const char* kProperty = "briskoHelpContext";

  // Folder of the help pages: "help" beside the executable.
  static QString HelpFolder();
  // Path of the page for a context (the main page when that context has none).
  static QString PageFor(int context);
  // Opens the page of the context in the program's help window.
  static void Open(int context);

  // Marks a widget (window, dialog, tab page) with its context.
  static void SetContext(QWidget* widget, int context);
  // The context of the widget or its nearest ancestor that has one; kHelpMain when none has.
  static int ContextOf(const QWidget* widget);

  // Installs an application-wide F1 handler.
  static void InstallF1Handler();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace brisko::ui
