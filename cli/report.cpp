#include "report.h"

#include "commands.h"
#include "engine/pak_error.h"
#include "engine/pak_file.h"

#include <cstdio>
#include <iostream>

namespace vantor::cli {

void ReportError(std::string_view what, std::string_view detail)
{
    std::cout.flush();
    std::cerr << "vantor-pak: " << Printable(what) << ": " << detail << '\n';
}

void ReportPakError(std::string_view what, const CPakFile& pak) { ReportError(what, pak.GetErrorText()); }

std::string CodeText(int code) { return PakErrorText(code); }

int UsageError(const Command& command, std::string_view problem)
{
    std::cerr << "vantor-pak: " << command.name << ": " << problem << "\nusage: vantor-pak " << command.usage << '\n';
    return kExitUsage;
}

std::string Printable(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace vantor::cli
