// Checks and folder creation behind the extraction target rules.
#include "zip/extract/SafePath.h"

#include <filesystem>
#include <random>
#include <system_error>

#include "platform/FsPath.h"
#include "platform/PathRules.h"
#include "platform/Platform.h"
#include "zip/names/ZipPaths.h"

namespace brisko::zip {

using platform::IsSeparator;

namespace {

// True when the link at path leads to a folder inside base (which a target of "/" always holds).
bool LinkStaysBelow(const std::string& base, const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec1, ec2;
  const fs::path real = fs::canonical(platform::FsPath(path), ec1);
  const fs::path realBase = fs::canonical(platform::FsPath(base.empty() ? std::string(".") : base), ec2);
  if (ec1 || ec2 || !fs::is_directory(real, ec1)) return false;
  auto b = realBase.begin();
  auto r = real.begin();
  for (; b != realBase.end(); ++b, ++r) {
    if (b->empty()) continue;  // the trailing empty part of a path ending in a separator
    if (r == real.end() || *r != *b) return false;
  }
  return true;
}

}  // namespace

bool SplitStoredFolder(std::string_view folder, std::vector<std::string>& parts) {
  parts.clear();
  if (folder.find('\0') != std::string_view::npos) return false;
  if (kHasDrives && folder.size() >= 2 && folder[1] == ':') folder.remove_prefix(2);
  size_t start = 0;
  while (start <= folder.size()) {
    size_t end = start;
    while (end < folder.size() && !IsSeparator(folder[end])) ++end;
    const std::string_view part = folder.substr(start, end - start);
    if (part == "..") return false;
    if (!part.empty() && part != ".") parts.emplace_back(part);
    start = end + 1;
  }
  return true;
}

bool IsSafeNamePart(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name)
    if (c == '\0' || IsSeparator(c)) return false;
  return true;
}

std::string JoinBelow(const std::string& base, const std::vector<std::string>& parts) {
  std::string path = base;
  for (const std::string& part : parts) {
    if (path.empty() || path.back() != kPathDelim) path += kPathDelim;
    path += part;
  }
  return path;
}

bool CreateFoldersBelow(const std::string& base, const std::vector<std::string>& parts,
                        std::unordered_set<std::string>* known) {
  std::string path = base;
  for (const std::string& part : parts) {
    if (path.empty() || path.back() != kPathDelim) path += kPathDelim;
    path += part;
    if (known != nullptr && known->count(path) != 0) continue;
    platform::FileStat st = platform::StatFile(path, true);
    if (!st.exists) {
      std::error_code ec;
      std::filesystem::create_directory(platform::FsPath(path), ec);
      st = platform::StatFile(path, true);  // also settles a folder made meanwhile by someone else
    }
    if (!st.exists) return false;
    if (st.isSymlink ? !LinkStaysBelow(base, path) : !st.isDirectory) return false;
    if (known != nullptr) known->insert(path);
  }
  return true;
}

bool RelativeFolderParts(const std::string& base, const std::string& path, std::vector<std::string>& parts) {
  std::string prefix = base;
  if (prefix.empty() || prefix.back() != kPathDelim) prefix += kPathDelim;
  if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string folder = ExtractDirPart(path.substr(prefix.size()));
  parts.clear();
  size_t start = 0;
  while (start <= folder.size()) {
    size_t end = folder.find(kPathDelim, start);
    if (end == std::string::npos) end = folder.size();
    const std::string part = folder.substr(start, end - start);
    if (part == "..") return false;
    if (!part.empty() && part != ".") parts.push_back(part);
    start = end + 1;
  }
  return true;
}

std::string TemporaryNameIn(const std::string& folder) {
  static std::mt19937_64 rng{std::random_device{}()};
  static const char* hex = "0123456789abcdef";
  std::string path = folder;
  if (path.empty() || path.back() != kPathDelim) path += kPathDelim;
  path += ".brisko-";
  uint64_t v = rng();
  for (int i = 0; i < 12; ++i, v >>= 4) path += hex[v & 15];
  path += ".tmp";
  return path;
}

}  // namespace brisko::zip
