// Reading and atomically rewriting INI-format files.
#include "core/IniFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/SettingsWriteError.h"
#include "platform/AtomicFile.h"
#include "platform/FileIo.h"
#include "platform/FolderLock.h"
#include "platform/FsPath.h"
#include "platform/LegacyText.h"
#include "platform/Platform.h"
#include "zip/names/CodePage.h"

namespace brisko::core {

IniDocument IniFile::Load() const {
  std::ifstream in(platform::FsPath(path_), std::ios::binary);
  if (!in) return IniDocument();
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // An old editor may have saved the file in the system's legacy code page ("r\xe9sum\xe9").
  if (!zip::IsValidUtf8(text)) {
    if (std::optional<std::string> utf8 = platform::LegacyTextToUtf8(text)) {
      IniDocument doc = IniDocument::Parse(*utf8);
      doc.SetReadAsLegacyText();
      return doc;
    }
  }
  return IniDocument::Parse(text);
}

void IniFile::Update(const std::function<void(IniDocument&)>& change) {
  platform::FolderLock lock(path_);
  IniDocument doc = Load();
  change(doc);
  WriteFileAtomically(path_, doc.Serialize(), access_, writer_);
}

void WriteFileAtomically(const std::string& path, const std::string& content, FileAccess access,
                         const ContentWriter& writer) {
  const std::string target = platform::ResolveLinkTarget(path);
  int mode = -1;  // a new file is its owner's alone
  platform::FileStat st = platform::StatFile(target);
  if (st.exists) {
    // A file without any write permission is read-only: refuse, as the system would on Windows,
    // even for a user (root) whom the permissions do not stop.
    if (!st.isRegular || (st.attributes & platform::kAttrReadOnly) != 0) throw SettingsWriteError(path);
    if (st.posixMode != 0 && access == FileAccess::KeepMode) mode = static_cast<int>(st.posixMode & 07777);
  }
  platform::AtomicFile file(target);
  if (!file.Open()) throw SettingsWriteError(path);
  const bool written = writer ? writer(file, content) : file.Write(content);
  if (!written || !file.Commit(mode)) throw SettingsWriteError(path);
}

}  // namespace brisko::core
