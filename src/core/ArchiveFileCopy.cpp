// Safe copy of an archive file.
#include "core/ArchiveFileCopy.h"

#include <filesystem>

#include "platform/Platform.h"
#include "zip/SafePath.h"
#include "zip/ZipPaths.h"

namespace brisko::core {

bool CopyArchiveFile(const std::string& source, const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return false;
  // The same file under another spelling: a copy would truncate the source it reads from.
  if (fs::exists(target, ec) && fs::equivalent(source, target, ec)) return true;
  std::string folder = zip::ExtractDirPart(target);
  if (folder.empty()) folder.assign(1, '.');
  std::string temp = zip::TemporarySibling(folder);
  if (temp.empty()) return false;
  if (!fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec)) {
    fs::remove(temp, ec);
    return false;
  }
  // Keep the archive's own time, as a copy made by the desktop does.
  platform::SetLastWriteTime(temp, platform::StatFile(source).lastWrite);
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  return true;
}

}  // namespace brisko::core
