// Safe copy of an archive file.
#include "core/ArchiveFileCopy.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileIo.h"
#include "platform/FsPath.h"
#include "platform/Platform.h"

namespace brisko::core {

namespace {

// Appends the whole of source to the temporary. Copied through the temporary's own handle: the
// library's copy_file cannot overwrite a file on Windows, and no other handle may write to it there.
bool CopyInto(const std::string& source, platform::AtomicFile& copy) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(platform::OpenFile(source, "rb"), &std::fclose);
  if (!in) return false;
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const size_t n = std::fread(buffer.data(), 1, buffer.size(), in.get());
    if (n > 0 && !copy.Write(std::string_view(buffer.data(), n))) return false;
    if (n < buffer.size()) return std::ferror(in.get()) == 0;
  }
}

}  // namespace

bool CopyArchiveFile(const std::string& source, const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path from = platform::FsPath(source);
  if (!fs::is_regular_file(from, ec)) return false;
  // The same file under another spelling: a copy would truncate the source it reads from.
  const fs::path to = platform::FsPath(target);
  if (fs::exists(to, ec) && fs::equivalent(from, to, ec)) return true;
  platform::AtomicFile copy(target);
  if (!copy.Open() || !CopyInto(source, copy)) return false;
  // Keep the archive's own time, as a copy made by the desktop does.
  platform::SetLastWriteTime(copy.TempPath(), platform::StatFile(source).lastWrite);
  return copy.Commit();
}

}  // namespace brisko::core
