// The command line's answer to the core's questions: it prints and never asks.
#pragma once

#include <cstdio>
#include <string>

#include "core/UserInteraction.h"
#include "zip/names/PrintableText.h"

namespace brisko::app {

// Timed messages (results) go to stdout, message boxes to stderr; every question is answered No,
// every chooser is cancelled. Carriage returns inside messages become line breaks; other control
// characters are escaped.
class CliInteraction : public core::UserInteraction {
 public:
  bool Confirm(core::MessageKind kind, const std::string& text) override {
    Print(stderr, kind, text + " (not asked: No)");
    return false;
  }
  void ShowMessage(core::MessageKind kind, const std::string& text) override { Print(stderr, kind, text); }
  void ShowTimedMessage(core::MessageKind kind, const std::string&, const std::string& text, int) override {
    Print(stdout, kind, text);
  }
  std::optional<std::string> PickFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::vector<std::string> PickFiles(const std::string&, const std::string&) override { return {}; }
  std::optional<std::string> AskName(const std::string&, const std::string&) override { return std::nullopt; }
  bool RunAddProjectWizard() override { return false; }
  bool AskOverwrite(const std::string& caption, const std::string& text) override {
    Print(stderr, core::MessageKind::Warning, text + " (not asked: No)");
    return false;
  }

  // "\r" alone breaks lines in the program's messages.
  static std::string Lines(std::string text) {
    for (char& c : text)
      if (c == '\r') c = '\n';
    return text;
  }

 private:
  static void Print(std::FILE* out, core::MessageKind kind, const std::string& text) {
    std::fprintf(out, "%s: %s\n", core::KindCaption(kind), zip::PrintableText(Lines(text), true).c_str());
    std::fflush(out);
  }
};

}  // namespace brisko::app
