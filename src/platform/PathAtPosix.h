// A path of any length as a folder descriptor and a remainder short enough for the *at calls.
#pragma once

#ifndef _WIN32
#include <string>

namespace brisko::platform {

class PathAt {
 public:
  // Opens the leading folders of a path at or beyond the system's limit, a part shorter than the
  // limit at a time; a shorter path stays relative to the current folder. The path must outlive this.
  explicit PathAt(const std::string& path);
  ~PathAt();
  PathAt(const PathAt&) = delete;
  PathAt& operator=(const PathAt&) = delete;

  // False when a leading folder could not be opened (errno tells why).
  bool Ok() const { return ok_; }
  int Folder() const { return folder_; }
  const char* Rest() const { return rest_; }

 private:
  int folder_;
  const char* rest_;
  bool ok_ = true;
};

}  // namespace brisko::platform
#endif
