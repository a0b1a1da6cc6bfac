// ExtractJob: the options of a run and its observer in place on the archive.
#include "zip/extract/ExtractJob.h"

#include <utility>

#include "platform/Platform.h"
#include "zip/extract/ZipExtractRun.h"

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

}  // namespace brisko::zip
