// Opens arbitrary bytes as a pak and runs every reading operation on it:
// lookups, listings, sizes, reading entries, extraction into a private
// folder and the unused-space figure. Beyond memory and UB faults it
// catches answers that disagree with a plain decoding of the same bytes
// (the name index must never change a result), extracted files with the
// wrong bytes, stray temporary files, and anything extraction puts outside
// the folder it was given. Then it changes copies of the pak: extraction
// beside a copy named like an entry must leave the copy whole; a change
// where a write could damage the pak must be refused untouched; an add must
// stay past every byte an entry claims; and recovery must keep the records
// in their order.
#include "pak_archive.h"
#include "pak_names.h"
#include "fuzz_common.h"
#include "pak_reader.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>
#include <filesystem>
#include <map>
#include <set>

using namespace vantor;
using namespace vantor::fuzz;

namespace {

namespace fs = std::filesystem;

// Longer than any entry name, so that extracting beside the pak can never
// replace the pak itself.
const std::string kPakName = "the-pak-under-test-whose-name-no-entry-of-56-bytes-can-have.pak";

struct Record {
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// The plain decoding the engine is held to.
struct Decoded {
    bool mustRefuse = false;  // no reader may open it
    bool mustOpen = false;    // every reader must open it
    std::vector<Record> records;
};

std::uint32_t U32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

Decoded Decode(const std::string& bytes)
{
    Decoded d;
    if (bytes.size() < 12 || bytes.compare(0, 4, "PACK") != 0) {
        d.mustRefuse = true;
        return d;
    }
    const std::uint64_t dirOffset = U32(bytes, 4);
    const std::uint64_t dirLength = U32(bytes, 8);
    const std::uint64_t whole = dirLength / 64 * 64;
    if (dirOffset == 0 && dirLength == 0) {
        d.mustRefuse = true;
        return d;
    }
    // Whole records past the end cannot be read; how a trailing partial
    // record is judged is the reader's choice.
    if (whole != 0 && dirOffset + whole > bytes.size()) {
        d.mustRefuse = true;
        return d;
    }
    d.mustOpen = dirLength == whole ? (dirLength == 0 || dirOffset + dirLength <= bytes.size()) : false;
    for (std::uint64_t at = dirOffset; at < dirOffset + whole; at += 64) {
        const char* field = bytes.data() + at;
        Record r;
        r.name.assign(field, strnlen(field, 56));
        r.offset = U32(bytes, static_cast<std::size_t>(at + 56));
        r.length = U32(bytes, static_cast<std::size_t>(at + 60));
        d.records.push_back(std::move(r));
    }
    return d;
}

int FirstIndex(const std::vector<Record>& records, std::string_view name)
{
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].name == name) return static_cast<int>(i);
    return -1;
}

// A stored name as the folder rules read it: '\\' separates levels too.
std::string PakForm(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// An empty entry has nothing to read, wherever it points.
bool InsideFile(const Record& r, std::size_t size) { return r.length == 0 || std::uint64_t{r.offset} + r.length <= size; }

std::string DataOf(const Record& r, const std::string& bytes) { return r.length == 0 ? std::string() : bytes.substr(r.offset, r.length); }

// Folder paths the names imply, in pak form, as the views would ask for
// them; only those the engine takes as they are (ToPakPath leaves them
// alone).
std::vector<std::string> FoldersOf(const std::vector<Record>& records)
{
    std::vector<std::string> folders{""};
    std::set<std::string> seen{""};
    for (const Record& r : records) {
        const std::string name = PakForm(r.name);
        for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1)) {
            std::string folder = name.substr(0, slash);
            if (ToPakPath(folder) != folder || !seen.insert(folder).second) continue;
            folders.push_back(std::move(folder));
            if (folders.size() >= 48) return folders;
        }
    }
    return folders;
}

std::string PrefixOf(const std::string& folder) { return folder.empty() || folder.back() == '/' ? folder : folder + "/"; }

