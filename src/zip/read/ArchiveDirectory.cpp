// ArchiveDirectory: the archive name, entry accessors, the archive stream, comments and multi-disk loading.
#include "zip/read/ArchiveDirectory.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Platform.h"
#include "zip/format/ByteIO.h"
#include "zip/format/LocalHeaderCheck.h"
#include "zip/format/ZipErrors.h"
#include "zip/io/FileStream.h"
#include "zip/names/ZipPaths.h"

namespace brisko::zip {

namespace {

// A disk handler that keeps naming missing files is treated as a cancel after this many answers.
constexpr int kMaxDiskRequests = 100;

bool IsExistingFile(const std::string& path) {
  platform::FileStat st = platform::StatFile(path);
  return st.exists && !st.isDirectory;
}

platform::DateTime NowAsDateTime() {
  return platform::LocalDateTimeOf(std::time(nullptr));
}

}  // namespace

namespace {
// The observer of a directory nobody watches: every event takes its default.
ArchiveObserver& NoObserver() {
  static ArchiveObserver none;
  return none;
}
}  // namespace

ArchiveDirectory::ArchiveDirectory(DirectoryOptions options, ArchiveObserver* observer)
    : options_(options), observer_(observer ? observer : &NoObserver()) {}

ArchiveDirectory::~ArchiveDirectory() = default;

void ArchiveDirectory::SetObserver(ArchiveObserver* observer) {
  observer_ = observer ? observer : &NoObserver();
}

// ---- Properties ----

void ArchiveDirectory::SetZipName(const std::string& name) {
  if (SameName(name, zipName_)) return;
  CloseArchiveStream();
  ClearDirectory();
  SetMultiMode(SplitMode::None);
  zipName_ = name;
}

const std::string& ArchiveDirectory::ZipComment() {
  if (!commentLoaded_ && !endCentral_.HasComment() && endCentral_.zipCommentLength != 0) {
    commentLoaded_ = true;
    bool opened = false;
    ZipStream* stream = fromCentralFile_ && centralFile_ ? centralFile_.get() : nullptr;
    try {
      if (!stream) {
        if (!ArchiveIsOpen()) {
          OpenArchive();
          opened = true;
        }
        stream = archive_.get();
      }
      std::string text(endCentral_.zipCommentLength, '\0');
      stream->Seek(endCentral_.zipCommentPos);
      text.resize(stream->Read(text.data(), text.size()));
      // Taking the text must not mark it as a pending change.
      bool changed = endCentral_.commentChanged;
      endCentral_.SetComment(text);
      endCentral_.commentChanged = changed;
    } catch (const ZipError&) {
      // An archive that cannot be opened has no comment to show.
    }
    if (opened && !options_.keepZipOpen) CloseArchiveStream();
  }
  return endCentral_.Comment();
}

void ArchiveDirectory::SetZipComment(const std::string& comment) {
  if (comment == ZipComment()) return;
  endCentral_.SetComment(comment);
  endCentral_.commentChanged = true;
  commentLoaded_ = true;
}

// ---- Entries ----

int ArchiveDirectory::EntryCount() const {
  return contents_ ? contents_->Count() : 0;
}

ZipEntry& ArchiveDirectory::Entry(int index) {
  if (!contents_ || (!sortedView_.empty() && (index < 0 || index >= EntryCount())))
    throw ListIndexError("Index " + std::to_string(index) + " is out of range");
  return sortedView_.empty() ? *contents_->Item(index) : *sortedView_[static_cast<size_t>(index)];
}

const ZipEntry& ArchiveDirectory::Entry(int index) const {
  return const_cast<ArchiveDirectory*>(this)->Entry(index);
}

std::string ArchiveDirectory::EntryName(int index) const {
  return Entry(index).FileName();
}

std::string ArchiveDirectory::EntryPath(int index) const {
  return Entry(index).Directory();
}

platform::DateTime ArchiveDirectory::EntryDateTime(int index) const {
  platform::DateTime value = 0;
  if (platform::DosDateTimeToDateTime(Entry(index).dateTime, value)) return value;
  return NowAsDateTime();
}

uint64_t ArchiveDirectory::EntrySize(int index) const {
  return Entry(index).uncompressedSize;
}

std::string ArchiveDirectory::EntryComment(int index) {
  ZipEntry& entry = Entry(index);
  LoadEntryComment(entry);
  return entry.FileComment();
}

// ---- Archive stream ----

std::unique_ptr<ZipStream> ArchiveDirectory::OpenStreamOn(const std::string& path) {
  if (options_.streamOpener) return options_.streamOpener->Open(path);
  platform::FileStat st = platform::StatFile(path);
  if (st.exists && st.isDirectory) {
    errno = EISDIR;
    return nullptr;
  }
  auto file = std::make_unique<FileStream>();
  if (!file->Open(path, FileMode::OpenRead)) {
    errno = file->LastError();
    return nullptr;
  }
  return file;
}

void ArchiveDirectory::OpenArchive() {
  if (archive_) return;
  errno = 0;
  archive_ = OpenStreamOn(zipName_);
  if (!archive_) {
    std::string reason = errno != 0 ? std::strerror(errno) : "cannot be opened";
    throw ZipError("Cannot open file \"" + zipName_ + "\": " + reason);
  }
}

void ArchiveDirectory::CloseArchiveStream() {
  archive_.reset();
  centralFile_.reset();
}

void ArchiveDirectory::CloseArchive() {
  CloseArchiveStream();
  ClearDirectory();
  SetMultiMode(SplitMode::None);
  zipName_.clear();
}

void ArchiveDirectory::ClearDirectory() {
  sortedView_.clear();
  contents_.reset();
  endCentral_.Clear();
  repaired_ = false;
  commentLoaded_ = false;
  fromCentralFile_ = false;
}

void ArchiveDirectory::ApplySortMode(EntryOrder mode) {
  sortedView_.clear();
  if (contents_ && mode != EntryOrder::ByNone) sortedView_ = contents_->InOrder(mode);
}

void ArchiveDirectory::TakeArchiveDate() {
  platform::FileStat st = platform::StatFile(zipName_);
  archiveDate_ = st.exists ? st.lastWrite : 0;
  archiveSize_ = st.exists ? st.size : 0;
}

bool ArchiveDirectory::ArchiveDateChanged() const {
  platform::FileStat st = platform::StatFile(zipName_);
  std::time_t date = st.exists ? st.lastWrite : 0;
  uint64_t size = st.exists ? st.size : 0;
  // The size guards against a rewrite within the same second of the last-write time.
  return date != archiveDate_ || size != archiveSize_;
}

// ---- Multi-disk ----

void ArchiveDirectory::DefaultGetNextDisk(int diskNumber, std::string& name) {
  // Numbered parts are "name.001", "name.002", ... or, as split archives are commonly written,
  // "name.z01", "name.z02", ... with the last part under the archive's own name.
  size_t dot = name.find_last_of('.');
  size_t delim = name.find_last_of(platform::kPathDelim);
  std::string base = name;
  if (dot != std::string::npos && (delim == std::string::npos || dot > delim)) base.erase(dot);
  char numbered[16], zipStyle[16];
  std::snprintf(numbered, sizeof numbered, ".%3.3d", diskNumber);
  std::snprintf(zipStyle, sizeof zipStyle, ".z%02d", diskNumber);
  std::vector<std::string> candidates = {base + numbered, base + zipStyle};
  if (diskNumber == endCentral_.thisDiskNumber + 1 && !lastDiskName_.empty())
    candidates.push_back(lastDiskName_);
  name = candidates.front();
  for (const std::string& candidate : candidates) {
    if (IsExistingFile(candidate)) {
      name = candidate;
      return;
    }
  }
  missingDisk_ = candidates[0] + " or " + candidates[1];
}

void ArchiveDirectory::LoadDisk(int diskNumber) {
  CloseArchiveStream();
  if (lastDiskName_.empty()) lastDiskName_ = zipName_;
  std::string name;
  for (int attempt = 0;; ++attempt) {
    name = zipName_;
    const std::optional<std::string> answer = observer_->OnGetNextDisk(diskNumber, zipName_);
    const bool answered = answer.has_value();
    if (answered)
      name = *answer;
    else
      DefaultGetNextDisk(diskNumber, name);
    if (name.empty() || attempt >= kMaxDiskRequests) throw CanceledError(kMsgCancelNewDisk);
    if (options_.streamOpener || IsExistingFile(name)) break;
    // The built-in numbering cannot come up with another name: stop rather than ask forever.
    if (!answered)
      throw FatalExtractError("Part " + std::to_string(diskNumber) +
                              " of the split archive is missing: " + missingDisk_);
  }
  // Volume labels are not checked: numbered files carry the disk number in their names.
  zipName_ = name;
  OpenArchive();
  currentDisk_ = diskNumber - 1;
  TakeArchiveDate();
}

size_t ArchiveDirectory::ReadSpanning(void* buffer, size_t n) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t got = Archive().Read(out, n);
  while (got < n && IsMultiDisk() && !fromCentralFile_ && currentDisk_ < endCentral_.thisDiskNumber) {
    LoadDisk(currentDisk_ + 2);
    got += Archive().Read(out + got, n - got);
  }
  return got;
}

