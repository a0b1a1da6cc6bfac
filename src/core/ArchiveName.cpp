// The naming rule of archives.
#include "core/ArchiveName.h"

#include "core/TextUtil.h"
#include "platform/PathRules.h"

namespace brisko::core {

std::string DateSuffix(DateTime moment) {
  // The stored form "yyyy-mm-dd HH:mm:ss" made fit for a file name; the time is its last eight characters.
  std::string text = FormatDateTime(moment);
  const size_t time = text.size() - 8;
  text[time - 1] = '_';
  text[time + 2] = 'h';
  text[time + 5] = 'm';
  return text + 's';
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
