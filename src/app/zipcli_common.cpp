// Argument handling and stopping shared by the brisko-zip commands.
#include <csignal>
#include <string>

#include "app/ZipCli.h"
#include "platform/StopSignals.h"

namespace brisko::app {

namespace {
volatile std::sig_atomic_t gStopSignal = 0;

void OnStopSignal(int) {
  gStopSignal = 1;
}
}  // namespace

void StopOnSignals() {
  platform::OnStopSignals(OnStopSignal);
}

bool StopSignalled() {
  return gStopSignal != 0;
}

std::string TakeArchiveOperand(const std::string& arg, std::string& archive) {
  if (arg.size() > 1 && arg[0] == '-') return "unknown option " + arg;
  if (!archive.empty()) return "only one archive";
  archive = arg;
  return {};
}

std::string TerminalSafe(const std::string& text, bool keepLines) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  auto escape = [&](unsigned char c) {
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 15];
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (keepLines && (c == '\n' || c == '\t')) {
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      escape(c);
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080..U+009F
      escape(c);
      escape(next);
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace brisko::app
