// The naming rule of archives.
#include "core/ArchiveName.h"

#include <cstdio>

#include "core/TextUtil.h"
#include "platform/PathRules.h"

namespace brisko::core {

std::string DateSuffix(DateTime moment) {
  const DateParts d = DecodeDate(moment);
  const TimeParts t = DecodeTime(moment);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d_%02dh%02dm%02ds", d.year, d.month, d.day, t.hour, t.minute,
                t.second);
  return buf;
}

std::string NumberSuffix(int number, bool isAppend0, int width) {
  std::string digits = std::to_string(number);
  if (isAppend0 && static_cast<int>(digits.size()) < width)
    digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  return digits;
}

std::string ComposeArchivePath(const std::string& folder, const std::string& prefix, SuffixKind kind,
                               int number, bool isAppend0, int width, DateTime moment) {
  std::string path = TrimBlanks(folder);
  if (!path.empty()) path = platform::IncludeTrailingDelim(path);
  path += TrimBlanks(prefix);
  switch (kind) {
    case SuffixKind::None:
      break;
    case SuffixKind::Date:
      path += DateSuffix(moment);
      break;
    case SuffixKind::Number:
      path += NumberSuffix(number, isAppend0, width);
      break;
  }
  return path + ".zip";
}

}  // namespace brisko::core
