// LZW decoder of shrunk members.
#include "zip/decode/Unshrink.h"

#include <array>
#include <memory>

#include "zip/decode/BitReader.h"
#include "zip/decode/LegacyDecodeError.h"
#include "zip/decode/OutputWindow.h"

namespace brisko::zip {

namespace {

constexpr unsigned kMinCodeSize = 9;
constexpr unsigned kMaxCodeSize = 13;
constexpr uint16_t kTableSize = 1u << kMaxCodeSize;
constexpr uint16_t kControlCode = 256;
constexpr uint16_t kFirstFreeCode = 257;
constexpr uint16_t kFreeCode = 0xFFFF;  // prefix mark of an unused table slot
constexpr uint32_t kWidenCode = 1;
constexpr uint32_t kPartialClear = 2;

// The string table: each code above 256 is its prefix code's string plus one byte.
struct Table {
  std::array<uint16_t, kTableSize> prefix;
  std::array<uint8_t, kTableSize> suffix;
  // Slots handed out for new strings, lowest first.
  std::array<uint16_t, kTableSize> freeCodes;
  size_t freeHead = 0;
  size_t freeCount = 0;
  std::array<uint8_t, kTableSize> stack;  // a string, last byte first

  Table() {
    prefix.fill(kFreeCode);
    for (unsigned c = 0; c < 256; ++c) suffix[c] = static_cast<uint8_t>(c);
    for (unsigned c = kFirstFreeCode; c < kTableSize; ++c) freeCodes[freeCount++] = static_cast<uint16_t>(c);
  }

  bool IsFree(uint16_t code) const { return code > kControlCode && prefix[code] == kFreeCode; }
  uint16_t PeekFree() const { return freeHead < freeCount ? freeCodes[freeHead] : kFreeCode; }
  uint16_t TakeFree() { return freeHead < freeCount ? freeCodes[freeHead++] : kFreeCode; }

  // Frees every string that is not the prefix of another; they are reused lowest first.
  void PartialClear() {
    std::array<bool, kTableSize> isPrefix{};
    for (unsigned c = kFirstFreeCode; c < kTableSize; ++c)
      if (prefix[c] != kFreeCode) isPrefix[prefix[c]] = true;
    freeHead = freeCount = 0;
    for (unsigned c = kFirstFreeCode; c < kTableSize; ++c) {
      if (!isPrefix[c]) {
        prefix[c] = kFreeCode;
        freeCodes[freeCount++] = static_cast<uint16_t>(c);
      }
    }
  }

  // Spells code onto the stack; returns its length. A freed link or a cycle is malformed data.
  size_t Spell(uint16_t code) {
    size_t n = 0;
    while (code > 255) {
      if (prefix[code] == kFreeCode || n == kTableSize - 1) throw LegacyDecodeError("invalid shrink code");
      stack[n++] = suffix[code];
      code = prefix[code];
    }
    stack[n++] = static_cast<uint8_t>(code);
    return n;
  }
};

}  // namespace

void Unshrink(ByteSource& source, ByteSink& sink, uint64_t size) {
  OutputWindow out(sink, size, 0);
  if (size != 0) {
    BitReader in(source);
    auto table = std::make_unique<Table>();
    unsigned codeSize = kMinCodeSize;

    uint16_t prev = static_cast<uint16_t>(in.Bits(codeSize));
    if (prev > 255) throw LegacyDecodeError("invalid first shrink code");
    uint8_t prevFirst = static_cast<uint8_t>(prev);
    out.Put(prevFirst);

    while (!out.Full()) {
      const uint16_t code = static_cast<uint16_t>(in.Bits(codeSize));
      if (code == kControlCode) {
        const uint32_t control = in.Bits(codeSize);
        if (control == kWidenCode && codeSize < kMaxCodeSize) {
          ++codeSize;
        } else if (control == kPartialClear) {
          table->PartialClear();
        } else {
          throw LegacyDecodeError("invalid shrink control code");
        }
        continue;
      }
      if (table->IsFree(code)) {
        // Only the next slot may be used before it is defined: previous string plus its first byte.
        if (code != table->PeekFree()) throw LegacyDecodeError("undefined shrink code");
        table->prefix[code] = prev;
        table->suffix[code] = prevFirst;
      }
      const size_t n = table->Spell(code);
      const uint8_t first = table->stack[n - 1];
      for (size_t i = n; i-- != 0 && !out.Full();) out.Put(table->stack[i]);

      const uint16_t slot = table->TakeFree();
      if (slot != kFreeCode) {
        table->prefix[slot] = prev;
        table->suffix[slot] = first;
      }
      prev = code;
      prevFirst = first;
    }
  }
  out.Flush();
}

}  // namespace brisko::zip
