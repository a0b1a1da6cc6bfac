// The extraction run: which entries, where they go, whether they may replace what is there, and
// decoding each into a temporary file that takes the target's place only once its CRC-32 matched.
#include "zip/extract/ZipExtractRun.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "platform/FileIo.h"
#include "platform/FsPath.h"
#include "platform/Platform.h"
#include "zip/crypto/MemberDecryption.h"
#include "zip/decode/LegacyDecodeError.h"
#include "zip/decode/MemberDecoder.h"
#include "zip/decode/VectorSink.h"
#include "zip/decode/WholeMemberDecoder.h"
#include "zip/extract/CheckingSink.h"
#include "zip/extract/FileSink.h"
#include "zip/extract/MemberReads.h"
#include "zip/extract/SafePath.h"
#include "zip/format/ZipErrors.h"
#include "zip/names/ZipPaths.h"
#include "zip/read/EntryDataSource.h"
#include "zip/read/ReadingSource.h"
#include "zip/threads/DecodeAhead.h"
#include "zip/threads/WriteBehindSink.h"
#include "zip/write/PreparedMember.h"

namespace brisko::zip {

namespace {

// Date-time value of a DOS date-time; 0 when it is not a real moment.
platform::DateTime DosValue(uint32_t dos) {
  platform::DateTime value = 0;
  return platform::DosDateTimeToDateTime(dos, value) ? value : 0;
}

// Removes the temporary output of an entry unless it was moved into place. The file is closed first:
// Windows deletes no file that is still open, and a cancelled run would leave it behind.
class TempFileGuard {
 public:
  TempFileGuard(std::string path, FileSink* file) : path_(std::move(path)), file_(file) {}
  ~TempFileGuard() {
    if (path_.empty()) return;
    try {
      if (file_ != nullptr) file_->Close();
    } catch (const ZipError&) {
      // What could not be written is removed anyway.
    }
    std::error_code ec;
    std::filesystem::remove(platform::FsPath(path_), ec);
  }
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  void Release() { path_.clear(); }

