// Tells a long-running scheduler when project.ini was edited by someone other than its own runs.
#include "core/ProjectIniWatch.h"

#include <fstream>
#include <iterator>
#include <utility>

#include "core/ProjectStore.h"
#include "core/TextUtil.h"
#include "platform/FsPath.h"

namespace brisko::core {
namespace {

std::string WholeText(const std::string& path) {
  std::ifstream in(platform::FsPath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::string HandEditableText(const std::string& iniPath) {
  std::ifstream in(platform::FsPath(iniPath), std::ios::binary);
  std::string text, line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a rewrite may change line ends
    const size_t eq = line.find('=');
    if (eq != std::string::npos) {
      const std::string key = TrimBlanks(line.substr(0, eq));
      if (key == "Value" || key == "NewDateTime" || key == kNewDateTimeUtcKey) continue;
    }
    text += line + '\n';
  }
  return text;
}

ProjectIniWatch::ProjectIniWatch(std::string iniPath)
    : iniPath_(std::move(iniPath)), seenText_(WholeText(iniPath_)) {}

bool ProjectIniWatch::TakeChange() {
  std::string now = WholeText(iniPath_);
  if (now == seenText_) return false;
  seenText_ = std::move(now);
  return true;
}

void ProjectIniWatch::BeforeRuns() {
  textBeforeRuns_ = HandEditableText(iniPath_);
}

void ProjectIniWatch::AfterRuns() {
  if (HandEditableText(iniPath_) == textBeforeRuns_) seenText_ = WholeText(iniPath_);
}

}  // namespace brisko::core
