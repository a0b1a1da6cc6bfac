// Output file of one extracted member.
#include "zip/extract/FileSink.h"

#include "platform/FileIo.h"
#include "zip/format/ZipErrors.h"

namespace brisko::zip {

FileSink::FileSink(const std::string& path) {
  // "x": fail when the name exists, so a file planted meanwhile is never written through.
  file_ = platform::OpenFile(path, "wbx");
  // The decoders hand over chunks of 64 KB and more: buffering them again would only copy.
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
}

FileSink::~FileSink() {
  if (file_ != nullptr) std::fclose(file_);
}

void FileSink::Write(const uint8_t* data, size_t size) {
  if (std::fwrite(data, 1, size, file_) != size) throw ExtractWriteError(kMsgCantWriteUCF);
}

void FileSink::Close() {
  if (file_ == nullptr) return;
  bool ok = std::fflush(file_) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (!ok) throw ExtractWriteError(kMsgCantWriteUCF);
}

}  // namespace brisko::zip
