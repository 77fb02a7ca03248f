// How vantor-pak talks about failures: "vantor-pak: " + what failed + the
// engine's error text on standard error, and names made safe to print.
#pragma once

#include <string>
#include <string_view>

namespace vantor {
class CPakFile;
}

namespace vantor::cli {

struct Command;

// "vantor-pak: " + what + ": " + detail.
void ReportError(std::string_view what, std::string_view detail);
// The same with the text of the pak's current error code.
void ReportPakError(std::string_view what, const CPakFile& pak);
// The text of an engine code, for failures found before the engine is asked.
std::string CodeText(int code);
// The problem, then the command's usage line; returns kExitUsage.
int UsageError(const Command& command, std::string_view problem);

// A name read from a pak, for one line of text output: control characters
// (C0, DEL and C1, the last as raw bytes or in UTF-8) become \xHH per byte
// so that a forged name cannot break lines or drive the terminal;
// everything else is kept byte for byte.
std::string Printable(std::string_view name);

}  // namespace vantor::cli
