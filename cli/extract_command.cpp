// extract: entries to disk files beneath a folder, recreating their pak
// folders, one report per entry that fails.
#include "commands.h"
#include "progress.h"
#include "report.h"
#include "session.h"

#include "name_query.h"
#include "pak_names.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace vantor::cli {
namespace {

// The records the operands select; false after reporting each operand
// that selects nothing (the others still count).
bool SelectRecords(CPakArchive& pak, const std::vector<std::string>& names, std::vector<std::size_t>& selected)
{
    const PakEntryArray& entries = pak.GetEntries();
    std::set<std::size_t> chosen;
    bool found = true;
    if (names.empty())
        for (std::size_t i = 0; i < entries.size(); ++i) chosen.insert(i);
    std::vector<std::uint32_t> beneath;
    for (const std::string& name : names) {
        bool any = false;
        if (NamesFolder(name) || IsRootName(name)) {
            // The engine's folder lookup: a '\' in a stored name is a level too.
            pak.ListFolderRecords(IsRootName(name) ? std::string_view() : std::string_view(name), beneath);
            chosen.insert(beneath.begin(), beneath.end());
            any = !beneath.empty();
            beneath.clear();
        } else if (const int index = FindNamedEntry(pak, name); index >= 0) {
            chosen.insert(static_cast<std::size_t>(index));
            any = true;
        }
        if (!any) {
            ReportError(name, CodeText(errFileNotFound));
            found = false;
        }
    }
    selected.assign(chosen.begin(), chosen.end());
    // Front to back through the pak, as a folder extraction reads it.
    std::stable_sort(selected.begin(), selected.end(),
                     [&](std::size_t a, std::size_t b) { return entries[a].offset < entries[b].offset; });
    return found;
}

}  // namespace

int RunExtract(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.empty()) return UsageError(call.command, "expects PAK [NAME or FOLDER/ ...]");
    CPakArchive pak;
    if (!OpenForReading(pak, operands[0])) return kExitUsage;
    const std::vector<std::string> names(operands.begin() + 1, operands.end());
    std::vector<std::size_t> selected;
    bool failed = !SelectRecords(pak, names, selected);
    if (call.args.Has("--match")) {
        const CNameQuery query(call.args.Value("--match"));
        std::erase_if(selected, [&](std::size_t i) { return !query.Matches(pak.GetEntries()[i].Name()); });
    }

    // The target folder is made when missing, like the folders beneath it.
    namespace fs = std::filesystem;
    const std::string given = call.args.Value("-C", ".");
    std::error_code error;
    const fs::path folder = fs::absolute(given, error).lexically_normal();
    if (!error) fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) {
        ReportError(given, CodeText(errBadPath));
        return kExitItemFailed;
    }
    const std::string diskFolder = folder.string();
    const bool overwrite = !call.args.Has("--no-overwrite");

    const PakEntryArray& entries = pak.GetEntries();
    PakProgress progress;
    progress.itemsTotal = selected.size();
    for (const std::size_t i : selected) progress.bytesTotal += entries[i].length;
    CProgressBar bar("extracting");
    // A name the pak holds twice is one file on disk: the first record,
    // which is the one every lookup by name finds.
    std::set<std::string> done;
    for (const std::size_t i : selected) {
        bar.Update(progress);
        const std::string name(entries[i].Name());
        progress.itemsDone++;
        progress.bytesDone += entries[i].length;
        if (!done.insert(name).second) continue;
        // A failure that stores no code must not show an older one.
        pak.SetError(errUnspecified);
        if (pak.ExtractEntryTo(name, diskFolder, overwrite)) continue;
        bar.Finish();
        // The engine's advice for a full disk is to gib files from the pak,
        // which frees nothing on the disk being written.
        if (pak.GetError() == errDiskFull && !pak.FailedOnPak())
            ReportError(name, "Disk full.");
        else
            ReportPakError(name, pak);
        failed = true;
        if (pak.IsFatalError()) return kExitItemFailed;
    }
    bar.Update(progress);
    return failed ? kExitItemFailed : kExitOk;
}

}  // namespace vantor::cli
