// The options and operands of one command, read in command-line order; problems in the program's words.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace brisko::app {

class CommandLine {
 public:
  CommandLine();
  ~CommandLine();
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // A flag ("-r", "-6", "--aes"); onSet runs where it stands on the line, so the last of two that
  // contradict each other wins. Short flags may be combined ("-rj").
  void Flag(const std::string& name, std::function<void()> onSet);

  // An option with a value ("-P PASSWORD"; the next word is its value, whatever it starts with).
  // onValue runs where the option stands and returns "" or what is wrong with the value; `missing` is
  // the problem of an option given last without its value ("option NAME needs a value" when empty).
  void Value(const std::string& name, std::function<std::string(const std::string&)> onValue,
             const std::string& missing = "");
  // The same for a value kept as it is given, the last one counting.
  void Value(const std::string& name, std::string& into, const std::string& missing = "");

  // Reads the words after the command's name. Operands are the words that are no options, in order;
  // "--" ends the options. Returns "" or the first problem: "unknown option -q", an option's `missing`,
  // or what its onValue said. Called once.
  std::string Parse(const std::vector<std::string>& words, std::vector<std::string>& operands);

 private:
  std::unique_ptr<CLI::App> app_;
  std::map<std::string, std::string> missing_;
  std::string valueProblem_;
};

}  // namespace brisko::app
