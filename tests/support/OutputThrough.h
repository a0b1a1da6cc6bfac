// The output seam of the engine's jobs for tests: each stream a job writes comes from a function.
// Header only: the support library does not link the engine, the suites that include this do.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "zip/io/FileStream.h"
#include "zip/io/ZipStream.h"

namespace brisko::test {

// A new Stream (built from args) opened on path; null when it cannot be opened.
template <class Stream, class... Args>
std::unique_ptr<zip::ZipStream> OpenAs(const std::string& path, zip::FileMode mode, Args&&... args) {
  auto stream = std::make_unique<Stream>(std::forward<Args>(args)...);
  if (!stream->Open(path, mode)) return nullptr;
  return stream;
}

// Opens every output stream through `open`; the default creates a new file.
struct OutputThrough : zip::StreamOpener {
  using Function = std::function<std::unique_ptr<zip::ZipStream>(const std::string&)>;
  static std::unique_ptr<zip::ZipStream> NewFile(const std::string& path) {
    return OpenAs<zip::FileStream>(path, zip::FileMode::CreateNew);
  }
  explicit OutputThrough(Function open = NewFile) : open(std::move(open)) {}
  std::unique_ptr<zip::ZipStream> Open(const std::string& path) override { return open(path); }
  Function open;
};

}  // namespace brisko::test
