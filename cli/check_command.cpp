// check: every problem a pak's bytes have, one line each (or --json).
#include "commands.h"
#include "json.h"
#include "pak_check.h"
#include "report.h"

#include <cstdio>
#include <string>

namespace vantor::cli {
namespace {

std::string AsText(const PakCheck& check)
{
    std::string out;
    for (const PakProblem& problem : check.problems) out += ProblemLine(problem) + '\n';
    if (check.hasHeader) out += "unused: " + std::to_string(check.unused) + '\n';
    return out;
}

std::string AsJson(const PakCheck& check)
{
    std::string out = "{\n  \"problems\": [";
    for (std::size_t i = 0; i < check.problems.size(); ++i) {
        const PakProblem& problem = check.problems[i];
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"kind\": " + JsonString(problem.kind);
        if (problem.record >= 0)
            out += ", \"record\": " + std::to_string(problem.record) + ", \"name\": " + JsonString(problem.name);
        out += ", \"text\": " + JsonString(problem.text) + "}";
    }
    out += check.problems.empty() ? "]" : "\n  ]";
    out += ",\n  \"size\": " + std::to_string(check.fileLength);
    out += ",\n  \"unused\": " + (check.hasHeader ? std::to_string(check.unused) : std::string("null")) + "\n}\n";
    return out;
}

}  // namespace

std::string ProblemLine(const PakProblem& problem)
{
    const std::string where = problem.record < 0
        ? problem.place
        : "record " + std::to_string(problem.record) + " \"" + Printable(problem.name) + "\"";
    return where + ": " + problem.text;
}

bool IsLayoutProblem(const PakProblem& problem)
{
    static const char* const kinds[] = {"overlap", "past-end", "overlaps-header", "overlaps-directory",
                                        "directory-overlaps-header", "directory-past-end"};
    for (const char* kind : kinds)
        if (problem.kind == kind) return true;
    return false;
}

int RunCheck(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() != 1) return UsageError(call.command, "expects PAK");
    PakCheck check;
    int code = 0;
    if (!CheckPakFile(operands[0], check, code)) {
        ReportError(operands[0], CodeText(code));
        return kExitUsage;
    }
    const std::string out = call.args.Has("--json") ? AsJson(check) : AsText(check);
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (std::fflush(stdout) != 0) return kExitItemFailed;
    return check.problems.empty() ? kExitOk : kExitItemFailed;
}

}  // namespace vantor::cli
