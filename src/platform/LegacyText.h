// Settings files written by old editors in the system's legacy ("ANSI") code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brisko::platform {

// The text as UTF-8, read in the system's ANSI code page (the one of its locale, not the program's
// own UTF-8 setting; Windows-1252 when the system has none); nullopt where names are bytes as
// they stand (POSIX), so that a path keeps naming the file it names.
std::optional<std::string> LegacyTextToUtf8(std::string_view text);

}  // namespace brisko::platform