void CheckListings(CPakArchive& pak, const std::vector<Record>& records)
{
    bool leadingSlash = false;
    for (const Record& r : records) leadingSlash |= !r.name.empty() && (r.name[0] == '/' || r.name[0] == '\\');

    for (const std::string& folder : FoldersOf(records)) {
        const std::string prefix = PrefixOf(folder);
        StringArray all;
        StringArray files;
        StringArray subfolders;
        std::set<std::string> seen;
        for (const Record& r : records) {
            const std::string name = PakForm(r.name);
            if (name.compare(0, prefix.size(), prefix) != 0) continue;
            all.push_back(r.name);
            const std::string rest = name.substr(prefix.size());
            const std::size_t slash = rest.find('/');
            if (slash == std::string::npos)
                files.push_back(GetNamePart(r.name));
            else if (seen.insert(rest.substr(0, slash)).second)
                subfolders.push_back(rest.substr(0, slash));
        }
        StringArray got;
        pak.ListFolder(folder, got);
        Require(got == all, "ListFolder(\"" + folder + "\") disagrees with the directory");
        got.clear();
        pak.ListSubfolders(folder, got);
        Require(got == subfolders, "ListSubfolders(\"" + folder + "\") disagrees with the directory");
        // A name with a leading '/' has an empty first level; at the root
        // the engine counts it as a file, a plain reading as a folder.
        if (!(folder.empty() && leadingSlash)) {
            got.clear();
            pak.ListFolderFiles(folder, got);
            Require(got == files, "ListFolderFiles(\"" + folder + "\") disagrees with the directory");
        }
        if (!folder.empty() && folder.find("//") == std::string::npos && folder.front() != '/' && folder.back() != '/') {
            const std::size_t slash = folder.rfind('/');
            const std::string parent = slash == std::string::npos ? "" : folder.substr(0, slash);
            const std::string leaf = slash == std::string::npos ? folder : folder.substr(slash + 1);
            // The leaf goes through ToPakPath on its own, which takes "q:"
            // at its start for a drive.
            if (ToPakPath(leaf) != leaf) continue;
            Require(pak.FolderExists(parent, leaf), "FolderExists misses \"" + folder + "\"");
            const std::string missing = folder + "zz/";
            bool other = false;
            for (const Record& r : records) other |= PakForm(r.name).compare(0, missing.size(), missing) == 0;
            Require(other || !pak.FolderExists(parent, leaf + "zz"), "FolderExists finds a folder no name has");
        }
    }
}

// The record a caller's name picks: the exact stored name first, then its
// pak form, then the first name stored with '\\' that reads as that form
// (other tools store such names).
int PickRecord(const std::vector<Record>& records, const std::string& name)
{
    const std::string pakName = ToPakPath(name);
    for (const int found : {FirstIndex(records, name), FirstIndex(records, pakName)})
        if (found >= 0) return found;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].name.find('\\') != std::string::npos && PakForm(records[i].name) == pakName) return static_cast<int>(i);
    return -1;
}

void CheckLookupsAndReads(CPakArchive& pak, const std::vector<Record>& records, const std::string& bytes)
{
    std::vector<char> buffer;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        const int first = FirstIndex(records, r.name);
        Require(pak.FindEntry(r.name) == first, "FindEntry(\"" + r.name + "\") is not the first record of that name");
        Require(pak.EntryExists(r.name), "EntryExists misses \"" + r.name + "\"");
        Require(pak.FindEntryByName(PakForm(r.name)) == PickRecord(records, PakForm(r.name)),
                "FindEntryByName(\"" + PakForm(r.name) + "\") picks another record");
        (void)CPakArchive::GetTypeName(r.name);
        // A record's own name always finds the first record of that name.
        const std::uint32_t length = records[static_cast<std::size_t>(first)].length;
        const int kb = length == 0 ? 0 : length < 1024 ? 1 : static_cast<int>(length / 1024);
        Require(pak.GetEntrySizeKB(r.name) == kb, "GetEntrySizeKB(\"" + r.name + "\") is wrong");
        Require(pak.ReadEntryByName(r.name, nullptr) == length, "ReadEntryByName gives the wrong length");
        if (InsideFile(r, bytes.size())) {
            buffer.assign(r.length + 1, '\0');
            const std::string data = DataOf(r, bytes);
            Require(pak.ReadEntryData(i, buffer.data()), "an entry inside the file cannot be read");
            Require(std::string_view(buffer.data(), r.length) == data, "an entry reads back wrong bytes");
            const std::uint32_t skip = r.length / 3;
            Require(pak.ReadEntryPart(i, skip, buffer.data(), r.length - skip) &&
                        std::string_view(buffer.data(), r.length - skip) == std::string_view(data).substr(skip),
                    "part of an entry reads back wrong bytes");
            Require(!pak.ReadEntryPart(i, skip, buffer.data(), r.length - skip + 1), "a read past an entry's end succeeded");
        } else if (r.length <= (1u << 20)) {
            buffer.assign(r.length, '\0');
            Require(!pak.ReadEntryData(i, buffer.data()), "an entry running past the end of the file was read");
        }
    }
    StringArray gibbed;
    pak.GetGibbedNames(gibbed);
    Require(gibbed.empty(), "a freshly opened pak has gibbed entries");
}

