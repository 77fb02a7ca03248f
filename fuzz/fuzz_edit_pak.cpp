// Applies a fuzz-chosen script of changing operations (add, replace, gib,
// gib folder, restore, rename, rename folder, new folder, recover, import,
// batches, reopening, and a disk that fails or a process that dies on a
// chosen write) to a valid pak. After every step the pak on disk must parse,
// open in a fresh archive and hold only data the script gave it, each entry
// byte for byte and no piece of data twice; the open archive must agree with
// the disk whenever nothing is pending; and each operation must have done
// what it reported: a success changes exactly its entries, a refusal none,
// and where the name rules decide, the model knows the answer. A failed add
// leaves the file byte for byte as it was, a failed recovery no longer than
// its header needs.
#include "edit_script.h"
#include "pak_archive.h"
#include "pak_names.h"
#include "fuzz_common.h"
#include "faulty_file_system.h"
#include "pak_builder.h"
#include "pak_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>

using namespace vantor;
using namespace vantor::fuzz;

namespace {

namespace fs = std::filesystem;

constexpr int kMaxSteps = 48;

// VANTOR_FUZZ_TRACE=1 prints each step, for reading a finding.
bool Tracing()
{
    static const bool tracing = std::getenv("VANTOR_FUZZ_TRACE") != nullptr;
    return tracing;
}

class CScriptReader {
public:
    CScriptReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    bool AtEnd() const { return m_at >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// (name, blob id) for each live entry, sorted: what a user would see, with
// every byte accounted for by the id.
using Pair = std::pair<std::string, std::uint32_t>;
using Pairs = std::vector<Pair>;

Pairs Minus(const Pairs& a, const Pairs& b)
{
    Pairs out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

Pairs Sorted(Pairs pairs)
{
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

// A stored name as the folder rules read it: '\\' separates levels too.
std::string PakForm(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// The stored name of the live entry a caller's name picks, from the pairs
// in directory order: the exact stored name first, then its pak form, then
// the first name stored with '\\' that reads as that form ("" for none).
std::string Picked(const Pairs& ordered, const std::string& name)
{
    const std::string pakName = ToPakPath(name);
    for (const Pair& p : ordered)
        if (p.first == name) return p.first;
    for (const Pair& p : ordered)
        if (p.first == pakName) return p.first;
    for (const Pair& p : ordered)
        if (p.first.find('\\') != std::string::npos && PakForm(p.first) == pakName) return p.first;
    return {};
}

// The files and folders the live names make, in pak form.
struct Tree {
    explicit Tree(const Pairs& live)
    {
        for (const Pair& p : live) {
            const std::string name = PakForm(p.first);
            files.insert(name);
            for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1))
                folders.insert(name.substr(0, slash));
        }
    }
    std::set<std::string> files;
    std::set<std::string> folders;
};

// What a change must answer when it creates `name` (pak form; a folder's
// path when isFolder), the levels from keptFrom on carried over as they
// are: 0 when it may, else the code of the first broken rule.
int CreatedNameCode(const Tree& tree, const std::string& name, std::size_t keptFrom, bool isFolder)
{
    if (const int code = CheckPakPath(name)) return code;
    if (!IsSafeRelativeName(name)) return errBadName;
    for (std::size_t start = 0, end = 0; start < name.size() && start < keptFrom; start = end + 1) {
        end = std::min(name.find('/', start), name.size());
        const std::string path = name.substr(0, end);
        const bool asFolder = end < name.size() || isFolder;
        // A file where a folder is or the reverse, at any level.
        if ((asFolder ? tree.files : tree.folders).count(path) != 0) return errNameExists;
        // Only levels the pak does not have yet must pass the 8.3 rule.
        if ((asFolder ? tree.folders : tree.files).count(path) == 0 && CheckDosName(name.substr(start, end - start)) != 0)
            return errBadName;
    }
    return 0;
}

// Records where a file and a folder share a name: no change may add one.
std::size_t Clashes(const Pairs& live)
{
    const Tree tree(live);
    return static_cast<std::size_t>(std::count_if(live.begin(), live.end(),
                                                  [&](const Pair& p) { return tree.folders.count(PakForm(p.first)) != 0; }));
}

std::string PrefixOf(std::string_view folder)
{
    std::string prefix = ToPakPath(folder);
    if (!prefix.empty() && prefix.back() != '/') prefix.push_back('/');
    return prefix;
}

class CSession {
public:
    CSession()
        : m_base(WorkFolder()), m_pakPath(m_base + "/edit.pak"), m_copyPath(m_base + "/copy.pak"),
          m_src(m_base + "/src"), m_imp(m_base + "/imp")
    {
    }

    void Run(CScriptReader& script)
    {
        EmptyFolder(m_base);
        fs::create_directories(m_src);
        fs::create_directories(m_imp);
        m_blobLengths.assign(1, 0);
        StartingPak(script.Byte()).WriteTo(m_pakPath);
        OpenFresh();
        CheckDisk("the starting pak");

        for (int step = 0; step < kMaxSteps && !script.AtEnd(); ++step) RunStep(script);

        while (m_pak->InBatch()) Require(m_pak->EndBatch(), "ending the last batch failed: " + m_pak->GetErrorText());
        const Pairs before = LivePairs();
        Require(m_pak->ClosePak(), "closing failed: " + m_pak->GetErrorText());
        Require(m_pak->OpenPak(m_pakPath), "the pak does not reopen: " + m_pak->GetErrorText());
        Require(LivePairs() == before, "reopening shows other entries than were open");
        m_pak.reset();
    }

private:
    std::uint32_t NewBlob(std::uint32_t length)
    {
        m_blobLengths.push_back(length);
        return static_cast<std::uint32_t>(m_blobLengths.size() - 1);
    }
    std::string Blob(std::uint32_t length) { return length == 0 ? std::string() : BlobBytes(NewBlob(length), length); }

    static std::uint32_t SizeFor(std::uint8_t c)
    {
        if (c == 0xFE) return (1u << 20) + 5;  // more than one of the engine's 1 MiB transfers
        switch (c % 8) {
        case 0: return 0;
        case 1: return kMinBlobLength + (c >> 3);
        case 2: return 100 + (c >> 3) * 3;
        case 3: return 1000 + c;
        case 4: return 4096;
        case 5: return 20000 + (c >> 3);
        default: return 30 + c;
        }
    }

    test::PakBuilder StartingPak(std::uint8_t which)
    {
        using test::PakBuilder;
        PakBuilder b;
        switch (which % kStartingPaks) {
        case 0: break;  // the 12-byte empty pak
        case 1:
            b.File("a.txt", Blob(100)).File("maps/b.bsp", Blob(300)).File("maps/c.bsp", Blob(50)).File("maps/dm/d.bsp", Blob(70))
                .File("z.txt", Blob(10));
            break;
        case 2:
            b.Directory().File("a.txt", Blob(100)).Gap(33).File("maps/b.bsp", Blob(300)).File("z.txt", Blob(10));
            break;
        case 3:  // names the 8.3 rule no longer allows keep their levels usable
            b.File("a.txt", Blob(100)).Gap(40).File("maps/b.bsp", Blob(300)).Directory().File("maps/c.bsp", Blob(50)).Gap(7)
                .File("LONGFOLDERNAME/z.txt", Blob(10)).File("LONGFILENAME.TXT", Blob(12));
            break;
        case 4: b.File("a.txt", Blob(100)).File("maps/b.bsp", Blob(300)).Directory().Gap(90); break;
        case 5:  // twins, empty entries and a placeholder, as other tools leave them
            b.File("a.txt", Blob(20)).File("maps/a.txt", "").File("a.txt", Blob(30)).File("MAPS/b.bsp", Blob(40))
                .File("maps/new/temp.tmp", "").File("maps/a.txt", Blob(15));
            break;
        case 6:
            for (int i = 0; i < 80; ++i)
                b.File("f" + std::to_string(i % 8) + "/e" + std::to_string(i) + ".dat", Blob(8 + static_cast<std::uint32_t>(i) * 5));
            break;
        default:  // names stored with '\\', one of them reading as another's name
            b.Gap(20).File("maps\\b.bsp", Blob(60)).Gap(64).File("snd/x.wav", Blob(9)).Gap(5).File("maps/dm/f.bsp", Blob(200))
                .File("maps\\dm\\f.bsp", Blob(12));
            break;
        }
        return b;
    }

    void OpenFresh()
    {
        m_fs.Reset();
        m_pak = std::make_unique<CPakArchive>(m_fs);
        Require(m_pak->OpenPak(m_pakPath), "the pak does not open: " + m_pak->GetErrorText());
        m_bSynced = true;
    }

    // The id these bytes must be, after checking they are exactly that blob.
    std::uint32_t CheckBlob(std::string_view data, const std::string& where)
    {
        if (data.empty()) return 0;
        const std::uint32_t id = BlobId(data);
        Require(data.size() >= kMinBlobLength && id != 0 && id < m_blobLengths.size() && m_blobLengths[id] == data.size() &&
                    data == BlobBytes(id, static_cast<std::uint32_t>(data.size())),
                where + ": an entry holds bytes the script never gave it");
        return id;
    }

    // (name, blob id) for each live entry, in directory order.
    Pairs OrderedPairs()
    {
        Pairs pairs;
        std::string data;
        const PakEntryArray& entries = m_pak->GetEntries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            data.assign(entries[i].length, '\0');
            Require(m_pak->ReadEntryData(i, data.data()), "a live entry cannot be read: " + m_pak->GetErrorText());
            pairs.emplace_back(std::string(entries[i].Name()), CheckBlob(data, "in the open archive"));
        }
        return pairs;
    }
    Pairs LivePairs() { return Sorted(OrderedPairs()); }

    std::string DiskBytes()
    {
        std::string bytes;
        ReadWholeFile(m_pakPath, bytes);
        return bytes;
    }

    void CheckDisk(const std::string& after)
    {
        std::string bytes;
        Require(ReadWholeFile(m_pakPath, bytes), "the pak is gone after " + after);
        const auto parsed = test::ParsePak(bytes);
        Require(parsed.has_value(), "the pak on disk does not parse after " + after);
        std::set<std::uint32_t> seen;
        for (const auto& e : parsed->entries) {
            const std::uint32_t id = CheckBlob(e.data, "on disk after " + after);
            Require(id == 0 || seen.insert(id).second, "one piece of data is live twice after " + after);
        }

        // The pak itself is locked while open; a copy shows what a fresh
        // open would see.
        WriteWholeFile(m_copyPath, bytes);
        {
            CPakArchive fresh;
            Require(fresh.OpenPak(m_copyPath), "the pak does not reopen after " + after + ": " + fresh.GetErrorText());
            Require(fresh.GetEntries().size() == parsed->entries.size(), "a fresh open sees other records after " + after);
            std::string data;
            for (std::size_t i = 0; i < parsed->entries.size(); ++i) {
                data.assign(fresh.GetEntries()[i].length, '\0');
                Require(fresh.ReadEntryData(i, data.data()) && data == parsed->entries[i].data,
                        "a fresh open reads other bytes after " + after);
            }
        }

        if (!m_bSynced || m_pak->InBatch() || m_pak->HasPendingChanges()) return;
        using Rec = std::tuple<std::string, std::uint32_t, std::uint32_t>;
        std::vector<Rec> onDisk;
        std::vector<Rec> inMemory;
        for (const auto& e : parsed->entries) onDisk.emplace_back(e.name, e.offset, e.length);
        for (const PakEntry& e : m_pak->GetEntries()) inMemory.emplace_back(std::string(e.Name()), e.offset, e.length);
        std::sort(onDisk.begin(), onDisk.end());
        std::sort(inMemory.begin(), inMemory.end());
        Require(onDisk == inMemory, "the open archive and the disk disagree after " + after);
        Require(m_pak->GetHeader().dirOffset == parsed->dirOffset && m_pak->GetHeader().dirLength == parsed->dirLength,
                "the open archive's header is not the one on disk after " + after);
    }

    std::string SelectEntry(std::uint8_t s)
    {
        const PakEntryArray& entries = m_pak->GetEntries();
        if (!entries.empty() && s < kPoolSelector) return std::string(entries[s % entries.size()].Name());
        return CombinePath(kFolders[s % kFolders.size()], kLeaves[(s / kFolders.size()) % kLeaves.size()]);
    }

    std::string SelectFolder(std::uint8_t s)
    {
        std::vector<std::string> folders;
        for (const PakEntry& e : m_pak->GetEntries()) {
            std::string folder = GetFolderPart(e.Name());
            while (!folder.empty()) {
                folder.pop_back();
                if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
                folder = GetFolderPart(folder);
            }
        }
        if (!folders.empty() && s < kPoolSelector) return folders[s % folders.size()];
        return kFolders[s % kFolders.size()];
    }

    std::string SelectGibbed(std::uint8_t s)
    {
        StringArray names;
        m_pak->GetGibbedNames(names);
        if (!names.empty() && s < kPoolSelector) return names[s % names.size()];
        return SelectEntry(s);
    }

    // Writes a disk tree to import: files beneath the folder's own name, and
    // maybe a sub-folder that is fine, one that breaks the 8.3 rule, or one
    // that is empty. Returns the folder to import and the first blob id.
    std::string MakeImportTree(std::uint8_t shape, std::uint32_t& firstId)
    {
        EmptyFolder(m_imp);
        const std::string root = m_imp + ((shape & 0x10) ? "/LONGFOLDERNAME" : "/imp");
        fs::create_directories(root);
        firstId = static_cast<std::uint32_t>(m_blobLengths.size());
        const auto writeFile = [&](const std::string& folder, std::size_t pick) {
            const std::string leaf = kLeaves[pick % kLeaves.size()];
            if (leaf == "." || leaf == "..") return;
            WriteWholeFile(folder + "/" + leaf, Blob(SizeFor(static_cast<std::uint8_t>(shape + pick * 3))));
        };
        for (int i = 0; i < shape % 4; ++i) writeFile(root, shape / 4u + static_cast<std::size_t>(i) * 5);
        switch ((shape >> 2) & 3) {
        case 1: fs::create_directories(root + "/sub"); writeFile(root + "/sub", shape); break;
        case 2: fs::create_directories(root + "/LONGSUBFOLDER"); writeFile(root + "/LONGSUBFOLDER", 1); break;
        case 3: fs::create_directories(root + "/empty"); break;
        default: break;
        }
        return root;
    }

    void RunStep(CScriptReader& script)
    {
        const auto op = static_cast<EditOp>(script.Byte() % opCount);
        if (op == opFailWrite) {
            m_fault = {script.Byte() % 24, script.Byte()};
            return;
        }
        const std::optional<std::pair<int, std::uint8_t>> fault = m_fault;
        m_fault.reset();
        const bool dies = fault && (fault->second & 1) != 0;
        if (fault) {
            if (dies)
                m_fs.StopAfterWrites(m_fs.WriteCount() + fault->first);
            else
                m_fs.FailWriteOnce(m_fs.WriteCount() + fault->first, FileCause::diskFull);
        }

        const Pairs ordered = OrderedPairs();
        const Pairs before = Sorted(ordered);
        const Tree tree(before);
        const std::size_t gibbedBefore = m_pak->GetGibbed().size();
        // Memory and disk agree and nothing waits for a commit: a failed
        // change must leave the file as it is.
        const bool quiet = m_bSynced && !m_pak->InBatch() && !m_pak->HasPendingChanges();
        const std::string bytesBefore = quiet && (op == opAdd || op == opBeginBatch) ? DiskBytes() : std::string();
        std::string what;
        bool ok = false;
        // The code the step must end with (0: success), when the model knows.
        std::optional<int> code;
        // The exact promise of the step, checked when nothing failed on purpose.
        std::function<void(const Pairs&)> expect;
        const auto unchangedUnlessOk = [&](const Pairs& after, const std::function<void(const Pairs&, const Pairs&)>& onOk) {
            const Pairs added = Minus(after, before);
            const Pairs removed = Minus(before, after);
            if (!ok) {
                Require(after == before, what + " failed (code " + std::to_string(m_pak->GetError()) + ") yet changed entries");
                return;
            }
            onOk(added, removed);
        };

        switch (op) {
        case opAdd: {
            const std::string leaf = kLeaves[script.Byte() % kLeaves.size()];
            const std::string folder = kFolders[script.Byte() % kFolders.size()];
            const std::uint32_t size = SizeFor(script.Byte());
            const bool replace = (script.Byte() & 1) != 0;
            EmptyFolder(m_src);
            const std::string path = m_src + "/" + leaf;
            std::uint32_t id = 0;
            if (leaf != "." && leaf != "..") {
                const std::string blob = Blob(size);
                id = size == 0 ? 0 : static_cast<std::uint32_t>(m_blobLengths.size() - 1);
                WriteWholeFile(path, blob);
            }
            // '\' in the folder separates levels like '/'; a folder that
            // means the root is the root.
            const std::string given = CombinePath(PakFolder(folder), leaf);
            const std::string name = PakForm(given);
            const std::string existing = Picked(ordered, given);
            if (!existing.empty() && !replace) {
                code = 0;
            } else {
                code = CreatedNameCode(tree, name, std::string::npos, false);
                // Replacing one of twin records would leave the other.
                if (*code == 0 && !existing.empty() &&
                    std::count_if(ordered.begin(), ordered.end(), [&](const Pair& p) { return p.first == existing; }) > 1)
                    code = errNameExists;
            }
            what = "adding " + leaf + " to '" + folder + "'";
            ok = m_pak->AddFileFromDisk(path, folder, replace);
            expect = [&, name, replace, id, size](const Pairs& after) {
                unchangedUnlessOk(after, [&](const Pairs& added, const Pairs& removed) {
                    if (added.empty()) {
                        // Kept, or an empty entry replaced by an empty one.
                        const bool swappedEmpty = replace && size == 0 && m_pak->GetGibbed().size() == gibbedBefore + 1;
                        Require(removed.empty() && (!replace || swappedEmpty), what + " reported success without adding");
                        return;
                    }
                    Require(added.size() == 1 && added[0].second == id && added[0].first == name,
                            what + " did not add exactly its file under its name");
                    Require(removed.empty() || (replace && removed.size() == 1 && PakForm(removed[0].first) == name),
                            what + " removed entries it should not");
                    const int index = m_pak->FindEntry(added[0].first);
                    Require(index >= 0 && m_pak->GetEntries()[static_cast<std::size_t>(index)].length == size,
                            what + ": the name does not find the new data");
                });
            };
            break;
        }
        case opGib:
        case opGibLater: {
            const std::string name = SelectEntry(script.Byte());
            what = "gibbing " + name;
            ok = m_pak->GibEntryByName(name, op == opGib);
            code = Picked(ordered, name).empty() ? std::optional<int>() : 0;
            expect = [&, name](const Pairs& after) {
                unchangedUnlessOk(after, [&](const Pairs& added, const Pairs& removed) {
                    Require(added.empty() && removed.size() == 1 && removed[0].first == Picked(ordered, name),
                            what + " did not remove exactly that entry");
                    Require(m_pak->GetGibbed().size() == gibbedBefore + 1, what + " did not keep it restorable");
                });
            };
            break;
        }
        case opGibFolder: {
            const std::string folder = SelectFolder(script.Byte());
            what = "gibbing the folder '" + folder + "'";
            ok = m_pak->GibFolder(folder);
            // Every name that means the root is refused, never the whole pak gibbed.
            code = IsRootName(folder) ? errBadName : 0;
            expect = [&, folder](const Pairs& after) {
                unchangedUnlessOk(after, [&](const Pairs&, const Pairs&) {
                    const std::string prefix = PrefixOf(folder);
                    for (const Pair& p : before)
                        Require((PakForm(p.first).compare(0, prefix.size(), prefix) == 0) !=
                                    std::binary_search(after.begin(), after.end(), p),
                                what + " removed the wrong entries");
                });
            };
            break;
        }
        case opRestore: {
            const std::string name = SelectGibbed(script.Byte());
            what = "restoring " + name;
            ok = m_pak->RestoreByName(name);
            expect = [&, name](const Pairs& after) {
                unchangedUnlessOk(after, [&](const Pairs& added, const Pairs& removed) {
                    // An empty entry swapped with an empty one of that name shows no change.
                    if (added.empty() && removed.empty() &&
                        std::binary_search(after.begin(), after.end(), Pair(name, 0)))
                        return;
                    Require(added.size() == 1 && added[0].first == name, what + " did not bring back exactly that name");
                    Require(removed.empty() || (removed.size() == 1 && removed[0].first == Picked(ordered, name)),
                            what + " removed entries it should not");
                });
            };
            break;
        }
        case opRenameEntry: {
            const std::string from = SelectEntry(script.Byte());
            const std::string folder = kFolders[script.Byte() % kFolders.size()];
            const std::string to = CombinePath(folder, kLeaves[script.Byte() % kLeaves.size()]);
            const std::string stored = Picked(ordered, from);
            const std::string n = ToPakPath(to);
            if (!stored.empty()) {
                // Moved under its own leaf name, the leaf is not judged again.
                const std::string leaf = GetNamePart(n);
                const bool keepsLeaf = !leaf.empty() && leaf == GetNamePart(stored);
                code = CreatedNameCode(tree, n, keepsLeaf ? n.size() - leaf.size() : std::string::npos, false);
                if (*code == 0 && (tree.files.count(n) != 0 || tree.folders.count(n) != 0)) code = errNameExists;
            }
            what = "renaming " + from + " to " + to;
            ok = m_pak->RenameEntryByName(from, to);
            expect = [&, stored, n](const Pairs& after) {
                unchangedUnlessOk(after, [&](const Pairs& added, const Pairs& removed) {
                    Require(added.size() == 1 && removed.size() == 1 && added[0].second == removed[0].second &&
                                removed[0].first == stored && added[0].first == n,
                            what + " did not move exactly that entry");
                });
            };
            break;
        }
        case opRenameFolder: {
            const std::string from = SelectFolder(script.Byte());
            const std::string folder = kFolders[script.Byte() % kFolders.size()];
            const std::uint8_t leaf = script.Byte();
            const std::string to = (leaf & 0x80) ? folder : CombinePath(folder, kLeaves[leaf % kLeaves.size()]);
            // The move as a whole: every new name, the folder's own levels
            // judged and the names beneath carried over as they are.
            Pairs moved = before;
            if (IsRootName(from) || IsRootName(to)) {
                code = errBadName;
            } else {
                const std::string o = PrefixOf(from);
                std::string n = ToPakPath(to);
                if (!n.empty() && n.back() == '/') n.pop_back();
                code = CreatedNameCode(tree, n, std::string::npos, true);
                if (*code == 0 && tree.folders.count(n) != 0) code = errNameExists;  // never merged
                std::set<std::string> landed;
                bool twins = false;
                for (Pair& p : moved) {
                    if (PakForm(p.first).compare(0, o.size(), o) != 0) continue;
                    p.first = n + "/" + ToPakPath(p.first.substr(o.size()));
                    if (*code == 0 && p.first.size() > kPakMaxNameLength) code = errPathTooLong;
                    twins |= !landed.insert(p.first).second;
                }
                if (*code == 0 && twins) code = errNameExists;
                std::sort(moved.begin(), moved.end());
            }
            what = "renaming the folder '" + from + "' to '" + to + "'";
            ok = m_pak->RenameFolder(from, to);
            expect = [&, moved](const Pairs& after) {
                unchangedUnlessOk(after, [&](const Pairs&, const Pairs&) {
                    Require(after == moved, what + " did not move exactly the folder's entries");
                });
            };
            break;
        }
        case opCreateFolder: {
            const std::uint8_t s = script.Byte();
            const std::uint8_t leaf = script.Byte();
            const std::string folder =
                (leaf & 0x80) ? SelectFolder(s) : CombinePath(SelectFolder(s), kLeaves[leaf % kLeaves.size()]);
            std::string f = ToPakPath(folder);
            if (IsRootName(folder)) {
                code = errBadName;
            } else {
                if (!f.empty() && f.back() == '/') f.pop_back();
                code = CreatedNameCode(tree, f, std::string::npos, true);
                if (*code == 0) code = CheckPakPath(f + "/temp.tmp");
                if (*code == 0 && tree.files.count(f + "/temp.tmp") != 0) code = errNameExists;
            }
            what = "creating the folder '" + folder + "'";
            ok = m_pak->CreateFolder(folder);
            expect = [&, f](const Pairs& after) {
                unchangedUnlessOk(after, [&](const Pairs& added, const Pairs& removed) {
                    Require(removed.empty() && added.size() == 1 && added[0].second == 0 && added[0].first == f + "/temp.tmp",
                            what + " did not add exactly its placeholder");
                });
            };
            break;
        }
        case opRecover: {
            what = "recovering unused space";
            std::vector<std::uint32_t> emptyAt;
            for (const PakEntry& e : m_pak->GetEntries()) emptyAt.push_back(e.length == 0 ? e.offset : 0);
            ok = m_pak->RecoverUnusedSpace();
            expect = [&, emptyAt](const Pairs& after) {
                Require(after == before, what + " changed entries");
                if (!ok) return;
                // Records keep their directory order (a twin name reads
                // the same record) and empty ones their offsets.
                Require(OrderedPairs() == ordered, what + " changed the order of the records");
                for (std::size_t i = 0; i < emptyAt.size(); ++i)
                    Require(m_pak->GetEntries()[i].length != 0 || m_pak->GetEntries()[i].offset == emptyAt[i],
                            what + " moved an empty entry");
                Require(m_pak->GetGibbed().empty(), what + " kept gibbed entries restorable");
                Require(m_pak->GetUnusedSpaceBytes() == 0, what + " left unused space");
                if (m_pak->InBatch()) return;
                std::string bytes;
                ReadWholeFile(m_pakPath, bytes);
                const auto parsed = test::ParsePak(bytes);
                std::uint64_t data = 0;
                for (const auto& e : parsed->entries) data += e.length;
                Require(parsed->dirOffset == 12 + data && bytes.size() == 12 + data + parsed->dirLength,
                        what + " did not pack the data behind the header with the directory last");
            };
            break;
        }
        case opImport: {
            const std::uint8_t shape = script.Byte();
            const std::string folder = kFolders[script.Byte() % kFolders.size()];
            const bool replace = (script.Byte() & 1) != 0;
            std::uint32_t firstId = 0;
            const std::string root = MakeImportTree(shape, firstId);
            what = "importing " + root.substr(m_imp.size() + 1) + " into '" + folder + "'";
            ok = m_pak->ImportFolder(root, folder, replace);
            expect = [&, replace, firstId](const Pairs& after) {
                const Pairs added = Minus(after, before);
                const Pairs removed = Minus(before, after);
                for (const Pair& p : added) Require(p.second == 0 || p.second >= firstId, what + " added data from elsewhere");
                for (const Pair& p : removed)
                    Require(replace && std::any_of(added.begin(), added.end(), [&](const Pair& a) { return a.first == p.first; }),
                            what + " removed an entry it did not replace");
                Require(Clashes(after) <= Clashes(before), what + " put a file and a folder under one name");
            };
            break;
        }
        case opBeginBatch:
            what = "beginning a batch";
            ok = true;
            if (m_pak->InBatch()) break;  // nesting is the engine's business, one level is enough here
            m_pak->BeginBatch();
            m_batchStart = bytesBefore;
            m_bBatchOfFailedAdds = quiet;
            expect = [&](const Pairs& after) { Require(after == before, "beginning a batch changed entries"); };
            break;
        case opEndBatch:
            what = "ending a batch";
            if (!m_pak->InBatch()) break;
            ok = m_pak->EndBatch();
            expect = [&, onlyFailedAdds = m_bBatchOfFailedAdds](const Pairs& after) {
                Require(ok, "ending a batch failed: " + m_pak->GetErrorText());
                Require(after == before, "ending a batch changed entries");
                Require(!onlyFailedAdds || DiskBytes() == m_batchStart,
                        "a batch of failed adds did not leave the pak's bytes as they were");
            };
            break;
        case opReopen:
            what = "closing and reopening";
        {
            // Closing lets the file go even when its last commit fails (and
            // says so): the pak is opened again either way.
            const bool closed = m_pak->ClosePak();
            ok = m_pak->OpenPak(m_pakPath) && closed;
        }
            expect = [&](const Pairs& after) {
                Require(ok, "closing and reopening failed: " + m_pak->GetErrorText());
                Require(after == before, "reopening shows other entries than were open");
            };
            break;
        case opFailWrite:
        case opCount: break;
        }
        if (op != opBeginBatch && !(op == opAdd && !ok)) m_bBatchOfFailedAdds = false;

        if (Tracing()) {
            const std::string how =
                !fault ? "" : (dies ? " [dies after write " : " [disk full at write ") + std::to_string(fault->first) + "]";
            std::fprintf(stderr, "step: %s%s -> %s (code %d)\n", what.c_str(), how.c_str(), ok ? "ok" : "failed",
                         m_pak->GetError());
        }
        if (dies) {
            // A killed process writes nothing more, not even from its
            // destructor; the next run opens what it left.
            m_pak.reset();
            OpenFresh();
            CheckDisk(what + " killed after " + std::to_string(fault->first) + " writes");
            return;
        }
        m_fs.Reset();
        const Pairs after = LivePairs();
        if (quiet && op == opAdd && !ok)
            Require(DiskBytes() == bytesBefore, what + " failed (code " + std::to_string(m_pak->GetError()) +
                                                    ") yet changed the pak's bytes");
        if (quiet && op == opRecover && !ok) {
            // Stopped part way: the file as long as its header needs.
            const auto parsed = test::ParsePak(DiskBytes());
            Require(parsed.has_value(), "the pak on disk does not parse after " + what);
            std::uint64_t needed = std::max<std::uint64_t>(12, std::uint64_t{parsed->dirOffset} + parsed->dirLength);
            for (const auto& e : parsed->entries)
                if (e.length != 0) needed = std::max<std::uint64_t>(needed, std::uint64_t{e.offset} + e.length);
            Require(parsed->fileLength == needed, what + " failed and left the file longer or shorter than its header needs");
        }
        if (fault) {
            m_bSynced = false;  // memory may hold a change the disk refused
        } else {
            if (code)
                Require(ok == (*code == 0) && (ok || m_pak->GetError() == *code),
                        what + (ok ? " succeeded" : " failed with code " + std::to_string(m_pak->GetError())) +
                            " where code " + std::to_string(*code) + " was due");
            if (expect) expect(after);
            const bool committed = op == opReopen || (ok && (after != before || op == opRecover || op == opEndBatch));
            if (committed && !m_pak->InBatch() && !m_pak->HasPendingChanges()) m_bSynced = true;
        }
        CheckDisk(what);
    }

    const std::string m_base;
    const std::string m_pakPath;
    const std::string m_copyPath;
    const std::string m_src;
    const std::string m_imp;
    std::vector<std::uint32_t> m_blobLengths;  // by blob id; 0 is no blob
    test::CFaultyFileSystem m_fs;
    std::unique_ptr<CPakArchive> m_pak;
    bool m_bSynced = true;
    std::optional<std::pair<int, std::uint8_t>> m_fault;
    // The pak's bytes when the open batch began with nothing pending, and
    // whether every step in it since was an add that failed.
    std::string m_batchStart;
    bool m_bBatchOfFailedAdds = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CScriptReader script(data, size);
    CSession session;
    session.Run(script);
    return 0;
}
