// Working state of one ZipWriter::Zip call, shared by the writer's source files.
#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "zip/MemberPipeline.h"
#include "zip/MemberWriter.h"
#include "zip/SortedEntries.h"
#include "zip/ZipWriter.h"

namespace brisko::zip {

struct ZipWriter::Run {
  int64_t TotalBytes = 0;     // sizes of all files gathered for adding
  int64_t DoneBytes = 0;      // bytes read from member files so far
  int64_t FileBytesRead = 0;  // bytes read from the current file
  int64_t FileSize = 0;       // size of the current file when it was opened
  // Stored names (NameKey form, for the duplicate check) and members in archive order (central
  // directory, owning the records).
  std::unordered_set<std::string> Names;
  std::unique_ptr<SortedEntries> PositionList = std::make_unique<SortedEntries>(EntryOrder::ByNone, false);
  EndOfCentralDir WorkEnd;
  std::unordered_set<std::string> ArchiveNames;  // keys of the existing members (freshen), made on first use
  bool Updating = false;
  std::string OutputName;
  std::unique_ptr<ZipStream> Out;
  int AddedCount = 0;
  std::vector<std::string> AddedFiles;  // sources of added members, for Dispose
  MemberWriter Member;
  // Prepares the members of FilesList ahead of the writer; null while the update pass runs.
  std::unique_ptr<MemberPipeline> Pipeline;
  size_t PipelineIndex = 0;  // the FilesList index being added
};

}  // namespace brisko::zip
