// brisko-zip: command-line access to the archive engine; dispatches to the registered commands.
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/ZipCli.h"

namespace brisko::app {
namespace {

std::vector<CliCommand>& Commands() {
  static std::vector<CliCommand> commands;
  return commands;
}

int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const CliCommand& c : Commands()) std::fprintf(stderr, "  brisko-zip %s\n", c.usage);
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
  for (const CliCommand& c : Commands()) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "brisko-zip: unknown command '%s'\n", argv[1]);
  return Usage();
}
