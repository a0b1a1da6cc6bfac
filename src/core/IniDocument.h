// The parsed content of one INI-format file, with the private-profile lookup rules.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brisko::core {

// Longest value a read returns; longer stored values are cut.
inline constexpr size_t kIniMaxValueLength = 2047;

// Reads an INI integer: decimal with an optional sign, or "0x"/"0X" followed by hex digits
// (more than two characters). Returns nullopt when the text is no valid 32-bit integer.
std::optional<int> ParseIniInteger(std::string_view text);

// One INI file held in memory. Section and key names compare without regard to ASCII case;
// the first of duplicate sections or keys wins, as with the system's private-profile functions.
// Lines the reader does not understand are kept as they are when the document is written back.
class IniDocument {
 public:
  IniDocument() = default;
  // Parses the text of a file; never fails (unknown lines are kept and ignored). A leading UTF-8
  // byte-order mark is dropped.
  static IniDocument Parse(std::string_view text);
  // The file text; lines end with '\n'.
  std::string Serialize() const;

  // Whether the file was no UTF-8 and was read in the system's legacy code page (Windows); written
  // back, it is UTF-8.
  bool ReadAsLegacyText() const { return readAsLegacyText_; }
  void SetReadAsLegacyText() { readAsLegacyText_ = true; }

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Section names in file order.
  std::vector<std::string> Sections() const;
  // Key names of a section in file order (empty when the section is missing).
  std::vector<std::string> Keys(std::string_view section) const;

  // Every key and its value (as ReadString gives it) of a section in file order, in one pass.
  std::vector<std::pair<std::string, std::string>> Values(std::string_view section) const;

  // Value trimmed of blanks and cut at kIniMaxValueLength; the default when the key is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // The default when missing or not a valid integer (see ParseIniInteger).
  int ReadInteger(std::string_view section, std::string_view key, int def) const;
  // Any integer other than 0 is true; the default when missing or not an integer.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  // The list rule: count key, then stem0 .. stem(count-1); empty items are skipped.
  std::vector<std::string> ReadList(std::string_view section, std::string_view countKey,
                                    std::string_view stem) const;

  // Replaces the value, or appends the key to its section, or appends the section to the end.
  // Line breaks inside the value become blanks, so a value can never break the file apart.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  // Writes the count and items 0 .. count-1; items at or beyond the new count stay in the file.
  void WriteList(std::string_view section, std::string_view countKey, std::string_view stem,
                 const std::vector<std::string>& items);
  // Removes the section line and all its keys (every section of that name).
  void EraseSection(std::string_view section);
  // Renames a section in place, keeping its keys; nothing when it is missing.
  void RenameSection(std::string_view oldName, std::string_view newName);

 private:
  bool readAsLegacyText_ = false;
  struct Line {
    std::string text;   // the line as it is written back
    std::string name;   // section name (isSection) or key name (isKey)
    std::string value;  // raw value after '=' for keys
    bool isSection = false;
    bool isKey = false;
  };
  // Index range [begin, end) of the lines belonging to the first section of that name (the
  // section line itself at begin); nullopt when missing.
  std::optional<std::pair<size_t, size_t>> FindSection(std::string_view section) const;
  const Line* FindKey(std::string_view section, std::string_view key) const;

  std::vector<Line> lines_;
};

}  // namespace brisko::core
