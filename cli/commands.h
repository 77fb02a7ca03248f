// The command table of vantor-pak: each command is a name, a usage line,
// a one-line summary and the function that runs it.
#pragma once

#include <string>
#include <vector>

namespace vantor::cli {

enum ExitCode { kExitOk = 0, kExitItemFailed = 1, kExitUsage = 2 };

struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(const std::vector<std::string>& args);
};

const std::vector<Command>& Commands();

// "vantor-pak: " + what + ": " + detail, on standard error.
void ReportError(const std::string& what, const std::string& detail);
int UsageError(const Command& command, const std::string& problem);

int RunList(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);

}  // namespace vantor::cli
