// ZipWriter: the Zip sequence, adding one member, progress accounting.
#include "zip/ZipWriter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/Platform.h"
#include "zip/FileStream.h"
#include "zip/MemoryStream.h"
#include "zip/ZipErrors.h"
#include "zip/ZipPaths.h"
#include "zip/ZipWriterRun.h"

namespace brisko::zip {

namespace fs = std::filesystem;

namespace {
std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// Times and attributes of a file or folder into its record. Unix hosts keep the file mode (type and
// permissions) in the high half of the external attributes, beside the DOS bits.
void TakeFileMetadata(ZipEntry& r, const platform::FileStat& st) {
  r.DateTime = platform::DosDateTimeFromTime(st.lastWrite);
  r.UnixTime = st.lastWrite;
  r.ExternalAttributes = st.attributes & 0xFF;
  if (platform::kUnixModes) {
    r.VersionMadeBy = static_cast<uint16_t>((kHostUnix << 8) | kVersion20);
    r.ExternalAttributes |= st.posixMode << 16;
  }
}
}  // namespace

ZipWriter::ZipWriter() = default;
ZipWriter::~ZipWriter() = default;

void ZipWriter::SetStorePaths(bool value) {
  fStorePaths = value;
  if (!value) {
    fStoreVolumes = false;
    fRelativePaths = false;
  }
}

void ZipWriter::SetRelativePaths(bool value) {
  fRelativePaths = value;
  if (value) {
    fStorePaths = true;
    Recurse = true;
  }
}

void ZipWriter::SetStoreVolumes(bool value) {
  fStoreVolumes = value;
  if (value) fStorePaths = true;
}

int ZipWriter::Zip() {
  fCancel = false;
  int added = ZipSequence();
  if (OnZipComplete) OnZipComplete(*this, added);
  return added;
}

int ZipWriter::ZipSequence() {
  if (Trimmed(ZipName()).empty()) return 0;
  const EntryOrder savedSort = SortMode;
  const bool savedKeep = KeepZipOpen;
  KeepZipOpen = true;
  SortMode = EntryOrder::ByNone;
  Run run;
  fRun = &run;
  // Restores the caller's settings and empties the list however the run ends.
  struct Restore {
    ZipWriter& w;
    EntryOrder sort;
    bool keep;
    ~Restore() {
      w.fRun = nullptr;
      w.FilesList.clear();
      w.SortMode = sort;
      w.KeepZipOpen = keep;
      if (!keep) w.CloseArchiveStream();
    }
  } restore{*this, savedSort, savedKeep};

  run.Member.SetPackLevel(PackLevel);
  run.Member.SetThreads(MemberPipeline::WorkerCount(Threads));
  run.Member.SetSizes(Sizes);
  run.Member.SetPassword(Password);
  run.Member.SetEncryption(Encryption);
  if (RandomSource) run.Member.SetRandomSource(RandomSource);
  run.Member.SetHooks([this](size_t n) { OnBlockRead(n); }, [this] { AfterWrite(); });

  if (!FilesList.empty()) ExpandFileList(run);
  WriteArchive(run);
  // The reader side now describes the archive just written.
  ApplySortMode(savedSort);
  return run.AddedCount;
}

namespace {
// Creates the temporary file of an update in the temp folder: an unpredictable name, created
// exclusively for the owner only, never through a link planted under that name.
std::unique_ptr<FileStream> CreateTempFile(const std::string& tempPath, std::string& name) {
  std::string dir = tempPath;
  if (dir.empty() || !platform::StatFile(dir).isDirectory) dir = platform::TempDir();
  auto file = std::make_unique<FileStream>();
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = IncludeTrailingDelim(dir) + "brz" + ZipCrypto::RandomHex(8) + ".tmp";
    if (file->Open(name, FileMode::CreatePrivate)) return file;
    if (file->LastError() != EEXIST) break;
  }
  throw ZipError("Cannot create " + name + ": " + std::strerror(file->LastError()));
}
}  // namespace

