// The sizes that bound the writer's memory and decide how each file member is written. Tests shrink
// them to reach the paths of large files with small ones.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zip/write/PreparedMember.h"

namespace brisko::zip {

struct WriterSizes {
  // Files up to this size are read whole (also ahead of the writer) and deflated in one call.
  uint64_t wholeMember = kWholeMemberLimit;
  // Larger files are read and deflated in chunks of this size, a few at a time on all threads.
  size_t chunk = size_t{1} << 20;
  // Files this large get room for 64-bit sizes in their local header before their data is written:
  // the header is rewritten in place afterwards and cannot grow then. The margin covers a file that
  // grows a little while it is read.
  uint64_t localZip64From = 0xFFFFFFFFu - (64u << 20);
};

}  // namespace brisko::zip
