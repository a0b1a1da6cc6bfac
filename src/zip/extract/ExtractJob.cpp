// ExtractJob: the options of a run, its observer in place on the archive, and entry tests.
#include "zip/extract/ExtractJob.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/Platform.h"
#include "zip/decode/VectorSink.h"
#include "zip/extract/ZipExtractRun.h"
#include "zip/format/ZipErrors.h"
#include "zip/threads/DecodeAhead.h"

namespace brisko::zip {

namespace {

ExtractObserver& NoObserver() {
  static ExtractObserver none;
  return none;
}

// Puts the job's observer on the archive for the run and gives the archive its own back afterwards.
class ObserverScope {
 public:
  ObserverScope(ArchiveDirectory& archive, ArchiveObserver& observer)
      : archive_(archive), previous_(archive.Observer()) {
    archive_.SetObserver(&observer);
  }
  ~ObserverScope() { archive_.SetObserver(&previous_); }
  ObserverScope(const ObserverScope&) = delete;
  ObserverScope& operator=(const ObserverScope&) = delete;

 private:
  ArchiveDirectory& archive_;
  ArchiveObserver& previous_;
};

}  // namespace

ExtractJob::ExtractJob(ArchiveDirectory& archive, ExtractOptions options, ExtractObserver* observer)
    : archive_(archive), options_(std::move(options)), observer_(observer ? observer : &NoObserver()) {}

int ExtractJob::Run() {
  ObserverScope scope(archive_, *observer_);
  std::string& dest = options_.destDir;
  // One trailing separator goes; the root folder itself stays a separator.
  if (dest.size() > 1 && dest.back() == platform::kPathDelim) dest.pop_back();
  std::string& root = options_.rootDir;
  if (!root.empty() && root.back() != platform::kPathDelim) root.push_back(platform::kPathDelim);
  return ZipExtractRun(archive_, options_, *observer_).Run();
}

EntryCheck ExtractJob::TestEntry(ArchiveDirectory& archive, int index, const std::string& password,
                                 ByteSink* keep, uint64_t sizeCap) {
  return ZipExtractRun::TestEntry(archive, index, password, keep, sizeCap);
}

EntryCheck ExtractJob::ExtractToBuffer(ArchiveDirectory& archive, int index, const std::string& password,
                                       uint64_t sizeCap, std::vector<uint8_t>& out) {
  VectorSink sink;
  EntryCheck check = TestEntry(archive, index, password, &sink, sizeCap);
  out = std::move(sink.bytes);
  return check;
}

std::unique_ptr<DecodeAhead> ExtractJob::StartDecodeAhead(ArchiveDirectory& archive,
                                                          const std::string& password, int first,
                                                          const std::vector<bool>* chosen) {
  // Parts of a split archive are asked for one by one: only the archive itself goes through them.
  if (!archive.DirectoryLoaded() || archive.IsMultiDisk() || !archive.OverlapNote().empty()) return nullptr;
  const int count = archive.EntryCount();
  std::vector<std::optional<ZipEntry>> members(static_cast<size_t>(count));
  int suitable = 0;
  for (int i = std::max(first, 0); i < count; ++i) {
    const ZipEntry& entry = archive.Entry(i);
    if ((chosen && !(*chosen)[static_cast<size_t>(i)]) || !DecodeAhead::Suits(entry)) continue;
    members[static_cast<size_t>(i)] = entry;
    ++suitable;
  }
  if (suitable < 2) return nullptr;  // starting threads would cost more than it saves
  std::vector<std::unique_ptr<ZipStream>> streams;
  for (int i = 0; i < DecodeAhead::WorkerCount(); ++i) {
    auto stream = archive.OpenStreamOn(archive.ZipName());
    if (!stream) break;
    streams.push_back(std::move(stream));
  }
  return std::make_unique<DecodeAhead>(std::move(members), std::move(streams), password, chosen != nullptr);
}

EntryCheck ExtractJob::TestEntryDecodedAhead(ArchiveDirectory& archive, int index,
                                             const std::string& password, DecodeAhead* ahead) {
  const auto decoded = ahead ? ahead->Take(static_cast<size_t>(index), &archive) : nullptr;
  const ZipEntry& entry = archive.Entry(index);
  if (!decoded || (entry.IsEncrypted() && decoded->password != password))
    return TestEntry(archive, index, password);
  archive.CheckCancel();
  EntryCheck check;
  check.storedCrc = entry.crc32;
  check.calcCrc = decoded->crc;
  check.size = entry.uncompressedSize;
  return check;
}

}  // namespace brisko::zip