void ZipWriter::WriteArchive(Run& run) {
  platform::FileStat archive = platform::StatFile(ZipName());
  run.Updating = archive.exists;
  run.OutputName = ZipName();

  const bool pending = fEndCentral.CommentChanged;
  const std::string pendingComment = pending ? fEndCentral.Comment() : std::string();
  bool created = false;  // only a file this run created is removed on failure
  try {
    if (OutputOpener) {
      if (run.Updating)
        run.OutputName =
            IncludeTrailingDelim(platform::TempDir()) + "brz" + ZipCrypto::RandomHex(8) + ".tmp";
      run.Out = OutputOpener(run.OutputName);
      if (!run.Out) throw ZipError("Cannot create " + run.OutputName);
    } else if (run.Updating) {
      run.Out = CreateTempFile(TempPath, run.OutputName);
    } else {
      // A new archive is created only where no file is: a link or a file that appeared since the
      // check above is not written through.
      auto file = std::make_unique<FileStream>();
      if (!file->Open(run.OutputName, FileMode::CreateNew))
        throw ZipError("Cannot create " + run.OutputName + ": " + std::strerror(file->LastError()));
      run.Out = std::move(file);
    }
    created = true;
    std::string comment;
    if (run.Updating) {
      ReadDirectory();
      // A file that is not an archive must not be replaced by one that has lost its contents.
      if (!DirectoryLoaded()) throw NotAnArchiveError(kMsgNotValidZip);
      comment = pending ? pendingComment : ZipComment();
    } else {
      comment = pending ? pendingComment : (fEndCentral.HasComment() ? fEndCentral.Comment() : std::string());
    }
    run.WorkEnd.Clear();
    run.WorkEnd.SetComment(comment);
    if (run.Updating) UpdatePass(run);

    if (!FilesList.empty() && OnStartZipInfo) {
      bool stopNow = false;
      OnStartZipInfo(*this, static_cast<int>(FilesList.size()), run.TotalBytes, run.WorkEnd, stopNow);
      if (stopNow) throw CanceledError(kMsgCancelZip);
    }
    StartPipeline(run);
    const size_t count = FilesList.size();
    for (size_t i = 0; i < count; ++i) {
      run.PipelineIndex = i;
      auto record = std::make_unique<ZipEntry>();
      if (AddMember(run, FilesList[i], record)) Accept(run, std::move(record), true);
    }
    run.Pipeline.reset();

    ZipStream& out = *run.Out;
    run.WorkEnd.CentralOffset = out.Position();
    run.WorkEnd.CentralStartDisk = 0;
    for (int i = 0; i < run.PositionList->Count(); ++i)
      if (!run.PositionList->Item(i)->WriteCentralHeader(out)) throw NotEnoughRoomError(kMsgNotEnoughRoom);
    run.WorkEnd.CentralSize = out.Position() - run.WorkEnd.CentralOffset;
    run.WorkEnd.ThisDiskNumber = 0;
    run.WorkEnd.EntriesThisDisk = run.WorkEnd.TotalEntries = static_cast<uint64_t>(run.PositionList->Count());
    if (!run.WorkEnd.Write(out)) throw NotEnoughRoomError(kMsgNotEnoughRoom);
    const uint64_t finalSize = out.Position();

    // Bytes still buffered count as archive data: a failure to write them is a full disk too.
    const bool closed = run.Out->Close();
    run.Out.reset();
    if (!closed) throw NotEnoughRoomError(kMsgNotEnoughRoom);
    // A member that fell back to stored data may have left longer bytes behind the end.
    std::error_code ec;
    if (fs::exists(run.OutputName, ec) && fs::file_size(run.OutputName, ec) > finalSize && !ec)
      fs::resize_file(run.OutputName, finalSize, ec);
    if (ec) throw NotEnoughRoomError(kMsgNotEnoughRoom);
  } catch (...) {
    run.Pipeline.reset();
    run.Out.reset();
    std::error_code ec;
    if (created) fs::remove(run.OutputName, ec);
    throw;
  }

  if (run.Updating) {
    CloseArchiveStream();
    ClearDirectory();
    try {
      PutInPlace(run.OutputName);
    } catch (...) {
      std::error_code ec;
      fs::remove(run.OutputName, ec);
      throw;
    }
  }
  if (Dispose) {
    for (const auto& file : run.AddedFiles) {
      bool skip = false;
      if (OnDisposeFile) OnDisposeFile(*this, file, skip);
      std::error_code ec;
      if (!skip) fs::remove(file, ec);
    }
  }
  fEndCentral = run.WorkEnd;
  fEndCentral.CommentChanged = false;
  fCommentLoaded = true;
  fSortedView.clear();
  fZipContents = std::move(run.PositionList);
  TakeArchiveDate();
}

