// Whole-file reads and writes for tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FsPath.h"

namespace brisko::test {

// Paths between UTF-8 text and std::filesystem, the same on every platform.
using platform::FsPath;
using platform::Utf8Of;                                      // native separators
std::string GenericUtf8(const std::filesystem::path& path);  // '/' separators

// The content of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
std::vector<uint8_t> ReadBytes(const std::string& path);

// Writes the whole file, making its parent folders first.
void WriteFile(const std::string& path, std::string_view content);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Files (not folders) below dir, as sorted relative paths with '/'.
std::vector<std::string> FilesBelow(const std::string& dir);

// Gives the owner back full rights over everything below path, so that it can be removed.
void MakeTreeWritable(const std::string& path);

// n bytes of noise from a fixed seed, and n bytes of text that compresses well.
std::string RandomText(size_t n, unsigned seed);
std::string TextOf(size_t n);

}  // namespace brisko::test
