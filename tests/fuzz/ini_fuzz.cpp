// Fuzzes the settings-file parser and the stored text forms read from it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/DateTimeValue.h"
#include "core/IniDocument.h"
#include "core/PasswordCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using brisko::core::IniDocument;
  const std::string text(reinterpret_cast<const char*>(data), size);
  IniDocument doc = IniDocument::Parse(text);
  // A few sections are enough; every lookup walks the file, so all of them would be quadratic.
  size_t visited = 0;
  for (const std::string& section : doc.Sections()) {
    if (++visited > 16) break;
    doc.ReadList(section, "Project Count", "Count");
    for (const auto& [key, value] : doc.Values(section)) {
      brisko::core::ParseIniInteger(value);
      brisko::core::TryStrToDateTime(value);
      brisko::core::DecodePassword(value, section);
    }
  }
  // Whatever the names and values, a write is read back from the rewritten text.
  const std::string name = text.substr(0, 16);
  const std::string value = text.substr(size / 2, 64);
  doc.WriteString(name, "Key", value);
  IniDocument again = IniDocument::Parse(doc.Serialize());
  if (again.Sections() != doc.Sections()) __builtin_trap();
  if (again.ReadString(name, "Key", "?") != doc.ReadString(name, "Key", "!")) __builtin_trap();
  return 0;
}
