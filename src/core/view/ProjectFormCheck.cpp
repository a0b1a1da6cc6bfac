// The form's four checks, with the messages of the backup run's.
#include "core/view/ProjectFormCheck.h"

#include "core/BackupRun.h"
#include "core/TextUtil.h"

namespace brisko::core {

std::optional<std::string> FirstFailedCheck(const ProjectForm& form) {
  if (TrimBlanks(form.fileName).empty()) return kMsgNoFileName;
  if (TrimBlanks(form.prefix).empty()) return kMsgNoPrefix;
  if (form.usePassword && TrimBlanks(form.password) != TrimBlanks(form.passwordConfirm))
    return kMsgPasswordMismatch;
  if (form.backupList.empty()) return kMsgNoFiles;
  return std::nullopt;
}

}  // namespace brisko::core
