// ZipReader::Extract: runs one extraction (see ZipExtractRun).
#include "zip/ZipExtractRun.h"
#include "zip/ZipReader.h"

namespace brisko::zip {

int ZipReader::Extract() {
  return ZipExtractRun(*this).Run();
}

}  // namespace brisko::zip
