// The autostart entry as an XDG desktop entry file.
#include "platform/Autostart.h"

#ifndef _WIN32

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/AtomicFile.h"
#include "platform/Platform.h"

namespace brisko::platform {
namespace {

// Creates every missing folder of path; true when it exists afterwards.
bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}

// Exec= arguments are quoted when they hold blanks or reserved characters; inside quotes
// the characters " ` $ \ are escaped with a backslash.
std::string QuoteExec(const std::string& path) {
  bool needs = false;
  for (char c : path) {
    if (c == ' ' || c == '\t' || c == '"' || c == '\'' || c == '\\' || c == '>' || c == '<' || c == '~' ||
        c == '|' || c == '&' || c == ';' || c == '$' || c == '*' || c == '?' || c == '#' || c == '(' ||
        c == ')' || c == '`')
      needs = true;
  }
  std::string out;
  for (char c : path) {
    if (needs && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    if (c == '%') out += '%';  // field codes start with %
    out += c;
  }
  if (!needs) return out;
  std::string quoted;
  quoted.reserve(out.size() + 2);
  quoted.push_back('"');
  quoted.append(out);
  quoted.push_back('"');
  return quoted;
}

std::string UnquoteExec(const std::string& text) {
  std::string out;
  if (!text.empty() && text.front() == '"') {
    for (size_t i = 1; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] == '\\' && i + 1 < text.size()) ++i;
      out += text[i];
    }
  } else {
    out = text;
  }
  std::string plain;
  for (size_t i = 0; i < out.size(); ++i) {
    plain += out[i];
    if (out[i] == '%' && i + 1 < out.size() && out[i + 1] == '%') ++i;
  }
  return plain;
}

}  // namespace

Autostart::Autostart() : folder_(DefaultFolder()) {}

Autostart::Autostart(std::string folder) : folder_(std::move(folder)) {}

std::string Autostart::DefaultFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/autostart";
  return HomeDir() + "/.config/autostart";
}

std::string Autostart::EntryPath() const {
  return folder_ + "/" + kAutostartName + ".desktop";
}

bool Autostart::Set(const std::string& executablePath) const {
  if (!MakeFolders(folder_)) return false;
  // Replaced in one step, so a failed write never leaves half an entry behind.
  return WriteFileAtomically(EntryPath(),
                             "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=" +
                                 std::string(kAutostartName) +
                                 "\n"
                                 "Exec=" +
                                 QuoteExec(executablePath) +
                                 "\n"
                                 "Terminal=false\n"
                                 "X-GNOME-Autostart-enabled=true\n",
                             0644);
}

bool Autostart::Remove() const {
  const std::string target = EntryPath();
  if (std::remove(target.c_str()) == 0) return true;
  return errno == ENOENT || errno == ENOTDIR;
}

std::string Autostart::StoredExecutable() const {
  std::ifstream in(EntryPath(), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("Exec=", 0) == 0) return UnquoteExec(line.substr(5));
  }
  return {};
}

}  // namespace brisko::platform
#endif