// Where a stored name lands below an extraction folder.
std::string DiskForm(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// The stored name and bytes a successful extraction of `name` must have
// written.
bool ExpectedData(const std::vector<Record>& records, const std::string& bytes, const std::string& name, std::string& stored,
                  std::string& data)
{
    const int picked = PickRecord(records, name);
    if (picked < 0) return false;
    const Record& r = records[static_cast<std::size_t>(picked)];
    if (!InsideFile(r, bytes.size())) return false;
    stored = r.name;
    data = DataOf(r, bytes);
    return true;
}

void RequireFile(const std::string& path, const std::string& data, const std::string& what)
{
    std::string got;
    Require(ReadWholeFile(path, got), what + ": " + path + " is missing");
    Require(got == data, what + ": " + path + " holds the wrong bytes");
}

void CheckExtraction(CPakArchive& pak, const std::vector<Record>& records, const std::string& bytes,
                     const std::string& base)
{
    const std::string out = base + "/out";
    const std::string all = out + "/all";
    const std::string to = out + "/to";
    const std::string flat = out + "/flat";
    const std::string rel = out + "/rel";
    for (const std::string& folder : {all, to, flat, rel}) fs::create_directories(folder);

    std::string stored;
    std::string data;
    // After a whole-folder extraction each disk path holds the last entry
    // written there; only paths a single stored name leads to are judged.
    std::map<std::string, std::set<std::string>> storedAt;
    for (const Record& r : records) storedAt[DiskForm(r.name)].insert(r.name);
    const auto judge = [&](const std::string& folder, const Record& r, const char* what) {
        if (storedAt[DiskForm(r.name)].size() != 1) return;
        Require(ExpectedData(records, bytes, r.name, stored, data), std::string(what) + " succeeded with an unreadable entry");
        RequireFile(folder + "/" + DiskForm(stored), data, what);
    };

    // An entry that cannot be read (12: it runs past the end of the file)
    // fails alone: every entry not reported as failed is written.
    std::map<std::string, int> failed;
    pak.SetItemFailureReporter([&](const std::string& item, int code) { failed[item] = code; });
    pak.ExtractFolderTo("", all, true);
    pak.SetItemFailureReporter({});
    for (const Record& r : records) {
        const auto f = failed.find(r.name);
        const bool readable = InsideFile(records[static_cast<std::size_t>(FirstIndex(records, r.name))], bytes.size());
        Require(readable || f != failed.end(), "ExtractFolderTo reported no failure for an entry past the end of the file");
        if (f == failed.end())
            judge(all, r, "ExtractFolderTo");
        else
            Require(f->second != errEndOfFile || !readable, "ExtractFolderTo failed with 12 on an entry inside the file");
    }

    StringArray top;
    pak.ListSubfolders("", top);
    for (std::size_t t = 0; t < top.size() && t < 6; ++t) {
        const std::string target = rel + "/" + std::to_string(t);
        fs::create_directories(target);
        if (!pak.ExtractFolderRelative(top[t], target, true) || ToPakPath(top[t]) != top[t]) continue;
        for (const Record& r : records)
            if (r.name.compare(0, top[t].size() + 1, top[t] + "/") == 0) judge(target, r, "ExtractFolderRelative");
    }

    for (std::size_t i = 0; i < records.size() && i < 24; ++i) {
        const std::string& name = records[i].name;
        if (pak.ExtractEntry(name, flat, true)) {
            Require(ExpectedData(records, bytes, name, stored, data), "ExtractEntry succeeded with an unreadable entry");
            RequireFile(flat + "/" + GetNamePart(stored), data, "ExtractEntry");
        }
        if (pak.ExtractEntryTo(name, to, true)) {
            Require(ExpectedData(records, bytes, name, stored, data), "ExtractEntryTo succeeded with an unreadable entry");
            RequireFile(to + "/" + DiskForm(stored), data, "ExtractEntryTo");
        }
        // The pak form of a stored name may pick another record.
        const std::string pakForm = ToPakPath(name);
        if (pakForm != name && pak.ExtractEntryTo(pakForm, to, true)) {
            Require(ExpectedData(records, bytes, pakForm, stored, data), "ExtractEntryTo succeeded with an unreadable entry");
            RequireFile(to + "/" + DiskForm(stored), data, "ExtractEntryTo (pak form)");
        }
        if (i < 4 && pak.ExtractEntryBesidePak(name, true)) {
            Require(ExpectedData(records, bytes, name, stored, data), "ExtractEntryBesidePak succeeded with an unreadable entry");
            RequireFile(base + "/pak/" + DiskForm(stored), data, "ExtractEntryBesidePak");
        }
    }
    (void)pak.CreateDiskFolders(records.empty() ? "x/y" : records[0].name, base + "/out/made");

    // Nothing outside the two folders, and no file a name does not explain
    // (a leftover temporary file, a name bent on the way).
    std::set<std::string> names{kPakName};
    for (const Record& r : records) {
        names.insert(DiskForm(r.name));
        names.insert(GetNamePart(r.name));
    }
    for (const std::string& path : ListTree(base)) {
        Require(path == "pak" || path == "out" || path.compare(0, 4, "pak/") == 0 || path.compare(0, 4, "out/") == 0,
                "extraction wrote outside its folder: " + path);
        std::error_code error;
        if (!fs::is_regular_file(base + "/" + path, error)) continue;
        const std::size_t cut = path.compare(0, 4, "pak/") == 0 ? 4 : path.compare(0, 8, "out/rel/") == 0 ? path.find('/', 8) + 1 : path.find('/', 4) + 1;
        Require(names.count(path.substr(cut)) != 0, "extraction left a file no entry names: " + path);
    }
}

// Every byte the directory and the entries hold lies inside the file past
// the header, and no two of them share a byte (empty entries hold none).
bool IsSound(const std::vector<Record>& records, const std::string& bytes)
{
    const std::uint64_t dirOffset = U32(bytes, 4);
    const std::uint64_t dirLength = records.size() * 64;  // whole records only, as read
    bool sound = dirLength == 0 || (dirOffset >= 12 && dirOffset + dirLength <= bytes.size());
    std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
    if (dirLength != 0) ranges.emplace_back(dirOffset, dirOffset + dirLength);
    for (const Record& r : records) {
        if (r.length == 0) continue;
        sound &= r.offset >= 12 && InsideFile(r, bytes.size());
        ranges.emplace_back(r.offset, std::uint64_t{r.offset} + r.length);
    }
    std::sort(ranges.begin(), ranges.end());
    for (std::size_t i = 1; i < ranges.size(); ++i) sound &= ranges[i - 1].second <= ranges[i].first;
    return sound;
}

void CheckUnusedSpace(CPakArchive& pak, const std::vector<Record>& records, const std::string& bytes)
{
    const std::uint64_t dirLength = records.size() * 64;
    std::uint64_t live = 0;
    for (const Record& r : records) live += r.length;
    const std::uint64_t unused = pak.GetUnusedSpaceBytes();
    const int kb = pak.GetUnusedSpaceKB();
    Require(kb == (unused == 0 ? 0 : std::max<int>(1, static_cast<int>(unused / 1024))), "GetUnusedSpaceKB disagrees with the bytes");

    // Whatever the layout, the bytes that the header, the stored directory
    // and the records leave uncovered, each counted once (a running count
    // of the ranges that start and end at each byte).
    std::vector<int> starts(bytes.size() + 1, 0);
    const auto cover = [&](std::uint64_t offset, std::uint64_t length) {
        const std::uint64_t end = std::min<std::uint64_t>(offset + length, bytes.size());
        if (offset >= end) return;
        ++starts[static_cast<std::size_t>(offset)];
        --starts[static_cast<std::size_t>(end)];
    };
    cover(0, 12);
    cover(U32(bytes, 4), U32(bytes, 8));
    for (const Record& r : records) cover(r.offset, r.length);
    std::uint64_t uncovered = 0;
    int depth = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) uncovered += (depth += starts[i]) == 0 ? 1 : 0;
    Require(unused == uncovered, "unused space is not the bytes nothing covers");

    // When the layout is plainly sound the figure is plain arithmetic, and
    // recovery may run; otherwise it refuses with 25.
    const bool sound = IsSound(records, bytes);
    if (sound && U32(bytes, 8) == dirLength)
        Require(12 + dirLength + live + unused == bytes.size(), "a sound pak reports the wrong unused space");
    Require(pak.GetRecoveryRefusal() == (sound ? errGeneric : errRecoverIncomplete),
            "the recovery refusal disagrees with the layout");
}

