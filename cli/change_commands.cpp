// Commands that change a pak: new, add, rm, mv, mkdir and compact. Where
// one command changes several items they share one batch, so the pak is
// written once and a crash leaves it as it was before the command.
#include "commands.h"
#include "pak_check.h"
#include "progress.h"
#include "report.h"
#include "session.h"

#include "name_query.h"
#include "pak_names.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <unordered_set>

namespace vantor::cli {
namespace {

namespace fs = std::filesystem;

// Reports a failed item; true when the command must stop at once.
bool ItemFailed(const std::string& what, CPakArchive& pak)
{
    ReportPakError(what, pak);
    return pak.IsFatalError();
}

// Commits the batch; a failure there is reported against the pak.
bool EndBatch(CPakBatch& batch, CPakArchive& pak, const std::string& path)
{
    if (batch.End()) return true;
    ReportPakError(path, pak);
    return false;
}

}  // namespace

int RunNew(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() != 1) return UsageError(call.command, "expects PAK");
    const std::string& path = operands[0];
    std::error_code error;
    const fs::path target = fs::absolute(path, error);
    if (!call.args.Has("--force") && fs::symlink_status(target, error).type() != fs::file_type::not_found) {
        ReportError(path, CodeText(errNameExists));
        return kExitItemFailed;
    }
    CPakArchive pak;
    if (!pak.CreatePak(target.parent_path().string(), target.filename().string())) {
        ReportPakError(path, pak);
        return kExitItemFailed;
    }
    return kExitOk;
}

int RunAdd(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() < 2) return UsageError(call.command, "expects PAK PATH...");
    CPakArchive pak;
    if (!OpenForChanging(pak, operands[0])) return kExitUsage;
    const std::string folder = ToPakPath(call.args.Value("--to"));
    const bool replace = !call.args.Has("--no-replace");
    bool failed = false;
    CPakBatch batch(pak);
    for (std::size_t i = 1; i < operands.size(); ++i) {
        const std::string& given = operands[i];
        // The engine names entries after the disk path's last level, so the
        // path must have one: "." and "dir/" become the folder's own name.
        std::error_code error;
        fs::path path = fs::absolute(given, error).lexically_normal();
        if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) path = path.parent_path();
        const fs::file_status status = fs::status(path, error);
        if (!fs::exists(status)) {
            ReportError(given, CodeText(errFileNotFound));
            failed = true;
            continue;
        }
        bool ok;
        bool reported = false;
        if (fs::is_directory(status)) {
            // Each file or folder that fails is named, as the user gave its top.
            const std::string root = path.string();
            std::string shown = given;
            while (shown.size() > 1 && shown.back() == '/') shown.pop_back();
            pak.SetItemFailureReporter([&](const std::string& item, int code) {
                const std::string what = item.starts_with(root) ? shown + item.substr(root.size()) : item;
                ReportError(pak.FailedOnPak() ? operands[0] : what, CodeText(code));
                reported = true;
            });
            CProgressBar bar("adding " + given);
            ok = pak.ImportFolder(root, folder, replace, bar.Callback());
            pak.SetItemFailureReporter({});
        } else {
            ok = pak.AddFileFromDisk(path.string(), folder, replace);
        }
        if (ok) continue;
        failed = true;
        if (reported) {
            if (pak.IsFatalError()) break;
            continue;
        }
        // Writing the pak can fail too (a full disk, a size limit): then the
        // pak is what the user must see to, not the file being added.
        if (ItemFailed(pak.FailedOnPak() ? operands[0] : given, pak)) break;
    }
    if (!EndBatch(batch, pak, operands[0])) failed = true;
    return failed ? kExitItemFailed : kExitOk;
}

namespace {

// rm --match: the matching entries, beneath the named folders when there
// are any, in one batch.
int RemoveMatching(CPakArchive& pak, const std::vector<std::string>& operands, const CNameQuery& query)
{
    std::vector<std::string> doomed;
    std::unordered_set<std::string> seen;
    for (const PakEntry& entry : pak.GetEntries()) {
        const std::string name(entry.Name());
        const bool bBeneath =
            operands.size() == 1 || std::any_of(operands.begin() + 1, operands.end(), [&](const std::string& folder) {
                return IsRootName(folder) || StartsWithPakPrefix(name, FolderPrefix(ToPakPath(folder)));
            });
        // A name the pak holds twice goes once, as rm NAME removes it.
        if (bBeneath && query.Matches(name) && seen.insert(name).second)
            doomed.push_back(name);
    }
    bool failed = false;
    CPakBatch batch(pak);
    for (const std::string& name : doomed) {
        if (pak.GibEntryByName(name, false)) continue;
        failed = true;
        if (ItemFailed(name, pak)) break;
    }
    if (!EndBatch(batch, pak, operands[0])) failed = true;
    return failed ? kExitItemFailed : kExitOk;
}

}  // namespace

