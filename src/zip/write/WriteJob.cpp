// WriteJob: the write sequence, adding one member, progress accounting.
#include "zip/write/WriteJob.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/FsPath.h"
#include "platform/Platform.h"
#include "zip/format/ZipErrors.h"
#include "zip/io/FileStream.h"
#include "zip/io/MemoryStream.h"
#include "zip/names/ZipPaths.h"
#include "zip/write/WriteJobState.h"

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
  r.dateTime = platform::DosDateTimeFromTime(st.lastWrite);
  r.unixTime = st.lastWrite;
  r.timeNanos = st.lastWriteNanos;
  r.externalAttributes = st.attributes & 0xFF;
  if (platform::kUnixModes) {
    r.versionMadeBy = static_cast<uint16_t>((kHostUnix << 8) | kVersion20);
    r.externalAttributes |= st.posixMode << 16;
  }
}

WriteObserver& NoObserver() {
  static WriteObserver none;
  return none;
}
}  // namespace

WriteJob::WriteJob(WriteOptions options, WriteObserver* observer)
    : options_(std::move(options)), observer_(observer ? observer : &NoObserver()), archive_({}, observer_) {}
WriteJob::~WriteJob() = default;

int WriteJob::Run() {
  const int added = ZipSequence();
  observer_->OnZipComplete(added);
  return added;
}

