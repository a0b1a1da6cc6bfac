// Enumerations shared by the reader, the extractor and the writer, with their fixed ordinals.
#pragma once

namespace brisko::zip {

// Order of the reader's sorted view.
enum class TZipSortMode {
  ByName = 0,
  ByFileName = 1,
  ByDirectoryName = 2,
  ByDate = 3,
  ByCompressedSize = 4,
  ByUnCompressedSize = 5,
  ByRate = 6,
  ByNone = 7,
};

// What to assume when an archive has no end record.
enum class TIncompleteZipMode { izAssumeMulti = 0, izAssumeBad = 1, izAssumeNotAZip = 2 };

// Archives spread over several removable disks (mmSpan) or numbered files (mmBlocks).
enum class TMultiMode { mmNone = 0, mmSpan = 1, mmBlocks = 2 };

// What extraction does with a target file that exists.
enum class TUZOverwriteMode { Prompt = 0, Always = 1, Never = 2, ifNewer = 3, ifOlder = 4 };

// Why a file or member was skipped (OnSkippingFile).
enum class TSkipReason {
  srBadPassword = 0,    // extraction: the password was not accepted
  srNoOverwrite = 1,    // extraction: existing file kept; writer: stored name already present
  srFileOpenError = 2,  // writer: the file cannot be opened
  srCreateError = 3,    // extraction: the target cannot be created
};

// Buttons of a host message box; the host answers true for OK or Yes.
enum class TMessageButtons { mbOK, mbOKCancel, mbYesNo };

}  // namespace brisko::zip