// ---- Member data ----

bool ArchiveDirectory::ReadLocalHeaderOf(const ZipEntry& entry, ZipEntry& local) {
  if (IsMultiDisk() && entry.diskNumberStart != currentDisk_) LoadDisk(entry.diskNumberStart + 1);
  OpenArchive();
  if (!Archive().Seek(entry.relativeOffset)) return false;
  return local.ReadLocalHeader(Archive(), entry.versionMadeBy);
}

uint64_t ArchiveDirectory::SeekToData(const ZipEntry& entry) {
  ZipEntry local;
  if (!ReadLocalHeaderOf(entry, local)) throw BadArchiveError(kMsgNoLocalHeader);
  if (std::string problem = LocalHeaderDisagreement(entry, local); !problem.empty())
    throw BadArchiveError(problem);
  return Archive().Position();
}

void ArchiveDirectory::LoadEntryComment(ZipEntry& entry) {
  if (entry.HasFileComment() || entry.fileCommentLength == 0) return;
  bool opened = false;
  ZipStream* stream = fromCentralFile_ && centralFile_ ? centralFile_.get() : nullptr;
  if (!stream) {
    if (!ArchiveIsOpen()) {
      OpenArchive();
      opened = true;
    }
    stream = archive_.get();
  }
  // The lengths come from the header itself: extraFieldLength no longer says what is stored.
  uint8_t fixed[kCentralHeaderSize];
  stream->Seek(entry.centralOffset);
  uint16_t nameLength = 0, extraLength = 0, commentLength = 0;
  uint32_t sig = 0;
  if (stream->ReadExact(fixed, sizeof fixed) && GetLE32(fixed, sizeof fixed, 0, sig) &&
      sig == kCentralHeaderSig && GetLE16(fixed, sizeof fixed, 28, nameLength) &&
      GetLE16(fixed, sizeof fixed, 30, extraLength) && GetLE16(fixed, sizeof fixed, 32, commentLength)) {
    std::string text(commentLength, '\0');
    stream->Seek(entry.centralOffset + kCentralHeaderSize + nameLength + extraLength);
    text.resize(stream->Read(text.data(), text.size()));
    entry.SetFileComment(text);
  }
  if (opened && !options_.keepZipOpen) CloseArchiveStream();
}

// ---- Host interplay ----

void ArchiveDirectory::CheckCancel() {
  if (observer_->CancelRequested()) throw CanceledError(kMsgUserAborted);
}

void ArchiveDirectory::Adopt(std::unique_ptr<SortedEntries> contents, const EndOfCentralDir& endCentral) {
  endCentral_ = endCentral;
  endCentral_.commentChanged = false;
  commentLoaded_ = true;
  sortedView_.clear();
  contents_ = std::move(contents);
  TakeArchiveDate();
}

}  // namespace brisko::zip
