// What differs in how the platforms hand a program its arguments and
// standard streams.
#pragma once

#include <string>
#include <vector>

namespace vantor::cli {

// The arguments after the program's name, in UTF-8. Windows gives main()
// its arguments in the ANSI code page, which cannot spell every name, so
// there they are read again as UTF-16 and converted.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard output and error carry bytes as written, '\n' included, so that
// listings and extracted data are the same on every platform.
void UseBinaryStandardStreams();

}  // namespace vantor::cli