 private:
  std::string path_;
  FileSink* file_;
};

constexpr uint32_t kTypeMask = 0170000;
constexpr uint32_t kTypeLink = 0120000;
// Link texts longer than this are no path any file system takes.
constexpr uint64_t kMaxLinkText = 65536;

// Whether an entry is restored as a symbolic link. Windows builds restore it as a file holding the
// link text.
bool IsLinkEntry(const ZipEntry& entry) {
  return platform::kUnixModes && (entry.UnixMode() & kTypeMask) == kTypeLink;
}

// Restores the modification time: the extended timestamp or NTFS time when present, else the DOS
// time when it is a moment.
void RestoreModificationTime(const std::string& path, const ZipEntry& entry, bool noFollow = false) {
  if (entry.unixTime)
    platform::SetLastWriteTime(path, static_cast<std::time_t>(*entry.unixTime), noFollow, entry.timeNanos);
  else if (const std::time_t when = platform::DosDateTimeToTime(entry.dateTime); when != -1)
    platform::SetLastWriteTime(path, when, noFollow);
}

}  // namespace

ZipExtractRun::ZipExtractRun(ArchiveDirectory& archive, ExtractOptions& options, ExtractObserver& observer)
    : archive_(archive), options_(options), observer_(observer) {}

ZipExtractRun::~ZipExtractRun() = default;

int ZipExtractRun::Run() {
  archive_.ReadDirectory();
  archive_.OpenArchive();
  if (!archive_.DirectoryLoaded()) {
    // ReadDirectory ended quietly without an end record; this time its exception reaches the caller.
    try {
      archive_.ReadCentralDirectory();
    } catch (...) {
      if (archive_.ArchiveIsOpen()) archive_.CloseArchiveStream();
      throw;
    }
  }
  if (!archive_.OverlapNote().empty()) throw BadArchiveError(archive_.OverlapNote());
  // An empty file is where the writer starts a new archive; there is nothing in it to read.
  if (archive_.Archive().Size() == 0) throw NotAnArchiveError(kMsgNotValidZip);

  const bool oldKeepOpen = archive_.Options().keepZipOpen;
  archive_.Options().keepZipOpen = true;
  bool switchedSort = false;
  try {
    // Disks of a multi-disk set are visited in archive order.
    if (archive_.IsMultiDisk() && archive_.Options().sortMode != EntryOrder::ByNone) {
      archive_.ApplySortMode(EntryOrder::ByNone);
      switchedSort = true;
    }
    Body();
  } catch (...) {
    try {
      Finish(switchedSort, oldKeepOpen);
    } catch (...) {
      // The exception that ended the run is the one the caller needs to see.
    }
    throw;
  }
  Finish(switchedSort, oldKeepOpen);
  return fileCount_;
}

void ZipExtractRun::Finish(bool switchedSort, bool oldKeepOpen) {
  if (switchedSort) archive_.ApplySortMode(archive_.Options().sortMode);
  struct KeepOpenScope {
    ArchiveDirectory& r;
    bool old;
    ~KeepOpenScope() {
      r.Options().keepZipOpen = old;
      if (!old && r.ArchiveIsOpen()) r.CloseArchiveStream();
    }
  } keepOpenScope{archive_, oldKeepOpen};
  observer_.OnUnZipComplete(fileCount_);
}

bool ZipExtractRun::Selected(const ZipEntry& entry, const std::unordered_set<std::string>& names) const {
  if (entry.FileName().empty() && !options_.recreateDirs) return false;
  return options_.doAll || names.count(entry.FullName()) != 0;
}

void ZipExtractRun::Body() {
  // An empty target means the current folder, never the root of the file system.
  base_ = options_.destDir.empty() ? std::string(".") : options_.destDir;
  if (!platform::StatFile(base_).exists) {
    std::error_code ec;  // a failure shows as entries that cannot be created
    std::filesystem::create_directories(platform::FsPath(base_), ec);
  }

  const int count = archive_.EntryCount();
  int numFiles = count;
  int selectedFolders = 0;
  totalBytes_ = 0;
  bytesDone_ = 0;
  const std::unordered_set<std::string> names(options_.members.begin(), options_.members.end());
  chosen_.assign(static_cast<size_t>(count), false);
  for (int i = 0; i < count; ++i) {
    const ZipEntry& entry = archive_.Entry(i);
    const bool chosen = chosen_[static_cast<size_t>(i)] = Selected(entry, names);
    if (chosen && !entry.FileName().empty()) {
      totalBytes_ += entry.uncompressedSize;
    } else {
      --numFiles;
      if (chosen) ++selectedFolders;
    }
  }

  if (observer_.OnStartUnZipInfo(numFiles, totalBytes_) == JobStart::Cancel) return;
  if (numFiles <= 0 && selectedFolders == 0) return;

  ahead_ = DecodeAhead::Start(archive_, options_.password, 0, &chosen_);
  for (int i = 0; i < count; ++i) {
    if (!options_.doAll && !chosen_[static_cast<size_t>(i)]) continue;
    do {
      // A password given during the run makes what the workers decoded with the old one useless.
      if (ahead_ && ahead_->Password() != options_.password)
        ahead_ = DecodeAhead::Start(archive_, options_.password, i, &chosen_);
    } while (ProcessEntry(i) == Step::Retry);
  }
  ahead_.reset();
  FinishFolders();
}

bool ZipExtractRun::TargetFolderParts(const ZipEntry& entry, std::vector<std::string>& parts) const {
  parts.clear();
  if (!options_.recreateDirs || entry.Directory().empty()) return true;
  std::string folder = entry.Directory();
  const std::string& root = options_.rootDir;
  if (!root.empty() && folder.size() >= root.size() && SameTextAscii(folder.substr(0, root.size()), root))
    folder.erase(0, root.size());
  // Absolute folders and drives land below the target as well: SplitStoredFolder drops them.
  return SplitStoredFolder(folder, parts);
}

bool ZipExtractRun::PrepareFolderOf(const std::string& fname, const std::string& composed,
                                    const std::vector<std::string>& parts) {
  if (fname == composed) return CreateFoldersBelow(base_, parts, &checkedFolders_);
  // The host chose another target: below the base folder the same checks apply, elsewhere it is its call.
  std::vector<std::string> hostParts;
  if (RelativeFolderParts(base_, fname, hostParts))
    return CreateFoldersBelow(base_, hostParts, &checkedFolders_);
  const std::string folder = ExtractDirPart(fname);
  if (folder.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(platform::FsPath(folder), ec);
  return platform::StatFile(folder).isDirectory;
}

void ZipExtractRun::ProcessFolderEntry(int index, const ZipEntry& entry) {
  if (options_.recreateDirs) {
    std::vector<std::string> parts;
    if (!TargetFolderParts(entry, parts) || !CreateFoldersBelow(base_, parts, &checkedFolders_)) {
      Skip(index, entry, SkipReason::CreateError);
      return;
    }
    // Its time and permissions are set once its contents are in place (writing them changes both).
    if (!parts.empty()) folderFinish_.push_back({JoinBelow(base_, parts), entry});
  }
  ++fileCount_;
}

void ZipExtractRun::FinishFolders() {
  // Deepest first, so that setting a folder's time is not undone by work inside it.
  for (auto it = folderFinish_.rbegin(); it != folderFinish_.rend(); ++it) {
    RestoreModificationTime(it->first, it->second);
    if (const uint32_t mode = it->second.UnixMode(); options_.retainAttributes && mode != 0)
      platform::SetPermissions(it->first, mode);
  }
  folderFinish_.clear();
}

void ZipExtractRun::Skip(int index, const ZipEntry& entry, SkipReason reason) {
  totalBytes_ -= entry.uncompressedSize;
  observer_.OnSkippingFile(reason, entry.FullName(), index);
}

void ZipExtractRun::Progress(uint64_t entryWritten, uint64_t entrySize, uint64_t chunk) {
  bytesDone_ += static_cast<int64_t>(chunk);
  observer_.OnFilePercentDone(
      Percentage(static_cast<int64_t>(entryWritten), static_cast<int64_t>(entrySize)));
  observer_.OnTotalPercentDone(Percentage(bytesDone_, totalBytes_));
}

std::string ZipExtractRun::LocalHeaderProblem(const ZipEntry& entry) {
  try {
    archive_.SeekToData(entry);
    return {};
  } catch (const BadArchiveError& e) {
    return e.what();
  }
}

bool ZipExtractRun::CheckPassword(int index, const ZipEntry& entry, MemberDecryption& decryption) {
  for (;;) {
    archive_.SeekToData(entry);
    auto raw = SpanningReads(archive_);
    const auto start = decryption.Begin(entry, options_.password, raw);
    if (start == MemberDecryption::Start::Ok) return true;
    if (start == MemberDecryption::Start::NoHeader) return false;
    if (!TakeNewPassword(index)) return false;
  }
}

bool ZipExtractRun::MayOverwrite(int index, const ZipEntry& entry, const std::string& fname) {
  const platform::FileStat st = platform::StatFile(fname, true);
  // Both sides as DOS date-times, so that times within the same 2-second step count as equal.
  const platform::DateTime entryTime = DosValue(entry.dateTime);
  const platform::DateTime fileTime =
      DosValue(platform::RepairDosDateTime(platform::DosDateTimeFromTime(st.lastWrite)));
  switch (options_.overwriteMode) {
    case OverwriteRule::Always:
      return true;
    case OverwriteRule::Never:
      return false;
    case OverwriteRule::IfNewer:
      return entryTime > fileTime;
    case OverwriteRule::IfOlder:
      return entryTime < fileTime;
    case OverwriteRule::Prompt:
      break;
  }
  return observer_.OnPromptForOverwrite(index, fname) == ExistingFile::Replace;
}

bool ZipExtractRun::TakeNewPassword(int index) {
  const std::optional<std::string> answer = observer_.OnBadPassword(index);
  if (!answer || *answer == options_.password) return false;
  options_.password = *answer;
  return true;
}

ZipExtractRun::Step ZipExtractRun::ProcessEntry(int index) {
  const ZipEntry entry = archive_.Entry(index);
  if (entry.FileName().empty()) {
    ProcessFolderEntry(index, entry);
    return Step::Done;
  }

  std::vector<std::string> parts;
  std::string composed;
  const std::optional<std::string> chosen = TargetOf(index, entry, parts, composed);
  if (!chosen) return Step::Done;
  const std::string& fname = *chosen;
  // Checked before anything is created or asked: no password prompt for data that cannot be decoded.
  if (!IsDecodable(entry)) {
    Skip(index, entry, SkipReason::UnknownMethod);
    return Step::Done;
  }
  // Decoded ahead and found sound: the header, the password and the data were checked already.
  std::unique_ptr<DecodeAhead::Decoded> decoded;
  if (ahead_) decoded = ahead_->Take(static_cast<size_t>(index), &archive_);
  if (decoded && entry.IsEncrypted() && decoded->password != options_.password) decoded.reset();

  MemberDecryption decryption;
  uint64_t remaining = entry.compressedSize;
  if (!decoded && !DataReadable(index, entry, decryption, remaining)) return Step::Done;
  // Folders are made once the data can be read: a wrong password or a damaged member leaves none.
  if (!PrepareFolderOf(fname, composed, parts)) {
    Skip(index, entry, SkipReason::CreateError);
    return Step::Done;
  }

  if (const std::optional<SkipReason> refused = TargetRefused(index, entry, fname)) {
    Skip(index, entry, *refused);
    return Step::Done;
  }

  std::string folder = ExtractDirPart(fname);
  if (folder.empty()) folder = ".";
  const bool isLink = IsLinkEntry(entry);
  if (isLink && entry.uncompressedSize > kMaxLinkText) {
    Skip(index, entry, SkipReason::CreateError);
    return Step::Done;
  }
  // The output goes to a new file beside the target; it takes the target's name only when complete.
  // A link's text is gathered in memory instead.
  std::string temp;
  std::unique_ptr<FileSink> output = isLink ? nullptr : CreateTemporaryIn(folder, temp);
  if (!isLink && !output) {
    Skip(index, entry, SkipReason::CreateError);
    return Step::Done;
  }
  TempFileGuard tempGuard(temp, output.get());
  VectorSink linkText;
  ByteSink* target = isLink ? static_cast<ByteSink*>(&linkText) : output.get();
  // A large member's file is written by a thread of its own while the next part is decoded.
  std::optional<WriteBehindSink> writeBehind;
  if (output && !decoded && entry.uncompressedSize > kWholeMemberLimit)
    target = &writeBehind.emplace(*output);

  // Handlers may have used the archive since the header was read: go back to the data.
  if (!decoded) archive_.SeekToData(entry);
  auto raw = SpanningReads(archive_);
  if (entry.IsEncrypted() && !decoded) {
    uint8_t header[32];  // already checked; the decryption continues behind it
    const size_t prefix = static_cast<size_t>(decryption.PrefixSize());
    if (archive_.ReadSpanning(header, prefix) != prefix) throw FatalExtractError(kMsgPrematureEnd);
  }
  const uint64_t size = entry.uncompressedSize;
  uint64_t reported = 0;
  CheckingSink sink(target, size, [&](uint64_t written) {
    Progress(written, size, written - reported);
    reported = written;
  });
  EntryDataSource source(raw, remaining, DecryptionOf(entry, decryption), &archive_);
  EntryCheck check = CheckOf(entry);
  const bool completed = Decode(entry, decoded.get(), source, remaining, sink, check);
  const bool authentic = decoded || source.Authentic();
  if (writeBehind) writeBehind->Finish();
  if (output) output->Close();

  const uint32_t crc = sink.Crc();
  if (completed && authentic && (crc == entry.crc32 || !entry.CrcStored()) && sink.Written() == size) {
    const bool placed =
        isLink ? PlaceLink(std::string(linkText.bytes.begin(), linkText.bytes.end()), folder, fname, entry)
               : PlaceFile(entry, temp, fname);
    if (!placed) {
      Skip(index, entry, SkipReason::CreateError);
      return Step::Done;
    }
    if (!isLink) tempGuard.Release();
    observer_.OnEndUnZip(index, fname);
    ++fileCount_;
    return Step::Done;
  }
  check.calcCrc = crc;
  check.size = sink.Written();
  return ReportFailed(index, entry, decryption, check, completed, authentic);
}

std::unique_ptr<FileSink> ZipExtractRun::CreateTemporaryIn(const std::string& folder, std::string& temp) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    temp = TemporaryNameIn(folder);
    auto output = std::make_unique<FileSink>(temp);
    if (output->Ok()) return output;
  }
  return nullptr;
}

