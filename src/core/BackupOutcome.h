// How a backup run ended, for callers that need more than the messages it showed.
#pragma once

namespace brisko::core {

enum class BackupOutcome {
  NotRun,          // empty project list, or the confirmation was answered No
  CheckFailed,     // a check of ValidateProject failed (its error box was shown)
  Interrupted,     // the archive existed and might not be overwritten, or the user stopped the run;
                   // logged "Interrupt"
  Succeeded,       // archive written, logged "Succeeds", rotated
  Incomplete,      // archive written but some files were not stored; logged "Fails", kept, not rotated
  NothingToStore,  // no file to store: no archive written, nothing rotated; logged "Succeeds"
  Failed,          // a source was missing, the writer or the bookkeeping failed: shown, logged "Fails"
};

}  // namespace brisko::core
