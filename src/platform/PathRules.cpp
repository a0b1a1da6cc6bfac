// Rules of native paths.
#include "platform/PathRules.h"

namespace brisko::platform {

namespace {
size_t LastDelim(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsPathDelimOrDrive(path[i - 1])) return i - 1;
  return std::string_view::npos;
}
}  // namespace

std::string ExtractDirPart(std::string_view path) {
  size_t i = LastDelim(path);
  if (i == std::string_view::npos) return {};
  // Keep the separator of a root ("C:\", "/") or of a doubled separator.
  if (i > 0 && IsSeparator(path[i]) && !IsPathDelimOrDrive(path[i - 1]))
    return std::string(path.substr(0, i));
  return std::string(path.substr(0, i + 1));
}

std::string ExtractNamePart(std::string_view path) {
  size_t i = LastDelim(path);
  return std::string(i == std::string_view::npos ? path : path.substr(i + 1));
}

std::string ExtractDrivePart(std::string_view path) {
  if (!kHasDrives) return {};
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (path.size() >= 2 && path[0] == kPathDelim && path[1] == kPathDelim) {
    // \\server\share: up to (not including) the separator after the share name.
    size_t server = path.find(kPathDelim, 2);
    if (server == std::string_view::npos) return std::string(path);
    size_t share = path.find(kPathDelim, server + 1);
    return std::string(share == std::string_view::npos ? path : path.substr(0, share));
  }
  return {};
}

std::string PathRoot(std::string_view path) {
  if (!kHasDrives)
    return !path.empty() && path.front() == kPathDelim ? std::string(1, kPathDelim) : std::string();
  if (path.size() >= 2 && path[1] == ':')
    return path.size() >= 3 && IsSeparator(path[2]) ? std::string(path.substr(0, 3)) : std::string();
  if (path.substr(0, 2) == "\\\\") {
    size_t count = 0;
    for (size_t i = 0; i < path.size(); ++i)
      if (path[i] == '\\' && ++count == 4) return std::string(path.substr(0, i));
    return std::string(path);
  }
  // "\data": the root of the current drive. Relative paths ("data\a", "C:data") have no root.
  return !path.empty() && IsSeparator(path.front()) ? std::string(1, path.front()) : std::string();
}

std::string PathKey(std::string_view path) {
  std::string key(path);
  if (!kNamesIgnoreCase) return key;
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '/') c = '\\';
  }
  return key;
}

std::string IncludeTrailingDelim(std::string_view path) {
  std::string s(path);
  if (s.empty() || !IsSeparator(s.back())) s += kPathDelim;
  return s;
}

std::string ExcludeTrailingDelim(std::string_view path) {
  std::string s(path);
  if (!s.empty() && IsSeparator(s.back())) s.pop_back();
  return s;
}

}  // namespace brisko::platform
