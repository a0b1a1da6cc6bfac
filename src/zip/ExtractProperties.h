// Published properties and events of the extraction run, mixed into the archive reader.
#pragma once

namespace brisko::zip {

struct TZipExtractProperties {};

}  // namespace brisko::zip