bool ZipExtractRun::Decode(const ZipEntry& entry, const DecodeAhead::Decoded* decoded, ByteSource& source,
                           uint64_t remaining, ByteSink& sink, EntryCheck& check) {
  try {
    if (decoded) {
      archive_.CheckCancel();
      WriteInSlices(decoded->data.data(), decoded->data.size(), sink, &archive_);
    } else {
      decoder_.Decode(entry.DataMethod(), entry.flags, remaining, source, sink, entry.uncompressedSize,
                      &archive_);
    }
    return true;
  } catch (const OversizeMemberError& e) {
    check.result = EntryResult::TooLarge;
    check.message = e.what();
  } catch (const LegacyDecodeError& e) {
    check.result = EntryResult::DataError;  // malformed data fails this entry only, like a CRC mismatch
    check.message = e.what();
  }
  return false;
}

std::optional<std::string> ZipExtractRun::TargetOf(int index, const ZipEntry& entry,
                                                   std::vector<std::string>& parts, std::string& composed) {
  // A stored path with ".." parts is refused, whatever the settings: it could only mean to escape.
  if (!TargetFolderParts(entry, parts) || !IsSafeNamePart(entry.FileName())) {
    Skip(index, entry, SkipReason::CreateError);
    return std::nullopt;
  }
  composed = JoinBelow(base_, parts);
  composed += kPathDelim;
  composed += entry.FileName();
  std::optional<std::string> chosen = observer_.OnStartUnZip(index, composed);
  if (!chosen) totalBytes_ -= entry.uncompressedSize;
  return chosen;
}

