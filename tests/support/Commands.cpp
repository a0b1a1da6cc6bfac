#include "support/Commands.h"

#include <cstdio>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace brisko::test {

CommandResult RunShell(const std::string& command) {
  CommandResult result;
#ifdef _WIN32
  result.out = "no POSIX shell to run: " + command;
#else
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return result;
}

int Shell(const std::string& command, std::string* out) {
  CommandResult result = RunShell(command + " 2>&1");
  if (out) *out = std::move(result.out);
  return result.exitCode;
}

std::string ShellQuote(std::string_view s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool HaveTool(const std::string& name) {
  return Shell("command -v " + ShellQuote(name) + " >/dev/null") == 0;
}

std::string ProgramPath(const std::string& name) {
  return std::string(BRISKO_BINARY_DIR) + "/src/app/" + name + (platform::kWindows ? ".exe" : "");
}

#ifdef _WIN32
int PythonZipCheck(const std::string&, const std::string&, const std::string&, std::string* out) {
  return Shell("python3", out);
}
#else
int PythonZipCheck(const std::string& archive, const std::string& password, const std::string& sourceRoot,
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
  return Shell(std::string(python) + " -c " + ShellQuote(kScript) + " " + ShellQuote(archive) + " " +
                   ShellQuote(password) + " " + ShellQuote(sourceRoot),
               out);
}
#endif

}  // namespace brisko::test
