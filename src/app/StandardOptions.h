// --help and --version, answered alike by every program before it starts any work.
#pragma once

#include <cstdio>
#include <cstring>

#include "BriskoVersion.h"

namespace brisko::app {

enum class StandardOption { None, Help, Version };

// Looks only at the first argument, so a file named "--help" further on stays an operand.
inline StandardOption FindStandardOption(int argc, char** argv) {
  if (argc < 2) return StandardOption::None;
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) return StandardOption::Help;
  if (std::strcmp(argv[1], "--version") == 0) return StandardOption::Version;
  return StandardOption::None;
}

inline void PrintVersion(const char* program) {
  std::printf("%s %s\n", program, kBriskoVersion);
}

}  // namespace brisko::app
