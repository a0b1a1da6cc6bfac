// A project's own archives and temporary files.
#include "core/OwnArchives.h"

#include <filesystem>
#include <system_error>

#include "zip/crypto/ZipCrypto.h"
#include "zip/names/ZipPaths.h"

namespace fs = std::filesystem;

namespace brisko::core {
namespace {

constexpr const char* kTempEnding = ".part";
constexpr size_t kTempDigits = 12;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHex(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f');
}

bool HasShape(const std::string& s, const std::string& shape) {
  if (s.size() != shape.size()) return false;
  for (size_t i = 0; i < s.size(); ++i)
    if (shape[i] == '0' ? !IsDigit(s[i]) : s[i] != shape[i]) return false;
  return true;
}

// "yyyy-mm-dd_HHhMMmSSs", or "mm-dd_HHhMMmSSs" as archives made before the year was added are named.
bool IsDateSuffix(const std::string& s) {
  return HasShape(s, "0000-00-00_00h00m00s") || HasShape(s, "00-00_00h00m00s");
}

bool IsNumberSuffix(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!IsDigit(c)) return false;
  return true;
}

// Strips the temporary ending (".<hex digits>.part"); false when the name has none.
bool StripTempEnding(std::string& name) {
  const std::string ending = kTempEnding;
  const size_t tail = 1 + kTempDigits + ending.size();
  if (name.size() <= tail || name.compare(name.size() - ending.size(), ending.size(), ending) != 0)
    return false;
  const size_t dot = name.size() - tail;
  if (name[dot] != '.') return false;
  for (size_t i = dot + 1; i < dot + 1 + kTempDigits; ++i)
    if (!IsHex(name[i])) return false;
  name.erase(dot);
  return true;
}

}  // namespace

std::string TemporaryArchiveName(const std::string& archivePath) {
  return archivePath + "." + zip::ZipCrypto::RandomHex(kTempDigits / 2) + kTempEnding;
}

bool IsOwnArchiveName(const std::string& name, const std::string& prefix, bool temporary) {
  std::string key = zip::NameKey(name);
  if (temporary && !StripTempEnding(key)) return false;
  const std::string start = zip::NameKey(prefix);
  const std::string end = zip::NameKey(".zip");
  if (start.empty() || key.size() < start.size() + end.size()) return false;
  if (key.compare(0, start.size(), start) != 0 || key.compare(key.size() - end.size(), end.size(), end) != 0)
    return false;
  const std::string suffix = key.substr(start.size(), key.size() - start.size() - end.size());
  return suffix.empty() || IsNumberSuffix(suffix) || IsDateSuffix(suffix);
}

bool IsOwnArchiveFile(const std::string& path, const std::string& saveFolder, const std::string& prefix) {
  const std::string name = zip::ExtractNamePart(path);
  if (!IsOwnArchiveName(name, prefix) && !IsOwnArchiveName(name, prefix, true)) return false;
  const std::string folder = zip::ExtractDirPart(path);
  if (zip::SameName(zip::IncludeTrailingDelim(folder), zip::IncludeTrailingDelim(saveFolder))) return true;
  std::error_code ec;
  return fs::equivalent(fs::u8path(folder.empty() ? "." : folder),
                        fs::u8path(saveFolder.empty() ? "." : saveFolder), ec) &&
         !ec;
}

void RemoveLeftoverTemporaries(const std::string& saveFolder, const std::string& prefix) {
  std::error_code ec;
  fs::directory_iterator it(fs::u8path(saveFolder.empty() ? "." : saveFolder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code sec;
    if (!it->is_regular_file(sec) || it->is_symlink(sec)) continue;
    if (!IsOwnArchiveName(it->path().filename().string(), prefix, true)) continue;
    fs::remove(it->path(), sec);
  }
}

}  // namespace brisko::core
