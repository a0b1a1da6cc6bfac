// brisko-zip l: lists the entries of an archive in archive order (method, encryption, sizes, time, CRC,
// name), then its comment.
#include <cstdio>
#include <exception>
#include <string>

#include "app/ZipCli.h"
#include "platform/DosDateTime.h"
#include "zip/ArchiveDirectory.h"
#include "zip/PrintableText.h"

namespace brisko::app {
namespace {

// Passes "Incomplete Zip File" on instead of showing an empty archive.
class PassIncomplete : public zip::ArchiveObserver {
 public:
  bool OnIncompleteZip(zip::IncompleteArchiveRule&) override { return true; }
};

constexpr const char* kUsage = "l [-r] ARCHIVE   (-r: salvage entries of an archive without a directory)";

// The method number of the data, followed by the encryption of an encrypted member: "8+AES-256",
// "0+ZipCrypto" for the traditional cipher.
std::string MethodLabel(const zip::ZipEntry& e) {
  std::string label = std::to_string(e.DataMethod());
  if (e.compressionMethod == zip::kMethodAes && e.aes) {
    label += "+AES-" + std::to_string(e.aes->Bits());
  } else if (e.IsEncrypted()) {
    label += "+ZipCrypto";
  }
  return label;
}

int UsageError(const char* detail) {
  std::fprintf(stderr, "brisko-zip l: %s\nusage: brisko-zip %s\n", detail, kUsage);
  return 2;
}

int RunList(int argc, char** argv) {
  std::string archive;
  bool repair = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-r") {
      repair = true;
    } else if (std::string error = TakeArchiveOperand(arg, archive); !error.empty()) {
      return UsageError(error.c_str());
    }
  }
  if (archive.empty()) return UsageError("no archive given");

  zip::DirectoryOptions options;
  if (repair) options.incompleteZipMode = zip::IncompleteArchiveRule::AssumeBad;
  PassIncomplete observer;
  zip::ArchiveDirectory reader(options, &observer);
  try {
    reader.SetZipName(archive);
    reader.ReadDirectory();
    for (int i = 0; i < reader.EntryCount(); ++i) {
      const zip::ZipEntry& e = reader.Entry(i);
      std::printf("%s %llu %llu %s %08x %s\n", MethodLabel(e).c_str(),
                  static_cast<unsigned long long>(e.compressedSize),
                  static_cast<unsigned long long>(e.uncompressedSize),
                  platform::FormatDosDateTime(e.dateTime).c_str(), e.crc32,
                  zip::PrintableText(e.StoredName()).c_str());
    }
    const std::string& comment = reader.ZipComment();
    if (!comment.empty()) std::printf("%s\n", zip::PrintableText(comment, true).c_str());
    if (!reader.DirectoryNote().empty()) {
      std::fprintf(stderr, "brisko-zip l: %s: warning: %s\n", archive.c_str(),
                   zip::PrintableText(reader.DirectoryNote()).c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brisko-zip l: %s: %s\n", archive.c_str(), zip::PrintableText(e.what()).c_str());
    return 2;
  }
  return 0;
}

const bool registered = RegisterCommand({"l", kUsage, RunList});

}  // namespace
}  // namespace brisko::app