bool ZipExtractRun::DataReadable(int index, const ZipEntry& entry, MemberDecryption& decryption,
                                 uint64_t& remaining) {
  // No local header where the directory points, or one that says otherwise: the data is not trusted.
  if (std::string problem = LocalHeaderProblem(entry); !problem.empty()) {
    EntryCheck check = CheckOf(entry);
    check.result = EntryResult::DataError;
    check.message = problem;
    observer_.OnDamagedMember(index, check);
    return false;
  }
  if (!entry.IsEncrypted()) return true;
  if (!CheckPassword(index, entry, decryption)) {
    Skip(index, entry, SkipReason::BadPassword);
    return false;
  }
  remaining = decryption.DataSize();
  return true;
}

std::optional<SkipReason> ZipExtractRun::TargetRefused(int index, const ZipEntry& entry,
                                                       const std::string& fname) {
  const platform::FileStat existing = platform::StatFile(fname, true);
  if (!existing.exists) return std::nullopt;
  if (existing.isDirectory) return SkipReason::CreateError;
  if (!MayOverwrite(index, entry, fname)) return SkipReason::NoOverwrite;
  const platform::FileStat target = platform::StatFile(fname, true);
  if (target.exists && !target.isSymlink && (target.attributes & platform::kAttrReadOnly) != 0) {
    if (!options_.replaceReadOnly || !platform::SetReadOnly(fname, false)) return SkipReason::CreateError;
  }
  return std::nullopt;
}

