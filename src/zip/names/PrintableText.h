// Member names and comments made safe for a terminal or a log: what could move the output about, change
// colours, reorder the text or cut it short is shown as an escape instead.
#pragma once

#include <string>
#include <string_view>

namespace brisko::zip {

// C0 controls (NUL included), DEL and the C1 controls become \xNN (\xc2\xNN for a C1); the
// bidirectional controls (U+061C, U+200E, U+200F, U+202A..U+202E, U+2066..U+2069) become \uNNNN.
// With keepLines, line feeds and tabs stay as they are (a carriage return could overwrite a line).
// Other bytes pass unchanged, so names in other encodings keep their bytes.
std::string PrintableText(std::string_view text, bool keepLines = false);

}  // namespace brisko::zip