// A copy of the pak named like one of its top-level entries: extracting
// beside it fails for that entry alone (9) and never replaces the pak.
void CheckExtractionOverPak(const std::vector<Record>& records, const std::string& bytes, const std::string& base)
{
    const auto named = std::find_if(records.begin(), records.end(), [](const Record& r) {
        return IsSafeRelativeName(r.name) && r.name.find_first_of("/\\") == std::string::npos;
    });
    if (named == records.end()) return;
    const std::string folder = base + "/named";
    const std::string path = folder + "/" + named->name;
    fs::create_directories(folder);
    WriteWholeFile(path, bytes);
    CPakArchive pak;
    Require(pak.OpenPak(path), "a copy of an opened pak does not open");
    std::map<std::string, int> failed;
    pak.SetItemFailureReporter([&](const std::string& item, int code) { failed[item] = code; });
    pak.ExtractFolderBesidePak("", true);
    pak.SetItemFailureReporter({});
    Require(failed[named->name] == errSharingViolation, "extracting an entry over the pak itself was not refused with 9");
    Require(!pak.ExtractEntryBesidePak(named->name, true) && pak.GetError() == errSharingViolation,
            "extracting one entry over the pak itself was not refused with 9");
    pak.ClosePak();
    std::string after;
    Require(ReadWholeFile(path, after) && after == bytes, "extraction replaced the pak it was reading");
}

