// Argument handling shared by the brisko-zip commands that work on one archive.
#include <string>

#include "app/ZipCli.h"

namespace brisko::app {

std::string TakeArchiveOperand(const std::string& arg, std::string& archive) {
  if (arg.size() > 1 && arg[0] == '-') return "unknown option " + arg;
  if (!archive.empty()) return "only one archive";
  archive = arg;
  return {};
}

}  // namespace brisko::app
