// Parsing, lookup and editing of INI-format text.
#include "core/IniDocument.h"

#include <cstdint>
#include <map>

#include "core/TextUtil.h"
#include "zip/names/ZipPaths.h"

namespace brisko::core {
namespace {

using zip::SameTextAscii;

std::string CutValue(std::string_view raw) {
  std::string value = TrimBlanks(raw);
  if (value.size() > kIniMaxValueLength) value.resize(kIniMaxValueLength);
  return value;
}

// A line break inside a name or value would split the file; it is written as a blank instead.
std::string OneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

// Names as the parser sees them, so a name written with blanks or breaks is found again.
std::string CleanName(std::string_view name) {
  return TrimBlanks(OneLine(name));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The index of a list item key "stem<n>" (n in canonical decimal), or -1.
int64_t ListIndex(std::string_view key, std::string_view stem) {
  if (key.size() <= stem.size() || !SameTextAscii(key.substr(0, stem.size()), stem)) return -1;
  std::string_view digits = key.substr(stem.size());
  if (digits.size() > 10 || (digits.size() > 1 && digits[0] == '0')) return -1;
  int64_t n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

std::optional<int> ParseIniInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::string_view hex = text.substr(2);
    if (hex.size() > 8) return std::nullopt;
    uint32_t v = 0;
    for (char c : hex) {
      int d = HexDigit(c);
      if (d < 0) return std::nullopt;
      v = (v << 4) | static_cast<uint32_t>(d);
    }
    // Eight hex digits cover the whole 32-bit range; the top bit makes the value negative.
    return static_cast<int>(static_cast<int32_t>(v));
  }
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos == text.size()) return std::nullopt;
  int64_t v = 0;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > INT64_C(2147483648)) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
  return static_cast<int>(v);
}

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  // Editors may put a UTF-8 byte-order mark before the first line; it is no part of the text.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    start = end + 1;

    Line line;
    line.text = std::string(raw);
    std::string trimmed = TrimBlanks(raw);
    if (!trimmed.empty() && trimmed[0] == '[') {
      // The name runs to the last ']', so names holding ']' survive a round trip.
      size_t close = trimmed.rfind(']');
      line.name = TrimBlanks(
          trimmed.substr(1, close == std::string::npos || close == 0 ? std::string::npos : close - 1));
      line.isSection = true;
    } else if (!trimmed.empty() && trimmed[0] != ';') {
      size_t eq = raw.find('=');
      if (eq != std::string_view::npos) {
        line.name = TrimBlanks(raw.substr(0, eq));
        line.value = std::string(raw.substr(eq + 1));
        line.isKey = !line.name.empty();
      }
    }
    doc.lines_.push_back(std::move(line));
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += '\n';
  }
  return out;
}

std::optional<std::pair<size_t, size_t>> IniDocument::FindSection(std::string_view section) const {
  const std::string wanted = CleanName(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (!lines_[i].isSection || !SameTextAscii(lines_[i].name, wanted)) continue;
    size_t end = i + 1;
    while (end < lines_.size() && !lines_[end].isSection) ++end;
    return std::make_pair(i, end);
  }
  return std::nullopt;
}

const IniDocument::Line* IniDocument::FindKey(std::string_view section, std::string_view key) const {
  auto range = FindSection(section);
  if (!range) return nullptr;
  const std::string wanted = CleanName(key);
  for (size_t i = range->first + 1; i < range->second; ++i)
    if (lines_[i].isKey && SameTextAscii(lines_[i].name, wanted)) return &lines_[i];
  return nullptr;
}

bool IniDocument::SectionExists(std::string_view section) const {
  return FindSection(section).has_value();
}

bool IniDocument::ValueExists(std::string_view section, std::string_view key) const {
  return FindKey(section, key) != nullptr;
}

std::vector<std::string> IniDocument::Sections() const {
  std::vector<std::string> names;
  for (const Line& line : lines_)
    if (line.isSection) names.push_back(line.name);
  return names;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::vector<std::string> names;
  if (auto range = FindSection(section))
    for (size_t i = range->first + 1; i < range->second; ++i)
      if (lines_[i].isKey) names.push_back(lines_[i].name);
  return names;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Values(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> values;
  if (auto range = FindSection(section))
    for (size_t i = range->first + 1; i < range->second; ++i)
      if (lines_[i].isKey) values.emplace_back(lines_[i].name, CutValue(lines_[i].value));
  return values;
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
  const Line* line = FindKey(section, key);
  return line ? CutValue(line->value) : std::string(def);
}

int IniDocument::ReadInteger(std::string_view section, std::string_view key, int def) const {
  const Line* line = FindKey(section, key);
  if (!line) return def;
  return ParseIniInteger(CutValue(line->value)).value_or(def);
}

bool IniDocument::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> IniDocument::ReadList(std::string_view section, std::string_view countKey,
                                               std::string_view stem) const {
  std::vector<std::string> items;
  int count = ReadInteger(section, countKey, 0);
  auto range = FindSection(section);
  if (count <= 0 || !range) return items;
  // Walk the keys present rather than count positions, so a huge stored count costs nothing.
  std::map<int64_t, std::string> byIndex;
  for (size_t i = range->first + 1; i < range->second; ++i) {
    if (!lines_[i].isKey) continue;
    int64_t index = ListIndex(lines_[i].name, stem);
    if (index < 0 || index >= count) continue;
    byIndex.emplace(index, CutValue(lines_[i].value));  // the first of duplicate keys wins
  }
  for (auto& [index, value] : byIndex)
    if (!value.empty()) items.push_back(std::move(value));
  return items;
}

void IniDocument::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string name = CleanName(key);
  if (name.empty()) return;  // "=value" would read back as no key at all
  std::string text = OneLine(value);
  auto range = FindSection(section);
  if (!range) {
    Line head;
    head.name = CleanName(section);
    head.text = "[" + head.name + "]";
    head.isSection = true;
    lines_.push_back(std::move(head));
    range = std::make_pair(lines_.size() - 1, lines_.size());
  }
  for (size_t i = range->first + 1; i < range->second; ++i) {
    Line& line = lines_[i];
    if (line.isKey && SameTextAscii(line.name, name)) {
      line.value = text;
      line.text = line.name + "=" + text;
      return;
    }
  }
  // Append after the last non-blank line of the section, keeping blank separators below it.
  size_t at = range->second;
  while (at > range->first + 1 && TrimBlanks(lines_[at - 1].text).empty()) --at;
  Line line;
  line.name = name;
  line.value = text;
  line.text = name + "=" + text;
  line.isKey = true;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void IniDocument::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniDocument::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniDocument::WriteList(std::string_view section, std::string_view countKey, std::string_view stem,
                            const std::vector<std::string>& items) {
  WriteInteger(section, countKey, static_cast<int>(items.size()));
  for (size_t i = 0; i < items.size(); ++i)
    WriteString(section, std::string(stem) + std::to_string(i), items[i]);
}

void IniDocument::EraseSection(std::string_view section) {
  while (auto range = FindSection(section))
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->second));
}

void IniDocument::RenameSection(std::string_view oldName, std::string_view newName) {
  auto range = FindSection(oldName);
  if (!range) return;
  Line& head = lines_[range->first];
  head.name = CleanName(newName);
  head.text = "[" + head.name + "]";
}

}  // namespace brisko::core
