// vantor-pak: the command-line face of the archive engine.
#include "commands.h"

#include <cstdio>
#include <cstring>
#include <iostream>

namespace vantor::cli {

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"list", "list [-l] PAK [FOLDER]", "list the entries beneath FOLDER (default: all)", RunList},
        {"info", "info PAK", "summarise the pak", RunInfo},
    };
    return commands;
}

void ReportError(const std::string& what, const std::string& detail)
{
    std::cerr << "vantor-pak: " << what << ": " << detail << '\n';
}

int UsageError(const Command& command, const std::string& problem)
{
    std::cerr << "vantor-pak: " << command.name << ' ' << problem << "\nusage: vantor-pak " << command.usage << '\n';
    return kExitUsage;
}

namespace {

void PrintUsage(std::FILE* to)
{
    std::fprintf(to, "usage: vantor-pak COMMAND PAK [ARGS]\n\ncommands:\n");
    for (const Command& command : Commands()) std::fprintf(to, "  %-28s %s\n", command.usage, command.summary);
    std::fprintf(to, "\nvantor-pak --version prints the version.\n");
}

}  // namespace
}  // namespace vantor::cli

int main(int argc, char** argv)
{
    using namespace vantor::cli;
    if (argc < 2) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (name == "--version") {
        std::printf("vantor-pak %s\n", VANTOR_VERSION);
        return kExitOk;
    }
    for (const Command& command : Commands()) {
        if (name != command.name) continue;
        std::vector<std::string> args(argv + 2, argv + argc);
        if (!args.empty() && args[0] == "--help") {
            std::printf("usage: vantor-pak %s\n  %s\n", command.usage, command.summary);
            return kExitOk;
        }
        return command.run(args);
    }
    std::fprintf(stderr, "vantor-pak: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