int WriteJob::ZipSequence() {
  if (Trimmed(archive_.ZipName()).empty()) return 0;
  DirectoryOptions& directory = archive_.Options();
  const EntryOrder savedSort = directory.sortMode;
  const bool savedKeep = directory.keepZipOpen;
  directory.keepZipOpen = true;
  directory.sortMode = EntryOrder::ByNone;
  State run;
  run_ = &run;
  // Restores the caller's settings and empties the list however the run ends.
  struct Restore {
    WriteJob& w;
    EntryOrder sort;
    bool keep;
    ~Restore() {
      w.run_ = nullptr;
      w.options_.filesList.clear();
      w.archive_.Options().sortMode = sort;
      w.archive_.Options().keepZipOpen = keep;
      if (!keep) w.archive_.CloseArchiveStream();
    }
  } restore{*this, savedSort, savedKeep};

  run.member.SetPackLevel(options_.packLevel);
  run.member.SetThreads(MemberPipeline::WorkerCount(options_.threads));
  run.member.SetSizes(options_.sizes);
  run.member.SetPassword(options_.password);
  run.member.SetEncryption(options_.encryption);
  if (options_.randomSource) run.member.SetRandomSource(*options_.randomSource);
  run.member.SetListener(this);

  if (!options_.filesList.empty()) ExpandFileList(run);
  WriteArchive(run);
  // The reader side now describes the archive just written.
  archive_.ApplySortMode(savedSort);
  return run.addedCount;
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

void WriteJob::WriteArchive(State& run) {
  platform::FileStat archive = platform::StatFile(archive_.ZipName());
  run.updating = archive.exists;
  run.outputName = archive_.ZipName();

  const bool pending = archive_.EndCentralRecord().commentChanged;
  const std::string pendingComment = pending ? archive_.EndCentralRecord().Comment() : std::string();
  bool created = false;  // only a file this run created is removed on failure
  try {
    if (options_.outputOpener) {
      if (run.updating)
        run.outputName = IncludeTrailingDelim(platform::TempDir()) + "brz" + ZipCrypto::RandomHex(8) + ".tmp";
      run.out = options_.outputOpener->Open(run.outputName);
      if (!run.out) throw ZipError("Cannot create " + run.outputName);
    } else if (run.updating) {
      run.out = CreateTempFile(options_.tempPath, run.outputName);
    } else {
      // A new archive is created only where no file is: a link or a file that appeared since the
      // check above is not written through.
      auto file = std::make_unique<FileStream>();
      if (!file->Open(run.outputName, options_.privateOutput ? FileMode::CreatePrivate : FileMode::CreateNew))
        throw ZipError("Cannot create " + run.outputName + ": " + std::strerror(file->LastError()));
      run.out = std::move(file);
    }
    created = true;
    std::string comment;
    if (run.updating) {
      archive_.ReadDirectory();
      // A file that is not an archive must not be replaced by one that has lost its contents.
      if (!archive_.DirectoryLoaded()) throw NotAnArchiveError(kMsgNotValidZip);
      comment = pending ? pendingComment : archive_.ZipComment();
    } else {
      comment = pending ? pendingComment
                        : (archive_.EndCentralRecord().HasComment() ? archive_.EndCentralRecord().Comment()
                                                                    : std::string());
    }
    run.workEnd.Clear();
    run.workEnd.SetComment(comment);
    if (run.updating) UpdatePass(run);

    if (!options_.filesList.empty()) {
      if (observer_->OnStartZipInfo(static_cast<int>(options_.filesList.size()), run.totalBytes) ==
          JobStart::Cancel)
        throw CanceledError(kMsgCancelZip);
    }
    StartPipeline(run);
    const size_t count = options_.filesList.size();
    for (size_t i = 0; i < count; ++i) {
      run.pipelineIndex = i;
      auto record = std::make_unique<ZipEntry>();
      if (AddMember(run, options_.filesList[i], record)) Accept(run, std::move(record), true);
    }
    run.pipeline.reset();

    ZipStream& out = *run.out;
    run.workEnd.centralOffset = out.Position();
    run.workEnd.centralStartDisk = 0;
    for (int i = 0; i < run.positionList->Count(); ++i)
      if (!run.positionList->Item(i)->WriteCentralHeader(out)) throw NotEnoughRoomError(kMsgNotEnoughRoom);
    run.workEnd.centralSize = out.Position() - run.workEnd.centralOffset;
    run.workEnd.thisDiskNumber = 0;
    run.workEnd.entriesThisDisk = run.workEnd.totalEntries = static_cast<uint64_t>(run.positionList->Count());
    if (!run.workEnd.Write(out)) throw NotEnoughRoomError(kMsgNotEnoughRoom);
    const uint64_t finalSize = out.Position();

    // Bytes still buffered count as archive data: a failure to write them is a full disk too.
    const bool closed = run.out->Close();
    run.out.reset();
    if (!closed) throw NotEnoughRoomError(kMsgNotEnoughRoom);
    // A member that fell back to stored data may have left longer bytes behind the end.
    std::error_code ec;
    const fs::path output = platform::FsPath(run.outputName);
    if (fs::exists(output, ec) && fs::file_size(output, ec) > finalSize && !ec)
      fs::resize_file(output, finalSize, ec);
    if (ec) throw NotEnoughRoomError(kMsgNotEnoughRoom);
  } catch (...) {
    run.pipeline.reset();
    run.out.reset();
    std::error_code ec;
    if (created) fs::remove(platform::FsPath(run.outputName), ec);
    throw;
  }

  if (run.updating) {
    archive_.CloseArchiveStream();
    archive_.ClearDirectory();
    try {
      PutInPlace(run.outputName);
    } catch (...) {
      std::error_code ec;
      fs::remove(platform::FsPath(run.outputName), ec);
      throw;
    }
  }
  archive_.Adopt(std::move(run.positionList), run.workEnd);
}

bool WriteJob::AddMember(State& run, const std::string& entry, std::unique_ptr<ZipEntry>& record) {
  ZipEntry& r = *record;
  run.fileBytesRead = 0;
  run.fileSize = 0;
  const bool isDir = !entry.empty() && entry.back() == kPathDelim;
  std::unique_ptr<ZipStream> in;
  std::unique_ptr<PreparedMember> prepared;
  FileStream* streamed = nullptr;  // the file read as the member is written, and its state when opened
  platform::FileIdentity before;
  bool isLink = false;
  const auto listed = run.listed.find(entry);
  if (isDir) {
    const platform::FileStat st =
        listed != run.listed.end() ? listed->second : platform::StatFile(ExcludeTrailingDelim(entry));
    if (st.exists)
      TakeFileMetadata(r, st);
    else
      r.dateTime = platform::DosDateTimeNow();
    r.uncompressedSize = r.compressedSize = 0;
    r.compressionMethod = kMethodStored;
    r.internalAttributes = 0;
    r.crc32 = 0;
  } else {
    // The status the list was made with: the file is not looked at again before it is opened. Only
    // the file the list was made of is stored: one replaced since (by a link, a pipe, another file)
    // is reported as unreadable, never read in its place.
    platform::FileStat st =
        listed != run.listed.end() ? listed->second : platform::StatFile(entry, options_.storeLinks);
    isLink = options_.storeLinks && st.isSymlink && st.exists;
    TakeFileMetadata(r, st);
    if (isLink) {
      std::string linkText;
      if (!platform::StatFile(entry, true).identity.SameFile(st.identity) ||
          !platform::ReadSymlink(entry, linkText)) {
        observer_->OnSkippingFile(SkipReason::FileOpenError, entry, -1);
        return false;
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
      if (!special && run.pipeline) prepared = run.pipeline->Take(run.pipelineIndex);
      if (!prepared) {
        auto file = std::make_unique<FileStream>();
        if (!special && options_.beforeSourceRead) options_.beforeSourceRead(entry);
        if (special || !file->OpenSource(entry, !options_.storeLinks, before) ||
            !before.SameFile(st.identity)) {
          observer_->OnSkippingFile(SkipReason::FileOpenError, entry, -1);
          return false;
        }
        streamed = file.get();
        in = std::move(file);
      }
    }
    run.fileSize = static_cast<int64_t>(st.size);
    r.uncompressedSize = st.size;
    r.localZip64 = st.size >= options_.sizes.localZip64From;
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
  ZipStream& out = *run.out;
  r.relativeOffset = out.Position();
  r.internalAttributes = isDir ? 0 : 2;  // decided by the compressor
  r.diskNumberStart = 0;

  if (run.names.count(NameKey(r.FullName())) != 0) {
    observer_->OnSkippingFile(SkipReason::NoOverwrite, entry, -1);
    run.totalBytes -= run.fileSize;
    return false;
  }
  if (!isDir) run.member.PrepareHeader(r);
  const bool store =
      isLink || options_.packLevel <= 0 || MatchesPatternList(options_.noCompressList, r.FileName());
  // Prepared data lets the local header be written once, complete.
  if (prepared) run.member.DescribePrepared(*prepared, r, store, entry);
  if (!r.WriteLocalHeader(out)) throw NotEnoughRoomError(kMsgNotEnoughRoom);
  if (isDir) {
    observer_->OnEndZip(entry, 0, 0, 0);
    return true;
  }
  bool changed = false;
  if (prepared) {
    run.member.WritePrepared(*prepared, out, r);
    changed = prepared->changed;
  } else {
    run.member.WriteFileData(*in, out, r, store, entry);
    // A streamed file is not read again: too large to hold, and its member is already written.
    platform::FileIdentity after;
    changed = streamed && (!streamed->Identity(after) || !after.SameState(before));
  }
  in.reset();
  if (changed) observer_->OnFileChanged(entry);
  observer_->OnEndZip(entry, r.uncompressedSize, r.compressedSize, static_cast<int64_t>(out.Position()));
  return true;
}

void WriteJob::StartPipeline(State& run) {
  std::vector<MemberPipeline::Job> jobs(options_.filesList.size());
  for (size_t i = 0; i < options_.filesList.size(); ++i) {
    const std::string& entry = options_.filesList[i];
    if (entry.empty() || entry.back() == kPathDelim) continue;
    jobs[i].path = entry;
    jobs[i].store =
        options_.packLevel <= 0 || MatchesPatternList(options_.noCompressList, ExtractNamePart(entry));
    jobs[i].links = options_.storeLinks;
    if (const auto listed = run.listed.find(entry); listed != run.listed.end())
      jobs[i].listed = listed->second.identity;
  }
  run.pipeline = std::make_unique<MemberPipeline>(
      std::move(jobs), options_.packLevel, MemberPipeline::WorkerCount(options_.threads),
      options_.sizes.wholeMember, run.member.Seal(), options_.beforeSourceRead);
}

void WriteJob::Accept(State& run, std::unique_ptr<ZipEntry> record, bool counted) {
  run.names.insert(NameKey(record->FullName()));
  run.positionList->Add(std::move(record));
  if (counted) ++run.addedCount;
  run.workEnd.entriesThisDisk = run.workEnd.totalEntries = static_cast<uint64_t>(run.positionList->Count());
}

void WriteJob::OnBlockRead(size_t bytes) {
  if (!run_) return;
  run_->fileBytesRead += static_cast<int64_t>(bytes);
  run_->doneBytes += static_cast<int64_t>(bytes);
  observer_->OnFilePercentDone(Percentage(run_->fileBytesRead, run_->fileSize));
  observer_->OnTotalPercentDone(Percentage(run_->doneBytes, run_->totalBytes));
}

void WriteJob::AfterWrite() {
  archive_.CheckCancel();
}

}  // namespace brisko::zip
