// Writes decoded member data to an open file.
#pragma once

#include <cstdio>
#include <string>

#include "zip/decode/ByteSink.h"

namespace brisko::zip {

class FileSink : public ByteSink {
 public:
  // Creates path exclusively (it must not exist); Ok() tells whether that worked.
  explicit FileSink(const std::string& path);
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  bool Ok() const { return file_ != nullptr; }
  // Throws ExtractWriteError "Cant write uncompressed file" on a short write.
  void Write(const uint8_t* data, size_t size) override;
  // Closes the file. Throws ExtractWriteError when the buffered bytes cannot be written.
  void Close();

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace brisko::zip