// Changes on a forged pak: refused (15) without a write when a write could
// damage the header, the directory or the data; otherwise new data goes
// past every byte an entry claims, and recovery keeps the records in their
// directory order.
void CheckChanges(const std::vector<Record>& records, const std::string& bytes, const std::string& base)
{
    const std::string path = base + "/change.pak";
    const std::string source = base + "/source";
    const std::string file = source + "/added.new";
    const std::string data = "data the pak never held";
    WriteWholeFile(path, bytes);
    fs::create_directories(source);
    WriteWholeFile(file, data);
    CPakArchive pak;
    Require(pak.OpenPak(path) && !pak.IsReadOnly(), "a copy of an opened pak does not open for changing");

    const std::uint64_t dirOffset = pak.GetHeader().dirOffset;
    const std::uint64_t dirEnd = dirOffset + records.size() * 64;
    bool unsafe = dirEnd != dirOffset && dirOffset < 12;
    std::uint64_t claimedEnd = 12;
    for (const Record& r : records) {
        if (r.length == 0) continue;
        const std::uint64_t end = std::uint64_t{r.offset} + r.length;
        claimedEnd = std::max(claimedEnd, end);
        unsafe |= r.offset < 12 || (r.offset < dirEnd && dirOffset < end);
    }
    const bool tooFar = claimedEnd + data.size() + dirEnd - dirOffset + 64 > 0x7FFFFFFFu;
    // A name the pak has already keeps the add from adding (22, before any
    // question of room).
    const bool taken = std::any_of(records.begin(), records.end(), [](const Record& r) {
        return PakForm(r.name) == "added.new" || PakForm(r.name).compare(0, 10, "added.new/") == 0;
    });
    std::string after;
    if (!unsafe && tooFar && taken) return;
    if (unsafe || tooFar) {
        const std::string first = records.empty() ? "x" : records[0].name;
        const std::vector<std::pair<const char*, std::function<bool()>>> changes = {
            {"adding", [&] { return pak.AddFileFromDisk(file, "", false); }},
            {"importing", [&] { return pak.ImportFolder(source, "", false); }},
            {"gibbing", [&] { return pak.GibEntryByName(first, true); }},
            {"gibbing a folder", [&] { return pak.GibFolder("maps"); }},
            {"renaming", [&] { return pak.RenameEntryByName(first, "renamed.new"); }},
            {"moving a folder", [&] { return pak.RenameFolder("maps", "moved"); }},
            {"creating a folder", [&] { return pak.CreateFolder("newdir"); }},
        };
        // Past 2 GiB only the new data is refused.
        for (std::size_t i = 0; i < (unsafe ? changes.size() : 1); ++i)
            Require(!changes[i].second() && pak.GetError() == errBadDirectory,
                    std::string(changes[i].first) + " was not refused with 15 where a write could damage the pak");
        if (unsafe)
            Require(!pak.RecoverUnusedSpace() && pak.GetError() == errRecoverIncomplete, "recovery was not refused with 25");
        pak.ClosePak();
        Require(ReadWholeFile(path, after) && after == bytes, "a refused change altered the pak");
        return;
    }
    // Far claims make files too large to compare byte for byte.
    if (claimedEnd > (1u << 20) || taken) return;
    Require(pak.AddFileFromDisk(file, "", false), "adding was refused (code " + std::to_string(pak.GetError()) + ")");
    Require(ReadWholeFile(path, after), "the pak is gone after adding");
    const Decoded added = Decode(after);
    Require(added.records.size() == records.size() + 1, "adding did not add one record");
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        const Record& now = added.records[i];
        Require(now.name == r.name && now.offset == r.offset && now.length == r.length, "adding changed another record");
        // What an entry reads past the old end of the file was never written.
        if (r.length == 0 || r.offset >= after.size()) continue;
        std::string old = bytes.size() > r.offset ? bytes.substr(r.offset, r.length) : std::string();
        old.resize(std::min<std::uint64_t>(r.length, after.size() - r.offset), '\0');
        Require(after.compare(r.offset, old.size(), old) == 0, "adding changed bytes an entry holds");
    }
    const Record& last = added.records.back();
    Require(last.name == "added.new" && last.offset >= claimedEnd && U32(after, 4) >= claimedEnd &&
                DataOf(last, after) == data,
            "adding placed the new data or directory where an entry claims bytes");

    // Only a sound pak is packed; records keep their order and bytes, and
    // empty entries their offsets.
    const bool sound = IsSound(added.records, after);
    const bool recovered = pak.RecoverUnusedSpace();
    std::string packed;
    Require(ReadWholeFile(path, packed), "the pak is gone after recovering");
    if (!sound) {
        Require(!recovered && pak.GetError() == errRecoverIncomplete && packed == after, "recovery did not refuse an unsound pak");
        return;
    }
    Require(recovered, "recovering a sound pak failed (code " + std::to_string(pak.GetError()) + ")");
    const Decoded result = Decode(packed);
    Require(result.records.size() == added.records.size(), "recovery changed the number of records");
    std::uint64_t live = 0;
    for (std::size_t i = 0; i < result.records.size(); ++i) {
        const Record& was = added.records[i];
        const Record& now = result.records[i];
        Require(now.name == was.name && DataOf(now, packed) == DataOf(was, after) && (was.length != 0 || now.offset == was.offset),
                "recovery changed a record's place in the directory, its bytes or an empty entry's offset");
        live += now.length;
    }
    Require(U32(packed, 4) == 12 + live && packed.size() == 12 + live + result.records.size() * 64,
            "recovery did not pack the data behind the header with the directory last");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string base = WorkFolder();
    EmptyFolder(base);
    fs::create_directories(base + "/pak");
    fs::create_directories(base + "/out");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = base + "/pak/" + kPakName;
    WriteWholeFile(path, bytes);

    const Decoded decoded = Decode(bytes);
    CPakArchive pak;
    const bool opened = pak.OpenPak(path);
    Require(!(opened && decoded.mustRefuse), "opened bytes no reader can take as a pak");
    Require(opened || !decoded.mustOpen, "refused a pak every reader can open (code " + std::to_string(pak.GetError()) + ")");
    if (!opened) {
        Require(!pak.IsOpen() && pak.GetEntries().empty(), "a failed open left a pak open");
        return 0;
    }
    if (const auto parsed = test::ParsePak(bytes)) Require(parsed->entries.size() == decoded.records.size(), "the independent reader sees other records");

    const PakEntryArray& entries = pak.GetEntries();
    Require(entries.size() == decoded.records.size(), "the directory has the wrong number of records");
    Require(pak.GetHeader().dirLength == entries.size() * 64, "dirLength does not match the records read");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Record& r = decoded.records[i];
        Require(entries[i].Name() == r.name && entries[i].offset == r.offset && entries[i].length == r.length,
                "record " + std::to_string(i) + " is not what the bytes say");
    }

    CheckLookupsAndReads(pak, decoded.records, bytes);
    CheckListings(pak, decoded.records);
    CheckExtraction(pak, decoded.records, bytes, base);
    CheckUnusedSpace(pak, decoded.records, bytes);
    Require(pak.ClosePak(), "closing failed: " + pak.GetErrorText());
    CheckExtractionOverPak(decoded.records, bytes, base);
    CheckChanges(decoded.records, bytes, base);
    return 0;
}
