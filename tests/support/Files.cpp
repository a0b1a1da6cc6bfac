#include "support/Files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace brisko::test {

namespace fs = std::filesystem;

std::string GenericUtf8(const fs::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(FsPath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  const std::string text = ReadFile(path);
  return std::vector<uint8_t>(text.begin(), text.end());
}

void WriteFile(const std::string& path, std::string_view content) {
  const fs::path p = FsPath(path);
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary | std::ios::trunc)
      .write(content.data(), static_cast<std::streamsize>(content.size()));
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::string> FilesBelow(const std::string& dir) {
  std::vector<std::string> files;
  const fs::path root = FsPath(dir);
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (!e.is_directory()) files.push_back(GenericUtf8(fs::relative(e.path(), root)));
  std::sort(files.begin(), files.end());
  return files;
}

void MakeTreeWritable(const std::string& path) {
  std::error_code ec;
  const fs::path root = FsPath(path);
  fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add | fs::perm_options::nofollow, ec);
}

std::string RandomText(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(gen());
  return s;
}

std::string TextOf(size_t n) {
  const std::string line = "Backup line with some words, numbers 12345 and repeats.\n";
  std::string s;
  while (s.size() < n) s += line;
  s.resize(n);
  return s;
}

}  // namespace brisko::test