int RunRm(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    const bool bMatch = call.args.Has("--match");
    if (operands.size() < (bMatch ? 1u : 2u)) return UsageError(call.command, "expects PAK NAME or FOLDER/ ...");
    CPakArchive pak;
    if (!OpenForChanging(pak, operands[0])) return kExitUsage;
    if (bMatch) return RemoveMatching(pak, operands, CNameQuery(call.args.Value("--match")));
    bool failed = false;
    CPakBatch batch(pak);
    for (std::size_t i = 1; i < operands.size(); ++i) {
        const std::string& name = operands[i];
        const std::string p = ToPakPath(name);
        const bool folder = NamesFolder(name);
        // "/", "//" or "C:\" would be the whole pak: never removed by a slip
        // of the keyboard.
        if (IsRootName(name)) {
            ReportError(name, CodeText(errBadName));
            failed = true;
            continue;
        }
        if (folder ? !pak.FolderExists(p, "") : FindNamedEntry(pak, name) < 0) {
            ReportError(name, CodeText(errFileNotFound));
            failed = true;
            continue;
        }
        if (folder ? pak.GibFolder(p) : pak.GibEntryByName(p, false)) continue;
        failed = true;
        if (ItemFailed(name, pak)) break;
    }
    if (!EndBatch(batch, pak, operands[0])) failed = true;
    return failed ? kExitItemFailed : kExitOk;
}

int RunMv(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() != 3) return UsageError(call.command, "expects PAK OLD NEW");
    CPakArchive pak;
    if (!OpenForChanging(pak, operands[0])) return kExitUsage;
    const std::string& oldName = operands[1];
    std::string newName = operands[2];
    const std::string o = ToPakPath(oldName);
    bool ok;
    if (NamesFolder(oldName)) {
        const bool root = IsRootName(oldName);
        if (root || !pak.FolderExists(o, "")) {
            ReportError(oldName, CodeText(root ? errBadName : errFileNotFound));
            return kExitItemFailed;
        }
        ok = pak.RenameFolder(o, newName);
    } else {
        if (FindNamedEntry(pak, oldName) < 0) {
            ReportError(oldName, CodeText(errFileNotFound));
            return kExitItemFailed;
        }
        // "mv PAK a.txt maps/" moves the entry into maps under its own name.
        if (NamesFolder(newName)) newName += GetNamePart(o);
        ok = pak.RenameEntryByName(o, newName);
    }
    if (ok) return kExitOk;
    ReportPakError(oldName, pak);
    return kExitItemFailed;
}

int RunMkdir(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() < 2) return UsageError(call.command, "expects PAK FOLDER...");
    CPakArchive pak;
    if (!OpenForChanging(pak, operands[0])) return kExitUsage;
    bool failed = false;
    CPakBatch batch(pak);
    for (std::size_t i = 1; i < operands.size(); ++i) {
        // The root needs no placeholder; one would only litter it.
        if (IsRootName(operands[i])) {
            ReportError(operands[i], CodeText(errBadName));
            failed = true;
            continue;
        }
        if (pak.CreateFolder(operands[i])) continue;
        failed = true;
        if (ItemFailed(operands[i], pak)) break;
    }
    if (!EndBatch(batch, pak, operands[0])) failed = true;
    return failed ? kExitItemFailed : kExitOk;
}

int RunCompact(const Invocation& call)
{
    const auto& operands = call.args.Operands();
    if (operands.size() != 1) return UsageError(call.command, "expects PAK");
    bool ok = false;
    int error = errUnspecified;
    std::int64_t before = -1;
    std::int64_t after = -1;
    {
        CPakArchive pak;
        if (!OpenForChanging(pak, operands[0])) return kExitUsage;
        before = pak.GetPakLength();
        {
            CProgressBar bar("compacting");
            ok = pak.RecoverUnusedSpace(bar.Callback());
        }
        if (!ok) ReportPakError(operands[0], pak);
        error = pak.GetError();
        // Reported even after a partial recovery: what was moved stays moved.
        after = pak.GetPakLength();
    }  // the check below opens the pak itself, which Windows refuses while an archive holds it
    if (!ok && error == errRecoverIncomplete) {
        // The engine will not move data whose place is in doubt; name it.
        PakCheck check;
        int code = 0;
        if (CheckPakFile(operands[0], check, code))
            for (const PakProblem& problem : check.problems)
                if (IsLayoutProblem(problem)) std::cerr << ProblemLine(problem) << '\n';
    }
    if (before >= 0 && after >= 0 && after <= before) std::cout << "recovered: " << (before - after) << '\n';
    return ok ? kExitOk : kExitItemFailed;
}

}  // namespace vantor::cli
