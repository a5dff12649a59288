#pragma once

#include <string>
#include <vector>

// One sub-command of ffgl-host: `args` holds what follows its name. Answers
// the process exit status; errors go to standard error as one line each.
using CommandArgs = std::vector<std::string>;

int RunInfo(const CommandArgs& args);
int RunRender(const CommandArgs& args);
int RunValidate(const CommandArgs& args);
int RunBench(const CommandArgs& args);
int RunSheet(const CommandArgs& args);
