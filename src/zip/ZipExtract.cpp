// TZipReader::Extract: runs one extraction (see ZipExtractRun).
#include "zip/ZipExtractRun.h"
#include "zip/ZipReader.h"

namespace brisko::zip {

void TZipReader::Extract() { ZipExtractRun(*this).Run(); }

}  // namespace brisko::zip
