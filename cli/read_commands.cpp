// Commands that only read a pak: list, info and cat.
#include "commands.h"
#include "json.h"
#include "pak_check.h"
#include "report.h"
#include "session.h"

#include "name_query.h"
#include "pak_names.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace vantor::cli {
namespace {

// Writes all of text to standard output; false (reported) when it cannot.
bool WriteOut(const void* data, std::size_t size)
{
    if (size != 0 && std::fwrite(data, 1, size, stdout) != size) {
        ReportError("standard output", std::strerror(errno));
        return false;
    }
    return true;
}

bool WriteOut(const std::string& text) { return WriteOut(text.data(), text.size()); }

bool FlushOut()
{
    if (std::fflush(stdout) != 0) {
        ReportError("standard output", std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

int RunList(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.empty() || operands.size() > 2) return UsageError(call.command, "expects PAK [FOLDER]");
    CPakArchive pak;
    if (!OpenForReading(pak, operands[0])) return kExitUsage;

    // Records, not names: a pak from elsewhere may hold one name twice, and
    // -l must show each record's own offset and length.
    const PakEntryArray& entries = pak.GetEntries();
    std::vector<std::uint32_t> shown;
    const int named = operands.size() == 2 && !NamesFolder(operands[1]) ? FindNamedEntry(pak, operands[1]) : -1;
    if (named >= 0) {
        shown.push_back(static_cast<std::uint32_t>(named));
    } else {
        // Every name meaning the root ("/", "//", "C:\") lists the whole pak.
        const bool root = operands.size() == 1 || IsRootName(operands[1]);
        pak.ListFolderRecords(root ? std::string() : operands[1], shown);
        if (shown.empty() && !root) {
            ReportError(operands[1], CodeText(errFileNotFound));
            return kExitItemFailed;
        }
    }

    if (call.args.Has("--match")) {
        const CNameQuery query(call.args.Value("--match"));
        std::erase_if(shown, [&](std::uint32_t i) { return !query.Matches(entries[i].Name()); });
    }

    std::string out;
    if (call.args.Has("--json")) {
        out = "{\n  \"entries\": [";
        for (std::size_t k = 0; k < shown.size(); ++k) {
            const PakEntry& entry = entries[shown[k]];
            out += k == 0 ? "\n" : ",\n";
            out += "    {\"name\": " + JsonString(entry.Name()) + ", \"offset\": " + std::to_string(entry.offset) +
                   ", \"length\": " + std::to_string(entry.length) + "}";
        }
        out += shown.empty() ? "]\n}\n" : "\n  ]\n}\n";
    } else {
        const bool longForm = call.args.Has("-l");
        for (const std::uint32_t i : shown) {
            if (longForm) out += std::to_string(entries[i].offset) + ' ' + std::to_string(entries[i].length) + ' ';
            out += Printable(entries[i].Name());
            out += '\n';
        }
    }
    return WriteOut(out) && FlushOut() ? kExitOk : kExitItemFailed;
}

int RunInfo(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() != 1) return UsageError(call.command, "expects PAK");
    CPakArchive pak;
    if (!OpenForReading(pak, operands[0])) return kExitUsage;
    const std::int64_t size = pak.GetPakLength();
    if (size < 0) {
        ReportPakError(operands[0], pak);
        return kExitItemFailed;
    }
    // As stored, as check reads it: a length that is not whole records is
    // shown, and counted as used, in full.
    const PakHeader& header = pak.GetStoredHeader();
    const std::uint64_t unused = pak.GetUnusedSpaceBytes();
    const std::string count = std::to_string(pak.GetEntries().size());
    std::string out;
    if (call.args.Has("--json")) {
        out = "{\n  \"entries\": " + count + ",\n  \"directory\": {\"offset\": " + std::to_string(header.dirOffset) +
              ", \"length\": " + std::to_string(header.dirLength) + "},\n  \"size\": " + std::to_string(size) +
              ",\n  \"unused\": " + std::to_string(unused) + "\n}\n";
    } else {
        out = "entries: " + count + "\ndirectory: " + std::to_string(header.dirOffset) + ' ' +
              std::to_string(header.dirLength) + "\nsize: " + std::to_string(size) + "\nunused: " + std::to_string(unused) + '\n';
    }
    return WriteOut(out) && FlushOut() ? kExitOk : kExitItemFailed;
}

int RunCat(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() != 2) return UsageError(call.command, "expects PAK NAME");
    CPakArchive pak;
    if (!OpenForReading(pak, operands[0])) return kExitUsage;
    const std::string& name = operands[1];
    const int index = NamesFolder(name) ? -1 : FindNamedEntry(pak, name);
    if (index < 0) {
        ReportError(name, CodeText(errFileNotFound));
        return kExitItemFailed;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // Streamed in pieces: an entry may be far larger than memory allows.
    const std::uint32_t length = pak.GetEntries()[static_cast<std::size_t>(index)].length;
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    std::vector<char> buffer(std::min<std::size_t>(length, kChunk));
    for (std::uint64_t done = 0; done < length;) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, kChunk));
        if (!pak.ReadEntryPart(static_cast<std::size_t>(index), done, buffer.data(), count)) {
            FlushOut();
            ReportPakError(name, pak);
            return kExitItemFailed;
        }
        if (!WriteOut(buffer.data(), count)) return kExitItemFailed;
        done += count;
    }
    return FlushOut() ? kExitOk : kExitItemFailed;
}

}  // namespace vantor::cli
