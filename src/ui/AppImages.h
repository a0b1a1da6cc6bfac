// The program's images: icons of the two scheduling states, the clock mark, document and folder.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace brisko::ui {

class AppImages {
 public:
  // Makes the compiled-in images available (once per process).
  static void Init();

  static QIcon AppIcon();
  // "forauto" while scheduling is on, "fornormal" while it is off.
  static QIcon SchedulingIcon(bool enabled);
  static const QPixmap& Clock();     // image 0: the schedule mark
  static const QPixmap& Document();  // image 1: a file entry
  static const QPixmap& Folder();    // image 2: a pattern entry
  static QIcon Tool(const char* name);
};

}  // namespace brisko::ui
