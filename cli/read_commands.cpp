// Commands that only read a pak: list and info.
#include "commands.h"

#include "engine/pak_archive.h"

#include <cstdio>
#include <iostream>

namespace vantor::cli {
namespace {

bool OpenForReading(CPakArchive& pak, const std::string& path)
{
    if (pak.OpenPak(path)) return true;
    ReportError(path, pak.GetErrorText());
    return false;
}

}  // namespace

int RunList(const std::vector<std::string>& args)
{
    const Command& self = Commands()[0];
    bool longForm = false;
    std::vector<std::string> operands;
    for (const std::string& arg : args) {
        if (arg == "-l")
            longForm = true;
        else
            operands.push_back(arg);
    }
    if (operands.empty() || operands.size() > 2) return UsageError(self, "expects PAK [FOLDER]");
    CPakArchive pak;
    if (!OpenForReading(pak, operands[0])) return kExitUsage;
    StringArray names;
    pak.ListFolder(operands.size() == 2 ? operands[1] : std::string(), names);
    std::string out;
    for (const std::string& name : names) {
        if (longForm) {
            const PakEntry& entry = pak.GetEntries()[static_cast<std::size_t>(pak.FindEntry(name))];
            out += std::to_string(entry.offset) + ' ' + std::to_string(entry.length) + ' ';
        }
        out += name;
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

int RunInfo(const std::vector<std::string>& args)
{
    const Command& self = Commands()[1];
    if (args.size() != 1) return UsageError(self, "expects PAK");
    CPakArchive pak;
    if (!OpenForReading(pak, args[0])) return kExitUsage;
    std::cout << "entries: " << pak.GetEntries().size() << '\n'
              << "directory: " << pak.GetHeader().dirOffset << ' ' << pak.GetHeader().dirLength << '\n'
              << "size: " << pak.GetPakLength() << '\n';
    return kExitOk;
}

}  // namespace vantor::cli
