// What one backup run is given: its own copies of the project and of the settings it reads.
#pragma once

#include <functional>
#include <string>

#include "core/GlobalSettings.h"
#include "core/Project.h"

namespace brisko::zip {
class StreamOpener;
}

namespace brisko::core {

struct BackupRequest {
  // The project as it is to be backed up: the stored record, or the window's fields.
  Project project;
  // Overwriting, the thread count and the number suffix's padding are read from here.
  GlobalSettings settings;
  // Creates the stream the new archive is written to instead of a file (tests inject failing
  // streams here); null: a file.
  zip::StreamOpener* writerOutput = nullptr;
  // Called with a source file's path before each time it is opened to be read (tests swap or change
  // the file there); empty: nothing.
  std::function<void(const std::string& path)> beforeSourceRead;
};

}  // namespace brisko::core
