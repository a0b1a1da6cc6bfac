// The member decoders against archives made by other tools, and against hand-made malformed streams.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "support/Files.h"
#include "support/RawZipScan.h"
#include "support/TestManifest.h"
#include "support/ZipBuilder.h"
#include "zip/decode/Explode.h"
#include "zip/decode/Inflate.h"
#include "zip/decode/LegacyDecodeError.h"
#include "zip/decode/MemberDecoder.h"
#include "zip/decode/MemorySource.h"
#include "zip/decode/StoredCopy.h"
#include "zip/decode/Unreduce.h"
#include "zip/decode/Unshrink.h"
#include "zip/decode/VectorSink.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip {
namespace {

using test::BitWriter;
using test::CrcOf;
using test::ManifestRow;

std::string AsText(const std::vector<uint8_t>& v) {
  return std::string(v.begin(), v.end());
}

std::vector<uint8_t> Decode(uint16_t method, uint16_t flags, const std::vector<uint8_t>& data,
                            uint64_t size) {
  MemorySource source(data);
  VectorSink sink;
  DecodeMember(method, flags, source, sink, size);
  return sink.bytes;
}

// Decodes every unencrypted member the plain walk can find; returns how many rows it could not find.
int CheckManifestFolder(const std::string& folder) {
  std::map<std::string, std::vector<test::RawMember>> archives;
  std::map<std::string, std::vector<uint8_t>> bytes;
  int decoded = 0;
  int missing = 0;
  for (const ManifestRow& row : test::ReadManifest(folder)) {
    if (row.IsDirectory() || !row.password.empty() || row.expectedResult != "ok") continue;
    if (!archives.count(row.archive)) {
      bytes[row.archive] = test::ReadBytes(test::TestDataPath(folder, row.archive));
      archives[row.archive] = test::ScanRawZip(bytes[row.archive]);
    }
    const test::RawMember* member = nullptr;
    for (const auto& m : archives[row.archive])
      if (m.name == row.member) member = &m;
    if (member == nullptr) {  // archives this plain walk cannot read are the reader's business
      ++missing;
      continue;
    }
    SCOPED_TRACE(row.archive + " / " + row.member);
    VectorSink sink;
    MemorySource source(member->data);
    try {
      DecodeMember(member->method, member->flags, source, sink, member->uncompressedSize);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    EXPECT_EQ(sink.bytes.size(), row.uncompressedSize);
    EXPECT_EQ(CrcOf(sink.bytes), row.crc);
    ++decoded;
  }
  EXPECT_GT(decoded, 0);
  return missing;
}

TEST(LegacyDecoder, EveryLegacyTestArchiveMatchesItsManifest) {
  EXPECT_EQ(CheckManifestFolder("legacy"), 0);
}

TEST(LegacyDecoder, EveryInteropTestArchiveMatchesItsManifest) {
  CheckManifestFolder("interop");
}

TEST(LegacyDecoder, EveryLegacyMethodIsCovered) {
  std::map<int, int> methods;
  for (const ManifestRow& row : test::ReadManifest("legacy")) ++methods[row.method];
  for (int m : {1, 2, 3, 4, 5, 6}) EXPECT_GT(methods[m], 0) << "method " << m;
}

// --- shrink ---

std::vector<uint8_t> ShrinkCodes(std::initializer_list<std::pair<uint32_t, unsigned>> codes) {
  BitWriter w;
  for (auto [code, bits] : codes) w.Put(code, bits);
  return w.bytes;
}

TEST(Unshrink, HandMadeStreams) {
  struct Case {
    const char* label;
    std::vector<uint8_t> data;
    uint64_t size;
    const char* expected;  // nullptr: must be rejected
  };
  const std::vector<Case> cases = {
      {"literals and a defined code", ShrinkCodes({{'A', 9}, {'B', 9}, {257, 9}}), 4, "ABAB"},
      {"code used as it is defined", ShrinkCodes({{'A', 9}, {257, 9}}), 3, "AAA"},
      {"output stops at the size", ShrinkCodes({{'A', 9}, {257, 9}}), 2, "AA"},
      {"widened codes", ShrinkCodes({{'A', 9}, {256, 9}, {1, 9}, {'B', 10}, {257, 10}}), 4, "ABAB"},
      {"partial clear frees leaves", ShrinkCodes({{'A', 9}, {'B', 9}, {256, 9}, {2, 9}, {257, 9}}), 4,
       "ABBB"},
      {"first code not a byte", ShrinkCodes({{300, 9}}), 4, nullptr},
      {"undefined code", ShrinkCodes({{'A', 9}, {300, 9}}), 4, nullptr},
      {"unknown control code", ShrinkCodes({{'A', 9}, {256, 9}, {3, 9}, {'B', 9}}), 2, nullptr},
      {"code size beyond 13 bits",
       ShrinkCodes({{'A', 9},
                    {256, 9},
                    {1, 9},
                    {256, 10},
                    {1, 10},
                    {256, 11},
                    {1, 11},
                    {256, 12},
                    {1, 12},
                    {256, 13},
                    {1, 13},
                    {'B', 13}}),
       2, nullptr},
      {"code that refers to itself after a clear",
       ShrinkCodes({{'A', 9}, {'B', 9}, {257, 9}, {256, 9}, {2, 9}, {257, 9}}), 8, nullptr},
      {"data ends early", ShrinkCodes({{'A', 9}, {'B', 9}}), 5, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.expected) {
      EXPECT_EQ(AsText(Decode(1, 0, c.data, c.size)), c.expected);
    } else {
      EXPECT_THROW(Decode(1, 0, c.data, c.size), LegacyDecodeError);
    }
  }
}

// --- reduce ---

// Follower sets: count[j] followers for byte j (listed in sets), written S(255) first.
BitWriter ReduceHeader(const std::map<int, std::vector<uint8_t>>& sets,
                       const std::map<int, unsigned>& counts = {}) {
  BitWriter w;
  for (int j = 255; j >= 0; --j) {
    auto it = sets.find(j);
    auto ct = counts.find(j);
    const unsigned n = ct != counts.end() ? ct->second : it != sets.end() ? it->second.size() : 0;
    w.Put(n, 6);
    if (it != sets.end())
      for (uint8_t b : it->second) w.Put(b, 8);
  }
  return w;
}

TEST(Unreduce, HandMadeStreams) {
  {
    SCOPED_TRACE("literals, an escaped DLE and a run at factor 1");
    BitWriter w = ReduceHeader({});
    for (int b : std::initializer_list<int>{'A', 'B', 144, 2, 1, 144, 0})
      w.Put(b, 8);  // run: length 2+3, distance 1+1
    EXPECT_EQ(AsText(Decode(2, 0, w.bytes, 8)), "ABABABA\x90");
  }
  {
    SCOPED_TRACE("long run with an extra length byte at factor 4, reaching before the start");
    BitWriter w = ReduceHeader({});
    for (int b : std::initializer_list<int>{'x', 144, 0x1F, 0, 9})
      w.Put(b, 8);  // length 15+0+3, distance 256+9+1
    const auto out = Decode(5, 0, w.bytes, 19);
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(std::count(out.begin() + 1, out.end(), 0), 18);
  }
  {
    SCOPED_TRACE("follower set hit");
    BitWriter w = ReduceHeader({{0, {'Q', 'R', 'S'}}});
    w.Put(0, 1);
    w.Put(2, 2);  // S(0)[2] = 'S'
    w.Put('T', 8);
    EXPECT_EQ(AsText(Decode(3, 0, w.bytes, 2)), "ST");
  }
  {
    SCOPED_TRACE("follower set larger than 32");
    BitWriter w = ReduceHeader({}, {{7, 33}});
    for (int i = 0; i < 40; ++i) w.Put(0, 8);
    EXPECT_THROW(Decode(4, 0, w.bytes, 4), LegacyDecodeError);
  }
  {
    SCOPED_TRACE("follower index past the set");
    BitWriter w = ReduceHeader({{0, {'Q', 'R', 'S'}}});
    w.Put(0, 1);
    w.Put(3, 2);
    EXPECT_THROW(Decode(3, 0, w.bytes, 2), LegacyDecodeError);
  }
  {
    SCOPED_TRACE("data ends early");
    BitWriter w = ReduceHeader({});
    w.Put('A', 8);
    EXPECT_THROW(Decode(2, 0, w.bytes, 2), LegacyDecodeError);
  }
}

// --- implode ---

// A table of n lengths, all equal to len (in runs of at most 16).
void PutUniformTable(BitWriter& w, unsigned n, unsigned len) {
  const unsigned groups = (n + 15) / 16;
  w.Put(groups - 1, 8);
  for (unsigned g = 0; g < groups; ++g) {
    const unsigned run = std::min(16u, n - 16 * g);
    w.Put(((run - 1) << 4) | (len - 1), 8);
  }
}

TEST(Explode, HandMadeStreams) {
  {
    SCOPED_TRACE("two tables, 4K window: a literal and a match");
    BitWriter w;
    PutUniformTable(w, 64, 6);  // lengths
    PutUniformTable(w, 64, 6);  // distances
    w.Put(1, 1);
    w.Put('A', 8);
    w.Put(0, 1);
    w.Put(0, 6);              // low distance bits
    w.PutInvertedCode(0, 6);  // distance high part 0 -> distance 1
    w.PutInvertedCode(1, 6);  // length 1 + 2
    EXPECT_EQ(AsText(Decode(6, 0, w.bytes, 4)), "AAAA");
  }
  {
    SCOPED_TRACE("three tables, 8K window, escaped length");
    BitWriter w;
    PutUniformTable(w, 256, 8);  // literals
    PutUniformTable(w, 64, 6);
    PutUniformTable(w, 64, 6);
    w.Put(1, 1);
    w.PutInvertedCode('z', 8);
    w.Put(0, 1);
    w.Put(0, 7);
    w.PutInvertedCode(0, 6);
    w.PutInvertedCode(63, 6);
    w.Put(10, 8);  // length 63 + 10 + 3
    const auto out = Decode(6, 6, w.bytes, 77);
    EXPECT_EQ(out, std::vector<uint8_t>(77, 'z'));
  }
  struct Bad {
    const char* label;
    std::vector<uint8_t> data;
  };
  std::vector<Bad> bad;
  {
    BitWriter w;
    PutUniformTable(w, 64, 1);
    bad.push_back({"over-subscribed table", w.bytes});
  }
  {
    BitWriter w;
    PutUniformTable(w, 48, 6);
    bad.push_back({"table with too few lengths", w.bytes});
  }
  {
    BitWriter w;
    PutUniformTable(w, 80, 7);
    bad.push_back({"table with too many lengths", w.bytes});
  }
  {
    BitWriter w;
    PutUniformTable(w, 64, 7);  // half of the code space unused
    PutUniformTable(w, 64, 6);
    w.Put(0, 1);
    w.Put(0, 6);
    w.PutInvertedCode(0, 6);
    w.Put(0, 16);  // a code the length table does not hold
    bad.push_back({"unused code of an incomplete table", w.bytes});
  }
  {
    BitWriter w;
    PutUniformTable(w, 64, 6);
    bad.push_back({"data ends after the tables", w.bytes});
  }
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.label);
    EXPECT_THROW(Decode(6, 0, b.data, 10), LegacyDecodeError);
  }
}

