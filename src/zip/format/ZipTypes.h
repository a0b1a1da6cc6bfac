// Enumerations shared by the reader, the extractor and the writer, with their fixed ordinals.
#pragma once

namespace brisko::zip {

// Order of the reader's sorted view.
enum class EntryOrder {
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
enum class IncompleteArchiveRule { AssumeMulti = 0, AssumeBad = 1, AssumeNotAZip = 2 };

// Archives spread over several removable disks (Span) or numbered files (Blocks).
enum class SplitMode { None = 0, Span = 1, Blocks = 2 };

// What extraction does with a target file that exists.
enum class OverwriteRule { Prompt = 0, Always = 1, Never = 2, IfNewer = 3, IfOlder = 4 };

// Why a file or member was skipped (OnSkippingFile).
enum class SkipReason {
  BadPassword = 0,    // extraction: the password was not accepted
  NoOverwrite = 1,    // extraction: existing file kept; writer: stored name already present
  FileOpenError = 2,  // writer: the file cannot be opened
  CreateError = 3,    // extraction: the target cannot be created
  UnknownMethod = 4,  // extraction: the member's compression method is not supported
};

}  // namespace brisko::zip
