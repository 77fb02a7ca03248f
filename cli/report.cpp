#include "report.h"

#include "commands.h"
#include "utf8.h"
#include "pak_error.h"
#include "pak_file.h"

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
    const auto escape = [&](std::string_view bytes) {
        for (const char c : bytes) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            out += escaped;
        }
    };
    for (std::size_t at = 0; at < name.size();) {
        const Utf8Char c = DecodeUtf8(name, at);
        const std::size_t length = c.length == 0 ? 1 : c.length;
        const std::string_view bytes = name.substr(at, length);
        // C1 controls drive terminals as C0 ones do (0x9B is a CSI), whether
        // they come as raw bytes or encoded in UTF-8.
        const char32_t code = c.length == 0 ? static_cast<unsigned char>(name[at]) : c.code;
        if (code < 0x20 || (code >= 0x7F && code < 0xA0))
            escape(bytes);
        else
            out += bytes;
        at += length;
    }
    return out;
}

}  // namespace vantor::cli
