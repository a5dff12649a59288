#include <cstdio>
#include <cstring>
#include <exception>

#include "Command.h"

namespace {

struct CommandEntry {
  const char* name;
  int (*run)(const CommandArgs&);
  const char* usage;
};

const CommandEntry commands[] = {
    {"info", RunInfo, "info PLUGIN"},
    {"render", RunRender, "render PLUGIN [-i IMAGE] [-p NAME=VALUE]... [-o OUT] (render --help)"},
    {"bench", RunBench, "bench PLUGIN [--size WxH]... [--frames N] (bench --help)"},
    {"sheet", RunSheet, "sheet PLUGIN -o SHEET.png [--columns N] [--thumb WxH]"},
    {"validate", RunValidate,
     "validate PLUGIN [--level 1..10] [--seed S] [--json] [--only TEST]..."},
};

int Usage(FILE* out) {
  std::fprintf(out, "usage: ffgl-host COMMAND ...\ncommands:\n");
  for (const CommandEntry& command : commands) std::fprintf(out, "  ffgl-host %s\n", command.usage);
  return out == stderr ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(stderr);
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) return Usage(stdout);
  for (const CommandEntry& command : commands) {
    if (std::strcmp(argv[1], command.name) != 0) continue;
    try {
      return command.run(CommandArgs(argv + 2, argv + argc));
    } catch (const std::exception& error) {
      std::fprintf(stderr, "ffgl-host %s: %s\n", command.name, error.what());
      return 1;
    }
  }
  std::fprintf(stderr, "ffgl-host: unknown command '%s'\n", argv[1]);
  return Usage(stderr);
}
