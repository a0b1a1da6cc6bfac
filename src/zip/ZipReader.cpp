// ZipReader: properties, entry accessors, the archive stream, comments and multi-disk loading.
#include "zip/ZipReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Platform.h"
#include "zip/ByteIO.h"
#include "zip/FileStream.h"
#include "zip/ZipErrors.h"
#include "zip/ZipPaths.h"

namespace brisko::zip {

namespace {

constexpr const char* kOpenZipTitle = "Open a Zip File";
constexpr const char* kOpenZipFilter =
    "Zip Files (*.ZIP)|*.zip|SFX Files (*.EXE)|*.exe|Jar Files (*.JAR)|*.jar|All Files (*.*)|*.*";
// A disk handler that keeps naming missing files is treated as a cancel after this many answers.
constexpr int kMaxDiskRequests = 100;

bool IsExistingFile(const std::string& path) {
  platform::FileStat st = platform::StatFile(path);
  return st.exists && !st.isDirectory;
}

platform::DateTime NowAsDateTime() { return platform::LocalDateTimeOf(std::time(nullptr)); }

}  // namespace

ZipReader::ZipReader() = default;

ZipReader::~ZipReader() = default;

// ---- Properties ----

void ZipReader::SetZipName(const std::string& name) {
  if (SameName(name, fZipName)) return;
  std::string value = name;
  if (!value.empty() && value.back() == '?') {
    std::string folder = ExtractDirPart(value.substr(0, value.size() - 1));
    platform::FileStat st = platform::StatFile(folder);
    std::string initial = !folder.empty() && st.exists && st.isDirectory ? folder : platform::HomeDir();
    std::string chosen;
    if (!OnOpenFileDialog || !OnOpenFileDialog(kOpenZipTitle, kOpenZipFilter, initial, chosen)) {
      throw CanceledError(kMsgCancelZipName);
    }
    value = chosen;
    if (SameName(value, fZipName)) return;
  }
  CloseArchiveStream();
  ClearDirectory();
  SetMultiMode(SplitMode::None);
  fZipName = value;
}

void ZipReader::SetDestDir(const std::string& dir) {
  std::string value = dir;
  if (value == "?") {
    platform::FileStat st = platform::StatFile(fDestDir);
    std::string initial = !fDestDir.empty() && st.exists && st.isDirectory ? fDestDir : std::string(".");
    std::string chosen;
    if (!OnSelectFolderDialog || !OnSelectFolderDialog(initial, chosen)) throw CanceledError(kMsgCancelDestDir);
    value = chosen;
  }
  // One trailing separator goes; the root folder itself stays a separator.
  if (value.size() > 1 && value.back() == platform::PathDelim) value.pop_back();
  fDestDir = value;
}

void ZipReader::SetRootDir(const std::string& dir) {
  fRootDir = dir;
  if (!fRootDir.empty() && fRootDir.back() != platform::PathDelim) fRootDir.push_back(platform::PathDelim);
}

const std::string& ZipReader::ZipComment() {
  if (!fCommentLoaded && !fEndCentral.HasComment() && fEndCentral.ZipCommentLength != 0) {
    fCommentLoaded = true;
    bool opened = false;
    ZipStream* stream = fFromCentralFile && fCentralFile ? fCentralFile.get() : nullptr;
    try {
      if (!stream) {
        if (!ArchiveIsOpen()) {
          OpenArchive();
          opened = true;
        }
        stream = fArchive.get();
      }
      std::string text(fEndCentral.ZipCommentLength, '\0');
      stream->Seek(fEndCentral.ZipCommentPos);
      text.resize(stream->Read(text.data(), text.size()));
      // Taking the text must not mark it as a pending change.
      bool changed = fEndCentral.CommentChanged;
      fEndCentral.SetComment(text);
      fEndCentral.CommentChanged = changed;
    } catch (const ZipError&) {
      // An archive that cannot be opened has no comment to show.
    }
    if (opened && !KeepZipOpen) CloseArchiveStream();
  }
  return fEndCentral.Comment();
}

void ZipReader::SetZipComment(const std::string& comment) {
  if (comment == ZipComment()) return;
  fEndCentral.SetComment(comment);
  fEndCentral.CommentChanged = true;
  fCommentLoaded = true;
}

// ---- Entries ----

int ZipReader::EntryCount() const { return fZipContents ? fZipContents->Count() : 0; }

ZipEntry& ZipReader::Entry(int index) {
  if (!fZipContents || (!fSortedView.empty() && (index < 0 || index >= EntryCount())))
    throw ListIndexError("Index " + std::to_string(index) + " is out of range");
  return fSortedView.empty() ? *fZipContents->Item(index) : *fSortedView[static_cast<size_t>(index)];
}

const ZipEntry& ZipReader::Entry(int index) const {
  return const_cast<ZipReader*>(this)->Entry(index);
}

std::string ZipReader::EntryName(int index) const { return Entry(index).FileName(); }

std::string ZipReader::EntryPath(int index) const { return Entry(index).Directory(); }

platform::DateTime ZipReader::EntryDateTime(int index) const {
  platform::DateTime value = 0;
  if (platform::DosDateTimeToDateTime(Entry(index).DateTime, value)) return value;
  return NowAsDateTime();
}

uint64_t ZipReader::EntrySize(int index) const { return Entry(index).UncompressedSize; }

std::string ZipReader::EntryComment(int index) {
  ZipEntry& entry = Entry(index);
  LoadEntryComment(entry);
  return entry.FileComment();
}

// ---- Archive stream ----

std::unique_ptr<ZipStream> ZipReader::OpenStreamOn(const std::string& path) {
  if (StreamOpener) return StreamOpener(path);
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

void ZipReader::OpenArchive() {
  if (fArchive) return;
  errno = 0;
  fArchive = OpenStreamOn(fZipName);
  if (!fArchive) {
    std::string reason = errno != 0 ? std::strerror(errno) : "cannot be opened";
    throw ZipError("Cannot open file \"" + fZipName + "\": " + reason);
  }
}

void ZipReader::CloseArchiveStream() {
  fArchive.reset();
  fCentralFile.reset();
}

void ZipReader::CloseArchive() {
  CloseArchiveStream();
  ClearDirectory();
  SetMultiMode(SplitMode::None);
  fZipName.clear();
}

void ZipReader::ClearDirectory() {
  fSortedView.clear();
  fZipContents.reset();
  fEndCentral.Clear();
  fRepaired = false;
  fCommentLoaded = false;
  fFromCentralFile = false;
}

void ZipReader::ApplySortMode(EntryOrder mode) {
  fSortedView.clear();
  if (fZipContents && mode != EntryOrder::ByNone) fSortedView = fZipContents->InOrder(mode);
}

void ZipReader::TakeArchiveDate() {
  platform::FileStat st = platform::StatFile(fZipName);
  fArchiveDate = st.exists ? st.lastWrite : 0;
  fArchiveSize = st.exists ? st.size : 0;
}

bool ZipReader::ArchiveDateChanged() const {
  platform::FileStat st = platform::StatFile(fZipName);
  std::time_t date = st.exists ? st.lastWrite : 0;
  uint64_t size = st.exists ? st.size : 0;
  // The size guards against a rewrite within the same second of the last-write time.
  return date != fArchiveDate || size != fArchiveSize;
}

// ---- Multi-disk ----

void ZipReader::DefaultGetNextDisk(int diskNumber, std::string& name) {
  if (GetMultiMode() == SplitMode::Span) {
    std::string text = "Please insert disk " + std::to_string(diskNumber) + " of the multi-disk set.";
    if (!AskHost("Multi-disk archive", text, MessageButtons::OkCancel)) name.clear();
    return;
  }
  // Numbered parts are "name.001", "name.002", ... or, as split archives are commonly written,
  // "name.z01", "name.z02", ... with the last part under the archive's own name.
  size_t dot = name.find_last_of('.');
  size_t delim = name.find_last_of(platform::PathDelim);
  std::string base = name;
  if (dot != std::string::npos && (delim == std::string::npos || dot > delim)) base.erase(dot);
  char numbered[16], zipStyle[16];
  std::snprintf(numbered, sizeof numbered, ".%3.3d", diskNumber);
  std::snprintf(zipStyle, sizeof zipStyle, ".z%02d", diskNumber);
  std::vector<std::string> candidates = {base + numbered, base + zipStyle};
  if (diskNumber == fEndCentral.ThisDiskNumber + 1 && !fLastDiskName.empty()) candidates.push_back(fLastDiskName);
  name = candidates.front();
  for (const std::string& candidate : candidates) {
    if (IsExistingFile(candidate)) {
      name = candidate;
      return;
    }
  }
  fMissingDisk = candidates[0] + " or " + candidates[1];
}

void ZipReader::LoadDisk(int diskNumber) {
  CloseArchiveStream();
  if (fLastDiskName.empty()) fLastDiskName = fZipName;
  std::string name;
  for (int attempt = 0;; ++attempt) {
    name = fZipName;
    if (OnGetNextDisk) OnGetNextDisk(*this, diskNumber, name);
    else DefaultGetNextDisk(diskNumber, name);
    if (name.empty() || attempt >= kMaxDiskRequests) throw CanceledError(kMsgCancelNewDisk);
    if (StreamOpener || IsExistingFile(name)) break;
    // The built-in numbering cannot come up with another name: stop rather than ask forever.
    if (!OnGetNextDisk && GetMultiMode() != SplitMode::Span)
      throw FatalExtractError("Part " + std::to_string(diskNumber) + " of the split archive is missing: " + fMissingDisk);
  }
  // Volume labels are not checked: numbered files carry the disk number in their names.
  fZipName = name;
  OpenArchive();
  fCurrentDisk = diskNumber - 1;
  TakeArchiveDate();
}

size_t ZipReader::ReadSpanning(void* buffer, size_t n) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t got = Archive().Read(out, n);
  while (got < n && IsMultiDisk() && !fFromCentralFile && fCurrentDisk < fEndCentral.ThisDiskNumber) {
    LoadDisk(fCurrentDisk + 2);
    got += Archive().Read(out + got, n - got);
  }
  return got;
}

// ---- Member data ----

bool ZipReader::ReadLocalHeaderOf(const ZipEntry& entry, ZipEntry& local) {
  if (IsMultiDisk() && entry.DiskNumberStart != fCurrentDisk) LoadDisk(entry.DiskNumberStart + 1);
  OpenArchive();
  if (!Archive().Seek(entry.RelativeOffset)) return false;
  return local.ReadLocalHeader(Archive());
}

uint64_t ZipReader::SeekToData(const ZipEntry& entry) {
  ZipEntry local;
  if (!ReadLocalHeaderOf(entry, local)) throw BadArchiveError(kMsgNotValidZip);
  return Archive().Position();
}

void ZipReader::LoadEntryComment(ZipEntry& entry) {
  if (entry.HasFileComment() || entry.FileCommentLength == 0) return;
  bool opened = false;
  ZipStream* stream = fFromCentralFile && fCentralFile ? fCentralFile.get() : nullptr;
  if (!stream) {
    if (!ArchiveIsOpen()) {
      OpenArchive();
      opened = true;
    }
    stream = fArchive.get();
  }
  // The lengths come from the header itself: ExtraFieldLength no longer says what is stored.
  uint8_t fixed[kCentralHeaderSize];
  stream->Seek(entry.CentralOffset);
  uint16_t nameLength = 0, extraLength = 0, commentLength = 0;
  uint32_t sig = 0;
  if (stream->ReadExact(fixed, sizeof fixed) && GetLE32(fixed, sizeof fixed, 0, sig) && sig == kCentralHeaderSig &&
      GetLE16(fixed, sizeof fixed, 28, nameLength) && GetLE16(fixed, sizeof fixed, 30, extraLength) &&
      GetLE16(fixed, sizeof fixed, 32, commentLength)) {
    std::string text(commentLength, '\0');
    stream->Seek(entry.CentralOffset + kCentralHeaderSize + nameLength + extraLength);
    text.resize(stream->Read(text.data(), text.size()));
    entry.SetFileComment(text);
  }
  if (opened && !KeepZipOpen) CloseArchiveStream();
}

// ---- Host interplay ----

void ZipReader::ProcessMessages() {
  if (DoProcessMessages && OnProcessMessages) OnProcessMessages();
}

void ZipReader::CheckCancel() {
  if (!DoProcessMessages) return;
  ProcessMessages();
  if (fCancel) {
    fCancel = false;
    throw CanceledError(kMsgUserAborted);
  }
}

bool ZipReader::AskHost(const std::string& caption, const std::string& text, MessageButtons buttons) {
  return OnMessageBox ? OnMessageBox(caption, text, buttons) : false;
}

}  // namespace brisko::zip
