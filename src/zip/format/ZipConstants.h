// Signatures, record sizes, flag bits and method numbers of the ZIP format as this engine uses them.
#pragma once

#include <cstdint>

namespace brisko::zip {

// Record signatures ("PK" followed by two record-kind bytes), little-endian.
inline constexpr uint32_t kLocalHeaderSig = 0x04034B50;
inline constexpr uint32_t kCentralHeaderSig = 0x02014B50;
inline constexpr uint32_t kEndCentralSig = 0x06054B50;
inline constexpr uint32_t kDataDescriptorSig = 0x08074B50;
inline constexpr uint32_t kZip64EndCentralSig = 0x06064B50;
inline constexpr uint32_t kZip64LocatorSig = 0x07064B50;

// Fixed sizes of the records, without their variable parts.
inline constexpr uint32_t kLocalHeaderSize = 30;
inline constexpr uint32_t kCentralHeaderSize = 46;
inline constexpr uint32_t kEndCentralSize = 22;
inline constexpr uint32_t kZip64LocatorSize = 20;
inline constexpr uint32_t kZip64EndCentralMinSize = 56;
inline constexpr uint32_t kDataDescriptorSize = 16;    // with signature, 32-bit sizes
inline constexpr uint32_t kDataDescriptor64Size = 24;  // with signature, 64-bit sizes
inline constexpr uint32_t kMaxCommentLength = 0xFFFF;
// The end record lies within the last 65 535 + 22 bytes of an archive.
inline constexpr uint32_t kEndCentralSearchSize = kMaxCommentLength + kEndCentralSize;

// Size of the traditional encryption header in front of encrypted member data.
inline constexpr uint32_t kEncryptionHeaderSize = 12;

// General purpose bit flags.
inline constexpr uint16_t kFlagEncrypted = 0x0001;
inline constexpr uint16_t kFlagDeflateMax = 0x0002;   // deflate levels 8 and 9; implode: 8K window
inline constexpr uint16_t kFlagDeflateFast = 0x0004;  // deflate levels 1 and 2; implode: 3 trees
inline constexpr uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr uint16_t kFlagStrongEncryption = 0x0040;
inline constexpr uint16_t kFlagUtf8 = 0x0800;  // name and comment are UTF-8

// Compression methods.
inline constexpr uint16_t kMethodStored = 0;
inline constexpr uint16_t kMethodShrunk = 1;
inline constexpr uint16_t kMethodReduced1 = 2;
inline constexpr uint16_t kMethodReduced2 = 3;
inline constexpr uint16_t kMethodReduced3 = 4;
inline constexpr uint16_t kMethodReduced4 = 5;
inline constexpr uint16_t kMethodImploded = 6;
inline constexpr uint16_t kMethodDeflated = 8;

// Version fields: ZIP format 2.0, host MS-DOS (high byte 0); Unix hosts have high byte 3.
inline constexpr uint16_t kVersion20 = 20;
inline constexpr uint16_t kVersionZip64 = 45;
inline constexpr uint8_t kHostMsDos = 0;
inline constexpr uint8_t kHostUnix = 3;

// Extra field header ids.
inline constexpr uint16_t kExtraZip64 = 0x0001;
inline constexpr uint16_t kExtraNtfs = 0x000A;         // NTFS times (100 ns ticks since 1601, UTC)
inline constexpr uint16_t kExtraTimestamp = 0x5455;    // extended timestamp (seconds since 1970, UTC)
inline constexpr uint16_t kExtraUnicodePath = 0x7075;  // UTF-8 form of a name stored without bit 11

// The NTFS field: 4 reserved bytes, then tag 1 of 24 bytes holding modification, access and creation
// times; the field's ticks at the Unix epoch.
inline constexpr uint16_t kNtfsTimesTag = 1;
inline constexpr uint16_t kNtfsTimesSize = 24;
inline constexpr int64_t kNtfsTicksPerSecond = 10000000;
inline constexpr int64_t kNtfsUnixEpochTicks = 116444736000000000;

// Values that stand for "look in the Zip64 extra field".
inline constexpr uint32_t kZip64Marker32 = 0xFFFFFFFF;
inline constexpr uint16_t kZip64Marker16 = 0xFFFF;

// Self-extracting archives keep their stub in the first bytes; the repair scan starts past it.
inline constexpr uint32_t kSfxScanStart = 14000;

// Internal file attribute bit 0: the data looked like text.
inline constexpr uint16_t kInternalText = 1;

}  // namespace brisko::zip
