// Command lines read by CLI11, with its errors put in the words the programs have always used.
#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

namespace brisko::app {

CommandLine::CommandLine() : app_(std::make_unique<CLI::App>()) {
  app_->set_help_flag();  // --help is answered before a command is read
  app_->allow_extras();   // unknown options are named by Parse, not by CLI11
}

CommandLine::~CommandLine() = default;

void CommandLine::Flag(const std::string& name, std::function<void()> onSet) {
  app_->add_flag_callback(name, std::move(onSet))->trigger_on_parse();
}

void CommandLine::Value(const std::string& name, std::function<std::string(const std::string&)> onValue,
                        const std::string& missing) {
  missing_[name] = missing.empty() ? "option " + name + " needs a value" : missing;
  app_->add_option_function<std::string>(name,
                                         [this, onValue = std::move(onValue)](const std::string& value) {
                                           std::string problem = onValue(value);
                                           if (valueProblem_.empty()) valueProblem_ = std::move(problem);
                                         })
      ->trigger_on_parse()
      ->allow_extra_args(false);
}

void CommandLine::Value(const std::string& name, std::string& into, const std::string& missing) {
  Value(
      name,
      [&into](const std::string& value) {
        into = value;
        return std::string();
      },
      missing);
}

std::string CommandLine::Parse(const std::vector<std::string>& words, std::vector<std::string>& operands) {
  app_->add_option("operands", operands);
  // CLI11 reads the words from the back.
  std::vector<std::string> reversed(words.rbegin(), words.rend());
  std::string missingValue;
  try {
    app_->parse(reversed);
  } catch (const CLI::ArgumentMismatch& e) {
    // "-P: 1 required TEXT missing": only an option given last can lack its value.
    const std::string what = e.what();
    const auto it = missing_.find(what.substr(0, what.find(':')));
    missingValue = it != missing_.end() ? it->second : what;
  } catch (const CLI::ParseError& e) {
    return e.what();
  }
  for (const std::string& word : app_->remaining())
    if (word != "--") return "unknown option " + word;
  if (!missingValue.empty()) return missingValue;
  return valueProblem_;
}

}  // namespace brisko::app