bool ZipExtractRun::PlaceFile(const ZipEntry& entry, const std::string& temp, const std::string& fname) {
  RestoreModificationTime(temp, entry);
  // Permission bits only: setuid, setgid and sticky bits from an archive are never restored.
  const uint32_t mode = entry.UnixMode();
  if (options_.retainAttributes && mode != 0)
    platform::SetPermissions(temp, mode);
  else if (options_.retainAttributes && (entry.externalAttributes & platform::kAttrReadOnly) != 0)
    platform::SetReadOnly(temp, true);
  return platform::RenameOver(temp, fname);
}

ZipExtractRun::Step ZipExtractRun::ReportFailed(int index, const ZipEntry& entry,
                                                const MemberDecryption& decryption, EntryCheck check,
                                                bool completed, bool authentic) {
  // With an authentication code the password was proven right: what fails is the data.
  if (entry.IsEncrypted() && !decryption.Authenticates()) {
    if (TakeNewPassword(index)) return Step::Retry;
    Skip(index, entry, SkipReason::BadPassword);
    return Step::Done;
  }
  if (!authentic) {
    check.result = EntryResult::Altered;
    check.message = kMsgAltered;
  } else if (completed) {
    check.result = EntryResult::BadCRC;
  }
  observer_.OnDamagedMember(index, check);
  return Step::Done;
}

bool ZipExtractRun::PlaceLink(const std::string& text, const std::string& folder, const std::string& fname,
                              const ZipEntry& entry) {
  // Made under a new name beside the target and renamed over it: an existing link at the target is
  // replaced, never written through.
  for (int attempt = 0; attempt < 8; ++attempt) {
    const std::string temp = TemporaryNameIn(folder);
    if (!platform::MakeSymlink(text, temp)) continue;
    RestoreModificationTime(temp, entry, true);
    if (platform::RenameOver(temp, fname)) return true;
    std::error_code ec;
    std::filesystem::remove(platform::FsPath(temp), ec);
    return false;
  }
  return false;
}

}  // namespace brisko::zip