// --- inflate and stored ---

TEST(Inflate, OutputIsBoundedByTheRecordedSize) {
  std::vector<uint8_t> plain(600000);
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>((i * 7) ^ (i >> 9));
  const auto packed = test::RawDeflateBytes(plain);
  EXPECT_EQ(Decode(8, 0, packed, plain.size()), plain);
  EXPECT_THROW(Decode(8, 0, packed, plain.size() - 1), OversizeMemberError);
  EXPECT_THROW(Decode(8, 0, packed, 10), OversizeMemberError);

  auto cut = packed;
  cut.resize(cut.size() / 2);
  EXPECT_THROW(Decode(8, 0, cut, plain.size()), LegacyDecodeError);
  auto garbage = packed;
  garbage[0] = 0xFF;  // reserved block type
  EXPECT_THROW(Decode(8, 0, garbage, plain.size()), LegacyDecodeError);
}

TEST(StoredCopy, OutputIsBoundedByTheRecordedSize) {
  const std::vector<uint8_t> data(1000, 'x');
  EXPECT_EQ(Decode(0, 0, data, 1000), data);
  EXPECT_THROW(Decode(0, 0, data, 999), OversizeMemberError);
}

TEST(MemberDecoder, UnknownMethodsAreRejected) {
  EXPECT_FALSE(IsSupportedMethod(7));
  EXPECT_FALSE(IsSupportedMethod(9));
  EXPECT_FALSE(IsSupportedMethod(12));
  EXPECT_TRUE(IsSupportedMethod(6));
  EXPECT_THROW(Decode(14, 0, {1, 2, 3}, 3), LegacyDecodeError);
}

// Random bytes through every decoder: each either fails cleanly or produces at most the size asked for.
TEST(MemberDecoder, RandomInputNeverOverrunsOrHangs) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> data(1 + rng() % 2000);
    for (auto& b : data) b = static_cast<uint8_t>(rng());
    const uint64_t size = rng() % 20000;
    for (uint16_t method : {0, 1, 2, 3, 4, 5, 6, 8}) {
      const uint16_t flags = static_cast<uint16_t>(rng() & 6);
      MemorySource source(data);
      VectorSink sink;
      try {
        DecodeMember(method, flags, source, sink, size);
      } catch (const ZipError&) {
      }
      EXPECT_LE(sink.bytes.size(), size) << "method " << method;
    }
  }
}

}  // namespace
}  // namespace brisko::zip
