// The program's own help window: shows the help pages without relying on the desktop having a
// program for HTML files, follows the links between them and keeps the theme's colours.
#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;

namespace brisko::ui {

class HelpViewer : public QDialog {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  // Shows the page in the one help window, opening it when none is open.
  static void ShowPage(const QString& path);
  // The open help window, if any.
  static HelpViewer* Current();

  QUrl Source() const;

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace brisko::ui
