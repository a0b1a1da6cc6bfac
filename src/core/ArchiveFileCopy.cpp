// Safe copy of an archive file.
#include "core/ArchiveFileCopy.h"

#include <filesystem>

#include "platform/AtomicFile.h"
#include "platform/FsPath.h"
#include "platform/Platform.h"

namespace brisko::core {

bool CopyArchiveFile(const std::string& source, const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path from = platform::FsPath(source);
  if (!fs::is_regular_file(from, ec)) return false;
  // The same file under another spelling: a copy would truncate the source it reads from.
  const fs::path to = platform::FsPath(target);
  if (fs::exists(to, ec) && fs::equivalent(from, to, ec)) return true;
  platform::AtomicFile copy(target);
  if (!copy.Open() ||
      !fs::copy_file(from, platform::FsPath(copy.TempPath()), fs::copy_options::overwrite_existing, ec))
    return false;
  // Keep the archive's own time, as a copy made by the desktop does.
  platform::SetLastWriteTime(copy.TempPath(), platform::StatFile(source).lastWrite);
  return copy.Commit();
}

}  // namespace brisko::core
