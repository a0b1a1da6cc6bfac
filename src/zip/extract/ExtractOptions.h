// What an extraction does: where the chosen entries go and the rules for what is there already.
#pragma once

#include <string>
#include <vector>

#include "zip/format/ZipTypes.h"

namespace brisko::zip {

struct ExtractOptions {
  // The target folder. One trailing separator is ignored, except on the root folder itself. Empty: the
  // current folder.
  std::string destDir;
  // Stored-folder prefix removed from the entries' folders.
  std::string rootDir;
  bool recreateDirs = false;
  OverwriteRule overwriteMode = OverwriteRule::Prompt;
  // The stored names (as ZipEntry::FullName gives them) of the entries to extract, compared exactly;
  // every entry when doAll is set.
  std::vector<std::string> members;
  bool doAll = false;
  bool retainAttributes = true;
  bool replaceReadOnly = false;
  // Password for encrypted members (UTF-8 bytes as held feed the keys); empty = none.
  std::string password;
};

}  // namespace brisko::zip
