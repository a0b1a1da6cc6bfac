// brisko-zip: command-line access to the archive engine; dispatches to the registered commands.
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/StandardOptions.h"
#include "app/ZipCli.h"
#include "platform/Console.h"

namespace brisko::app {
namespace {

std::vector<CliCommand>& Commands() {
  static std::vector<CliCommand> commands;
  return commands;
}

void PrintUsage(std::FILE* out, bool withHelp = false) {
  std::fprintf(out, "usage:\n");
  for (const CliCommand& c : Commands()) {
    std::fprintf(out, "  brisko-zip %s\n", c.usage);
    if (withHelp && c.help) std::fprintf(out, "%s", c.help);
  }
  std::fprintf(out, "  brisko-zip --help | --version\n");
  if (withHelp)
    std::fprintf(out,
                 "exit status: 0 done and sound, 1 something not done or not sound (named on the output),\n"
                 "  2 usage error or an archive that cannot be read\n");
}

int Usage() {
  PrintUsage(stderr);
  return 2;
}

}  // namespace

bool RegisterCommand(const CliCommand& command) {
  Commands().push_back(command);
  return true;
}

}  // namespace brisko::app

int main(int argc, char** argv) {
  using namespace brisko::app;
  brisko::platform::UseUtf8Console();
  if (argc < 2) return Usage();
  switch (FindStandardOption(argc, argv)) {
    case StandardOption::Help:
      PrintUsage(stdout, true);
      return 0;
    case StandardOption::Version:
      PrintVersion("brisko-zip");
      return 0;
    case StandardOption::None:
      break;
  }
  for (const CliCommand& c : Commands()) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "brisko-zip: unknown command '%s'\n", argv[1]);
  return Usage();
}
