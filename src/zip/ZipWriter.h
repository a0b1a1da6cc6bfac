// ZipWriter: writes ZIP archives from a list of files and wildcard entries; a subclass of the reader.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "zip/MemberWriter.h"
#include "zip/ZipReader.h"

namespace brisko::zip {

// How files meet members of an existing archive.
enum class AddAction { Update = 0, Replace = 1, Freshen = 2 };

// OnUpdate: a member is about to be replaced by a newer file (0), or kept as it is (1).
enum class UpdateAction { Replacing = 0, Keeping = 1 };

// Settings for split archives; this system only ever uses None.
struct SplitSettings {
  SplitMode MultiMode = SplitMode::None;
  int64_t BlockSize = 1457600;
  int64_t FirstBlockSize = 1457600;
  int64_t SaveOnFirstDisk = 0;
  bool SaveZipInfoOnFirstDisk = false;
  bool CheckDiskLabels = true;
  bool WriteDiskLabels = true;
};

class ZipWriter : public ZipReader {
 public:
  ZipWriter();
  ~ZipWriter() override;

  // ---- Published properties ----
  int PackLevel = 6;  // 0 stores every member; 1..9 is the deflate level
  // Threads that read and deflate members ahead of the one writing the archive; 0 = one per core.
  // The archive is the same for any count.
  int Threads = 0;
  // What is read whole, the chunks of larger files, where 64-bit sizes start (tests shrink them).
  WriterSizes Sizes;
  // The cipher used when Password is set.
  MemberEncryption Encryption = MemberEncryption::Traditional;
  bool Recurse = false;
  bool StorePaths() const { return fStorePaths; }
  // false also clears StoreVolumes and RelativePaths.
  void SetStorePaths(bool value);
  bool RelativePaths() const { return fRelativePaths; }
  // true also sets StorePaths and Recurse.
  void SetRelativePaths(bool value);
  bool StoreVolumes() const { return fStoreVolumes; }
  // true also sets StorePaths.
  void SetStoreVolumes(bool value);
  AddAction ZipAction = AddAction::Update;
  bool Dispose = false;
  bool Store83Names = false;  // short names exist only on Windows; elsewhere this changes nothing
  std::string TempPath;
  bool SkipIfArchiveBitNotSet = false;
  bool ResetArchiveBitOnZip = false;
  std::vector<std::string> ExcludeList;
  std::vector<std::string> NoCompressList;
  bool AddDirEntriesOnRecurse = false;
  // Symbolic links are stored as links (their text as the data, the link type in the Unix mode)
  // instead of being followed; a link to a folder is never walked either way.
  bool StoreLinks = false;
  SplitSettings MultiZipInfo;

  // Flushes a pending comment into the current archive before taking another name.
  void SetZipName(const std::string& name) override;

  // ---- Events ----
  std::function<void(ZipWriter& Sender, int NumFiles, int64_t TotalBytes, EndOfCentralDir& EndCentralRecord,
                     bool& StopNow)>
      OnStartZipInfo;
  std::function<void(ZipWriter& Sender, const std::string& FName, ZipEntry& ZipHeader, bool& Skip)>
      OnStartZip;
  std::function<void(ZipWriter& Sender, const std::string& FName, int64_t UncompressedSize,
                     int64_t CompressedSize, int64_t CurrentZipSize)>
      OnEndZip;
  // A named file, or the folder of a wildcard entry (with a trailing separator), does not exist.
  std::function<void(ZipWriter& Sender, const std::string& FName)> OnNoSuchFile;
  // A folder of a wildcard walk (trailing separator) could not be listed: its contents are missing.
  std::function<void(ZipWriter& Sender, const std::string& Folder)> OnUnlistableFolder;
  std::function<void(ZipWriter& Sender, const std::string& FName)> OnRecursingFile;
  std::function<void(ZipWriter& Sender, int FileCount)> OnZipComplete;
  std::function<void(ZipWriter& Sender, UpdateAction UDAction, int FileIndex)> OnUpdate;
  std::function<void(ZipWriter& Sender, const std::string& FName, bool& Skip)> OnDisposeFile;

  // ---- Test seams ----
  // Creates the output stream on a path; unset = a new file. Tests inject failing streams here.
  std::function<std::unique_ptr<ZipStream>(const std::string& path)> OutputOpener;
  // Replaces the random bytes of encryption headers and AES salts (tests). Called from the worker
  // threads too, so it must be safe to call concurrently.
  ZipCrypto::RandomSource RandomSource;

  // ---- Operations ----
  // Expands FilesList, writes (or, when the archive exists, rewrites through a temporary file) the
  // archive and returns the number of members added; raises OnZipComplete on success. On any
  // exception the partial output is deleted, an archive being updated stays as it was, and the
  // exception passes on. FilesList is empty afterwards.
  int Zip();

  // The member name (native separators) a file path is stored under with the current settings.
  std::string StoredNameOf(const std::string& path) const;
  // Whether a path matches a pattern list the way ExcludeList is matched (patterns with a separator
  // against the whole path, others against the name part; case-insensitive).
  static bool MatchesPatternList(const std::vector<std::string>& patterns, const std::string& path);

 protected:
  SplitMode GetMultiMode() const override { return MultiZipInfo.MultiMode; }
  void SetMultiMode(SplitMode mode) override { MultiZipInfo.MultiMode = mode; }
  bool GetCheckDiskLabels() const override { return MultiZipInfo.CheckDiskLabels; }
  void SetCheckDiskLabels(bool check) override { MultiZipInfo.CheckDiskLabels = check; }

 private:
  struct Run;  // working state of one Zip call

  void ExpandFileList(Run& run);
  void ExpandWildcard(Run& run, const std::string& entry);
  bool InArchive(Run& run, const std::string& path) const;
  int ZipSequence();
  void WriteArchive(Run& run);
  void UpdatePass(Run& run);
  void CopyMember(Run& run, const ZipEntry& member, ZipEntry& copy);
  bool AddMember(Run& run, const std::string& entry, std::unique_ptr<ZipEntry>& record);
  void Accept(Run& run, std::unique_ptr<ZipEntry> record, bool counted);
  void PutInPlace(const std::string& tempName);
  void StartPipeline(Run& run);
  void AfterWrite();
  void OnBlockRead(size_t bytes);

  bool fStorePaths = false;
  bool fRelativePaths = false;
  bool fStoreVolumes = false;
  Run* fRun = nullptr;
};

}  // namespace brisko::zip
