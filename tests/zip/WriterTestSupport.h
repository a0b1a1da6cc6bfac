// Helpers for the writer tests: a scratch folder per test, file making, and a Python zipfile check.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace brisko::ziptest {

namespace fs = std::filesystem;

class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() /
            ("brisko-b-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(root_);
  }
  std::string P(const std::string& rel) const { return (root_ / rel).string(); }
  std::string Write(const std::string& rel, const std::string& content) {
    fs::create_directories((root_ / rel).parent_path());
    std::ofstream(root_ / rel, std::ios::binary) << content;
    return P(rel);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path root_;
};

inline std::string RandomText(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(gen());
  return s;
}

inline std::string TextOf(size_t n) {
  std::string line = "Backup line with some words, numbers 12345 and repeats.\n";
  std::string s;
  while (s.size() < n) s += line;
  s.resize(n);
  return s;
}

// Runs a shell command; returns its exit status and, when out is given, its standard output.
inline int Shell(const std::string& command, std::string* out = nullptr) {
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  int status = ::pclose(pipe);
  if (out) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Python's zipfile as the reference reader: checks every CRC, compares each file member with
// sourceRoot/name when sourceRoot is given, and prints one line per member:
// name, method, flags, crc, compressed size, size, internal attributes; then "COMMENT <text>".
inline int PythonCheck(const std::string& archive, const std::string& password, const std::string& sourceRoot,
                       std::string* out) {
  static const char* kScript = R"PY(
import sys, zipfile, os
archive, password, root = sys.argv[1], sys.argv[2], sys.argv[3]
with zipfile.ZipFile(archive) as z:
    if password: z.setpassword(password.encode())
    bad = z.testzip()
    if bad is not None:
        print("BAD", bad); sys.exit(1)
    for i in z.infolist():
        print(i.filename, i.compress_type, i.flag_bits, i.CRC, i.compress_size, i.file_size, i.internal_attr, sep="\t")
        if root and not i.is_dir():
            data = z.read(i)
            with open(os.path.join(root, i.filename), "rb") as f:
                if f.read() != data:
                    print("DIFFERS", i.filename); sys.exit(1)
    print("COMMENT", z.comment.decode("latin-1"))
)PY";
  const char* python = ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
  return Shell(std::string(python) + " -c " + Quote(kScript) + " " + Quote(archive) + " " + Quote(password) + " " +
                 Quote(sourceRoot),
             out);
}

}  // namespace brisko::ziptest
