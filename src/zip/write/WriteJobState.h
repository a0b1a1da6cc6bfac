// Working state of one WriteJob::Zip call, shared by the writer's source files.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/Platform.h"
#include "zip/read/SortedEntries.h"
#include "zip/threads/MemberPipeline.h"
#include "zip/write/MemberWriter.h"
#include "zip/write/WriteJob.h"

namespace brisko::zip {

struct WriteJob::State {
  int64_t totalBytes = 0;     // sizes of all files gathered for adding
  int64_t doneBytes = 0;      // bytes read from member files so far
  int64_t fileBytesRead = 0;  // bytes read from the current file
  int64_t fileSize = 0;       // size of the current file when it was opened
  // Stored names (NameKey form, for the duplicate check) and members in archive order (central
  // directory, owning the records).
  std::unordered_set<std::string> names;
  std::unique_ptr<SortedEntries> positionList = std::make_unique<SortedEntries>(EntryOrder::ByNone, false);
  EndOfCentralDir workEnd;
  // The files and folders as the list was made: a file read later must still be the one listed.
  std::unordered_map<std::string, platform::FileStat> listed;
  std::unordered_set<std::string> archiveNames;  // keys of the existing members (freshen), made on first use
  bool updating = false;
  std::string outputName;
  std::unique_ptr<ZipStream> out;
  int addedCount = 0;
  MemberWriter member;
  // Prepares the members of filesList ahead of the writer; null while the update pass runs.
  std::unique_ptr<MemberPipeline> pipeline;
  size_t pipelineIndex = 0;  // the filesList index being added
};

}  // namespace brisko::zip
