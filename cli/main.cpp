// vantor-pak: the command-line face of the archive engine. Finds the
// command in the table, parses its arguments and runs it.
#include "commands.h"
#include "platform.h"
#include "report.h"

#include "file_layer.h"
#include "version.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

namespace vantor::cli {
namespace {

void PrintUsage(std::FILE* to)
{
    std::fprintf(to, "usage: vantor-pak COMMAND PAK [ARGS]\n\ncommands:\n");
    for (const Command& command : Commands()) std::fprintf(to, "  %-8s %s\n", command.name, command.summary);
    std::fprintf(to,
                 "\nNames in a pak are written maps/e1m1.bsp; a trailing / names a folder.\n"
                 "vantor-pak COMMAND --help describes a command; --version prints the version.\n"
                 "Exit status: 0 success, 1 an item failed, 2 usage error or the pak cannot be opened.\n");
}

void PrintCommandHelp(const Command& command)
{
    std::printf("usage: vantor-pak %s\n%s.\n", command.usage, command.summary);
    if (*command.details != '\0') std::printf("\n%s", command.details);
}

int Run(const std::vector<std::string>& argv)
{
    if (argv.empty()) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string& name = argv[0];
    if (name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (name == "--version") {
        std::printf("vantor-pak %s\n", VANTOR_VERSION_TEXT);
        return kExitOk;
    }
    for (const Command& command : Commands()) {
        if (name != command.name) continue;
        const std::vector<std::string> rest(argv.begin() + 1, argv.end());
        if (AsksForHelp(rest)) {
            PrintCommandHelp(command);
            return kExitOk;
        }
        CArguments args;
        std::string problem;
        if (!args.Parse(rest, command.options, problem)) return UsageError(command, problem);
        return command.run(Invocation{command, args});
    }
    std::fprintf(stderr, "vantor-pak: unknown command '%s'\n", Printable(name).c_str());
    PrintUsage(stderr);
    return kExitUsage;
}

}  // namespace
}  // namespace vantor::cli

int main(int argc, char** argv)
{
    // Before anything is opened: a pak must never become standard output.
    vantor::ReserveStandardDescriptors();
    vantor::cli::UseBinaryStandardStreams();
    try {
        return vantor::cli::Run(vantor::cli::ProgramArguments(argc, argv));
    } catch (const std::bad_alloc&) {
        // Memory the engine does not ask for itself (a listing, a check's
        // findings): a message and status 2 rather than an abort.
        std::fflush(stdout);
        std::fputs("vantor-pak: Out of memory.\n", stderr);
        return vantor::cli::kExitUsage;
    }
}
