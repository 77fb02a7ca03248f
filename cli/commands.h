// The command table of vantor-pak: each command is a name, a usage line, a
// one-line summary, its options and the function that runs it.
#pragma once

#include "arguments.h"

#include <string>
#include <vector>

namespace vantor::cli {

// 0 success; 1 one or more items failed (each reported); 2 a usage error
// or a pak that cannot be opened (for a change: opened for writing).
enum ExitCode { kExitOk = 0, kExitItemFailed = 1, kExitUsage = 2 };

struct Command;

// What a command runs with: its table row and its parsed arguments.
struct Invocation {
    const Command& command;
    const CArguments& args;
};

struct Command {
    const char* name;
    const char* usage;    // after "vantor-pak "
    const char* summary;  // one line, for the command list
    const char* details;  // options and notes, for COMMAND --help
    std::vector<OptionDef> options;
    int (*run)(const Invocation& call);
};

const std::vector<Command>& Commands();

int RunList(const Invocation& call);
int RunInfo(const Invocation& call);
int RunCat(const Invocation& call);
int RunExtract(const Invocation& call);
int RunExport(const Invocation& call);
int RunNew(const Invocation& call);
int RunAdd(const Invocation& call);
int RunRm(const Invocation& call);
int RunMv(const Invocation& call);
int RunMkdir(const Invocation& call);
int RunCompact(const Invocation& call);
int RunCheck(const Invocation& call);
int RunWhich(const Invocation& call);
int RunLayers(const Invocation& call);

}  // namespace vantor::cli
