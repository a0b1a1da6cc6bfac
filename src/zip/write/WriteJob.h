// WriteJob: writes ZIP archives from a list of files and wildcard entries, or updates an existing
// archive through a temporary file. The archive it writes is an ArchiveDirectory the job holds.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "zip/crypto/CryptoPrimitives.h"
#include "zip/read/ArchiveDirectory.h"
#include "zip/write/MemberWriter.h"
#include "zip/write/WriteObserver.h"
#include "zip/write/WriterSizes.h"

namespace brisko::zip {

// How files meet members of an existing archive.
enum class AddAction { Update = 0, Replace = 1, Freshen = 2 };

struct WriteOptions {
  // The files to add: paths, folders (trailing separator) and wildcard entries ("|" in front: not
  // recursed, ">" in front: recursed). Emptied by every run.
  std::vector<std::string> filesList;
  // Folder that relative entries and wildcards without a folder are taken from, and that stored
  // relative paths start below.
  std::string rootDir;
  int packLevel = 6;  // 0 stores every member; 1..9 is the deflate level
  // Threads that read and deflate members ahead of the one writing the archive; 0 = one per core.
  // The archive is the same for any count.
  int threads = 0;
  // What is read whole, the chunks of larger files, where 64-bit sizes start (tests shrink them).
  WriterSizes sizes;
  // Members are encrypted with this cipher when password is not empty.
  std::string password;
  MemberEncryption encryption = MemberEncryption::Traditional;
  bool recurse = false;
  // Stored names keep the files' folders; relativePaths keeps them below rootDir (and implies
  // storePaths).
  bool storePaths = false;
  bool relativePaths = false;
  AddAction zipAction = AddAction::Update;
  // Folder of the temporary file an update writes; empty or missing = the system's.
  std::string tempPath;
  std::vector<std::string> excludeList;
  std::vector<std::string> noCompressList;
  bool addDirEntriesOnRecurse = false;
  // Symbolic links are stored as links (their text as the data, the link type in the Unix mode)
  // instead of being followed; a link to a folder is never walked either way.
  bool storeLinks = false;
  // A new archive is created readable by its owner only (POSIX mode 0600).
  bool privateOutput = false;
  // Creates the output stream on a path instead of a file (tests inject failing streams here).
  StreamOpener* outputOpener = nullptr;
  // Decides from the path and the status the walk read (a link kept as a link: its own) whether a file
  // or folder goes into the archive; one it refuses is never opened, read or looked at again. Null
  // takes all.
  std::function<bool(const std::string& path, const platform::FileStat& status)> select;
  // Called with a file's path before each time it is opened to be read, from the worker threads too
  // (tests swap or change the file there).
  std::function<void(const std::string& path)> beforeSourceRead;
  // Replaces the random bytes of encryption headers and AES salts (tests); null = the system's. Called
  // from the worker threads too.
  crypto::RandomSource* randomSource = nullptr;
};

class WriteJob : private MemberWriterListener {
 public:
  // A null observer takes every default; the observer must outlive the job.
  explicit WriteJob(WriteOptions options = {}, WriteObserver* observer = nullptr);
  ~WriteJob() override;
  WriteJob(const WriteJob&) = delete;
  WriteJob& operator=(const WriteJob&) = delete;

  WriteOptions& Options() { return options_; }
  const WriteOptions& Options() const { return options_; }
  // The archive written: its name, comment and, after a run, its members.
  ArchiveDirectory& Archive() { return archive_; }
  const ArchiveDirectory& Archive() const { return archive_; }

  // A comment no run has stored yet goes into the current archive first. Only an existing archive is
  // rewritten for it: writing the comment alone into a new file would leave a bogus empty archive.
  void SetZipName(const std::string& name);
  void SetZipComment(const std::string& comment) { archive_.SetZipComment(comment); }

  // Expands filesList, writes (or, when the archive exists, rewrites through a temporary file) the
  // archive and returns the number of members added; raises OnZipComplete on success. On any
  // exception the partial output is deleted, an archive being updated stays as it was, and the
  // exception passes on. filesList is empty afterwards.
  int Run();

  // The member name (native separators) a file path is stored under with the current options.
  std::string StoredNameOf(const std::string& path) const;
  // Whether a path matches a pattern list the way excludeList is matched (patterns with a separator
  // against the whole path, others against the name part; case-insensitive).
  static bool MatchesPatternList(const std::vector<std::string>& patterns, const std::string& path);

 private:
  struct State;  // working state of one run

  int ZipSequence();
  void ExpandFileList(State& run);
  void ExpandWildcard(State& run, const std::string& entry);
  // Lists path with the status it was found with, unless select refuses it; false then.
  bool List(State& run, const std::string& path, const platform::FileStat& status);
  bool InArchive(State& run, const std::string& path) const;
  void WriteArchive(State& run);
  void UpdatePass(State& run);
  void CopyMember(State& run, const ZipEntry& member, ZipEntry& copy);
  bool AddMember(State& run, const std::string& entry, std::unique_ptr<ZipEntry>& record);
  void Accept(State& run, std::unique_ptr<ZipEntry> record, bool counted);
  void PutInPlace(const std::string& tempName);
  void StartPipeline(State& run);
  void AfterWrite() override;
  void OnBlockRead(size_t bytes) override;

  WriteOptions options_;
  WriteObserver* observer_;
  ArchiveDirectory archive_;
  State* run_ = nullptr;
};

}  // namespace brisko::zip
