// A file replaced in one step: readers see the old content or the whole new one, never a part.
#pragma once

#include <string>
#include <string_view>

namespace brisko::platform {

// The new content goes to a temporary file in the target's folder; Commit flushes it to the disk and
// renames it over the target. Until then, and whenever a step fails, the target keeps its old content.
// A temporary that is not committed is removed when the object goes.
class AtomicFile {
 public:
  explicit AtomicFile(std::string target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary: new, empty, readable by the owner only. False when the folder refuses it.
  bool Open();
  // Appends to the temporary; false when the bytes could not all be written.
  bool Write(std::string_view bytes);
  // Takes over a temporary that a writer created itself in the target's folder, to be committed or
  // discarded like one made by Open. Closes the handle Open made; adopting TempPath() itself keeps that
  // file, so a writer may then fill or replace it by name.
  void Adopt(std::string tempPath);
  // The temporary's path, for writers that fill it by name between Open and Commit (after closing
  // their own handle); empty before Open.
  const std::string& TempPath() const { return temp_; }

  // Syncs the temporary, gives it `mode` (POSIX permission bits; negative keeps what it has: owner-only
  // for one made by Open), renames it
  // over the target and syncs the folder. False when a step before the rename fails: the temporary is
  // then removed and the target unchanged.
  bool Commit(int mode = -1);
  // Removes the temporary; the target stays as it was.
  void Discard();

 private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
};

// Writes `content` to `path` through an AtomicFile; false when the file keeps its old content.
bool WriteFileAtomically(const std::string& path, std::string_view content, int mode = -1);

}  // namespace brisko::platform
