// Exclusive-or encoding of stored passwords under a key made from the project name.
#include "core/PasswordCodec.h"

namespace brisko::core {
namespace {

// The name followed by its length in characters; UTF-8 continuation bytes do not count.
std::string KeyFor(std::string_view projectName) {
  size_t characters = 0;
  for (unsigned char c : projectName)
    if ((c & 0xC0) != 0x80) ++characters;
  return std::string(projectName) + std::to_string(characters);
}

std::string Combine(std::string_view bytes, const std::string& key) {
  std::string out(bytes);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(out[i] ^ key[i % key.size()]);
  return out;
}

}  // namespace

std::string EncodePassword(std::string_view password, std::string_view projectName) {
  std::string combined = Combine(password, KeyFor(projectName));
  std::string out;
  for (unsigned char c : combined) out += "#" + std::to_string(static_cast<unsigned>(c));
  return out;
}

std::string DecodePassword(std::string_view stored, std::string_view projectName) {
  std::string bytes;
  if (!stored.empty() && stored[0] == '#') {
    bool inRun = false;
    unsigned value = 0;
    for (char c : stored) {
      if (c >= '0' && c <= '9') {
        // Only the low byte of a run matters; keep the accumulator small on absurd runs.
        value = (value * 10 + static_cast<unsigned>(c - '0')) & 0xFF;
        inRun = true;
      } else if (inRun) {
        bytes += static_cast<char>(value);
        value = 0;
        inRun = false;
      }
    }
    if (inRun) bytes += static_cast<char>(value);
  } else {
    bytes = std::string(stored);
  }
  return Combine(bytes, KeyFor(projectName));
}

}  // namespace brisko::core
