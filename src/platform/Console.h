// The terminal the command-line programs write to.
#pragma once

namespace brisko::platform {

// Makes a Windows console show the programs' UTF-8 output as the names it holds (its code page is
// the system's ANSI one until told otherwise), and gives the console its own back at exit. Output
// to a file or pipe stays UTF-8 bytes either way. Nothing to do on POSIX terminals.
void UseUtf8Console();

}  // namespace brisko::platform
