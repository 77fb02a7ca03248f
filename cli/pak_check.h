// Validating a pak from its raw bytes. The engine's loader refuses some
// broken paks outright and accepts others as they stand; this reads the
// file itself so that every problem can be found and named.
#pragma once

#include "pak_format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::cli {

struct PakProblem {
    std::string kind;        // a stable word for --json ("past-end", "overlap", ...)
    long long record = -1;   // the directory record (from 0), or -1
    std::string place;       // "header" or "directory" when record is -1
    std::string name;        // that record's name as stored (all 56 bytes when unterminated)
    std::string text;        // the problem in words
};

struct PakCheck {
    std::vector<PakProblem> problems;
    std::uint64_t fileLength = 0;
    // False when the file has no usable header; unused is then meaningless.
    bool hasHeader = false;
    std::uint64_t unused = 0;
};

// False, with an engine error code, only when the file cannot be read.
bool CheckPakFile(const std::string& path, PakCheck& result, int& code);

// A finding as check prints it: where (record N "name", header, directory),
// then what.
std::string ProblemLine(const PakProblem& problem);
// Whether a finding is about where bytes lie (overlaps, past the end),
// the reasons compact refuses a pak.
bool IsLayoutProblem(const PakProblem& problem);

}  // namespace vantor::cli