bool ZipWriter::AddMember(Run& run, const std::string& entry, std::unique_ptr<ZipEntry>& record) {
  ZipEntry& r = *record;
  run.FileBytesRead = 0;
  run.FileSize = 0;
  const bool isDir = !entry.empty() && entry.back() == kPathDelim;
  std::unique_ptr<ZipStream> in;
  std::unique_ptr<PreparedMember> prepared;
  bool isLink = false;
  if (isDir) {
    platform::FileStat st = platform::StatFile(ExcludeTrailingDelim(entry));
    if (st.exists) TakeFileMetadata(r, st);
    else r.DateTime = platform::DosDateTimeNow();
    r.UncompressedSize = r.CompressedSize = 0;
    r.CompressionMethod = kMethodStored;
    r.InternalAttributes = 0;
    r.CRC32 = 0;
  } else {
    platform::FileStat st = platform::StatFile(entry, StoreLinks);
    isLink = StoreLinks && st.isSymlink && st.exists;
    TakeFileMetadata(r, st);
    std::string linkText;
    if (isLink) {
      while (!platform::ReadSymlink(entry, linkText)) {
        bool retry = false;
        if (OnSkippingFile) OnSkippingFile(*this, SkipReason::FileOpenError, entry, -1, retry);
        if (!retry) return false;
      }
      in = std::make_unique<MemoryStream>(std::vector<uint8_t>(linkText.begin(), linkText.end()));
      st.size = linkText.size();
    } else {
      // Pipes, sockets and devices named directly would block or never end, a file removed since the
      // list was made has nothing to read, and a folder named without a wildcard is no file: all are
      // reported as unopenable, never passed over in silence.
      constexpr uint32_t kTypeMask = 0170000, kRegular = 0100000;
      const bool special =
          !st.exists || st.isDirectory || (st.posixMode != 0 && (st.posixMode & kTypeMask) != kRegular);
      // A member read whole ahead of the writer needs no file of its own here.
      if (!special && run.Pipeline) prepared = run.Pipeline->Take(run.PipelineIndex);
      auto file = std::make_unique<FileStream>();
      while (!prepared && (special || !file->Open(entry, FileMode::OpenRead))) {
        bool retry = false;
        if (OnSkippingFile) OnSkippingFile(*this, SkipReason::FileOpenError, entry, -1, retry);
        if (!retry || special) return false;
      }
      if (!prepared) in = std::move(file);
    }
    run.FileSize = static_cast<int64_t>(st.size);
    r.UncompressedSize = st.size;
    r.LocalZip64 = st.size >= Sizes.localZip64From;
  }
  std::string stored = StoredNameOf(entry);
  if (stored.empty()) return false;  // nothing to name it by (e.g. the root folder)
  if (isDir) {
    r.SetFileName("");
    r.SetDirectory(stored);
  } else {
    r.SetFileName(ExtractNamePart(stored));
    r.SetDirectory(stored.substr(0, stored.size() - r.FileName().size()));
  }
  ZipStream& out = *run.Out;
  r.RelativeOffset = out.Position();
  r.InternalAttributes = isDir ? 0 : 2;  // decided by the compressor
  r.DiskNumberStart = 0;

  if (run.Names.count(NameKey(r.FullName())) != 0) {
    bool retry = false;
    if (OnSkippingFile) OnSkippingFile(*this, SkipReason::NoOverwrite, entry, -1, retry);
    run.TotalBytes -= run.FileSize;
    return false;
  }
  bool skip = false;
  if (OnStartZip) OnStartZip(*this, entry, r, skip);
  if (skip) {
    run.TotalBytes -= run.FileSize;
    return false;
  }
  if (!isDir) run.Member.PrepareHeader(r);
  const bool store = isLink || PackLevel <= 0 || MatchesPatternList(NoCompressList, r.FileName());
  // Prepared data lets the local header be written once, complete.
  if (prepared) run.Member.DescribePrepared(*prepared, r, store, entry);
  if (!r.WriteLocalHeader(out)) throw NotEnoughRoomError(kMsgNotEnoughRoom);
  if (isDir) {
    if (OnEndZip) OnEndZip(*this, entry, 0, 0, 0);
    return true;
  }
  if (prepared) run.Member.WritePrepared(*prepared, out, r);
  else run.Member.WriteFileData(*in, out, r, store, entry);
  in.reset();
  run.AddedFiles.push_back(entry);
  if (OnEndZip)
    OnEndZip(*this, entry, r.UncompressedSize, r.CompressedSize, static_cast<int64_t>(out.Position()));
  return true;
}

void ZipWriter::StartPipeline(Run& run) {
  std::vector<MemberPipeline::Job> jobs(FilesList.size());
  for (size_t i = 0; i < FilesList.size(); ++i) {
    const std::string& entry = FilesList[i];
    if (entry.empty() || entry.back() == kPathDelim) continue;
    jobs[i].path = entry;
    jobs[i].store = PackLevel <= 0 || MatchesPatternList(NoCompressList, ExtractNamePart(entry));
    jobs[i].links = StoreLinks;
  }
  run.Pipeline = std::make_unique<MemberPipeline>(std::move(jobs), PackLevel, MemberPipeline::WorkerCount(Threads),
                                                  Sizes.wholeMember, run.Member.Seal());
}

void ZipWriter::Accept(Run& run, std::unique_ptr<ZipEntry> record, bool counted) {
  run.Names.insert(NameKey(record->FullName()));
  run.PositionList->Add(std::move(record));
  if (counted) ++run.AddedCount;
  run.WorkEnd.EntriesThisDisk = run.WorkEnd.TotalEntries = static_cast<uint64_t>(run.PositionList->Count());
}

void ZipWriter::OnBlockRead(size_t bytes) {
  if (!fRun) return;
  fRun->FileBytesRead += static_cast<int64_t>(bytes);
  fRun->DoneBytes += static_cast<int64_t>(bytes);
  if (OnFilePercentDone) OnFilePercentDone(*this, Percentage(fRun->FileBytesRead, fRun->FileSize));
  if (OnTotalPercentDone) OnTotalPercentDone(*this, Percentage(fRun->DoneBytes, fRun->TotalBytes));
}

void ZipWriter::AfterWrite() {
  ProcessMessages();
  if (fCancel) {
    fCancel = false;
    throw CanceledError(kMsgUserAborted);
  }
}

}  // namespace brisko::zip
