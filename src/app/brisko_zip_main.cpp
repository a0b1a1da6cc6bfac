// brisko-zip: command-line access to the archive engine.
#include <cstdio>

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  std::fprintf(stderr, "usage: brisko-zip a|l|x|t ...\n");
  return 2;
}
