// brisko-zip: command-line access to the archive engine; dispatches to the registered commands.
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/StandardOptions.h"
#include "app/ZipCli.h"

namespace brisko::app {
namespace {

std::vector<CliCommand>& Commands() {
  static std::vector<CliCommand> commands;
  return commands;
}

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage:\n");
  for (const CliCommand& c : Commands()) std::fprintf(out, "  brisko-zip %s\n", c.usage);
  std::fprintf(out, "  brisko-zip --help | --version\n");
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
  if (argc < 2) return Usage();
  switch (FindStandardOption(argc, argv)) {
    case StandardOption::Help:
      PrintUsage(stdout);
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
