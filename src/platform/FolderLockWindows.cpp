// Windows has no folder lock to take: replacing a settings file another process holds open fails, and
// the writer reports that.
#include "platform/FolderLock.h"

#ifdef _WIN32
namespace brisko::platform {

FolderLock::FolderLock(const std::string&) {}
FolderLock::~FolderLock() = default;

}  // namespace brisko::platform
#endif
