#include "game_layers.h"

#include "pak_format.h"

#include <algorithm>
#include <charconv>

namespace vantor {

namespace {

// Deep enough for any game's folders, shallow enough to stop a loop of
// folders that the file layer does not report as links.
constexpr int kMaxLooseDepth = 32;
// A folder picked by mistake (a home folder, "/") must not be read to its
// end: no game has this many loose files.
constexpr std::size_t kMaxLooseFiles = 200000;
// A forged header must not make a listing allocate gigabytes.
constexpr std::uint64_t kMaxPakDirectory = std::uint64_t{1000000} * kPakEntrySize;

// ASCII only, whatever the locale: names are bytes.
char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return LowerAscii(c); });
    return lower;
}

bool HasPakExtension(std::string_view name)
{
    return name.size() > 4 && LowerAscii(name.substr(name.size() - 4)) == ".pak";
}

// The N of "pakN.pak" exactly as the classic engines spell it; -1 otherwise.
int ClassicPakNumber(std::string_view name)
{
    if (name.size() < 8 || name.substr(0, 3) != "pak" || name.substr(name.size() - 4) != ".pak")
        return -1;
    const std::string_view digits = name.substr(3, name.size() - 7);
    int n = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (error != std::errc() || end != digits.data() + digits.size() || (digits.size() > 1 && digits[0] == '0'))
        return -1;
    return n;
}

bool SameFile(const FileStatus& a, const FileStatus& b)
{
    return a.size == b.size && a.modifiedNs == b.modifiedNs && a.changedNs == b.changedNs &&
           a.identity == b.identity;
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + '/' + name;
}

}  // namespace

const char* GameWarningName(CGameWarning::Kind kind)
{
    switch (kind) {
    case CGameWarning::Kind::numberingGap: return "numbering-gap";
    case CGameWarning::Kind::notLoaded: return "not-loaded";
    case CGameWarning::Kind::tooManyEntries: return "too-many-entries";
    case CGameWarning::Kind::unreadablePak: return "unreadable-pak";
    case CGameWarning::Kind::caseTwins: return "case-twins";
    case CGameWarning::Kind::duplicateInPak: return "duplicate-in-pak";
    case CGameWarning::Kind::tooManyLooseFiles: return "too-many-loose-files";
    }
    return "unknown";
}

const CGameFile* CGameView::Find(std::string_view path) const
{
    const auto it = std::lower_bound(files.begin(), files.end(), path,
                                     [](const CGameFile& file, std::string_view p) { return file.path < p; });
    return it != files.end() && it->path == path ? &*it : nullptr;
}

CGameResolver::CGameResolver(IFileSystem& fs) : m_fs(fs) {}

const CGameResolver::CPakListing& CGameResolver::ListPak(const std::string& path, const FileStatus& status)
{
    CPakListing& listing = m_paks[path];
    if (listing.bReadable || !listing.problem.empty()) {
        if (SameFile(listing.status, status))
            return listing;
    }
    listing = CPakListing();
    listing.status = status;
    // Read without a lock: the pak may be open for changes in this very
    // program, and a listing only needs the directory as it stands.
    std::unique_ptr<IFile> file;
    std::uint64_t length = 0;
    PakHeaderBytes headerBytes{};
    std::size_t got = 0;
    if (m_fs.Open(path, OpenMode::read, false, file) != FileCause::none || file->GetLength(length) != FileCause::none ||
        file->ReadAt(0, headerBytes.data(), headerBytes.size(), got) != FileCause::none || got != headerBytes.size()) {
        listing.problem = "cannot be read";
        return listing;
    }
    const PakHeader header = DecodeHeader(headerBytes);
    if (!header.HasMagic() || header.dirLength % kPakEntrySize != 0 ||
        std::uint64_t{header.dirOffset} + header.dirLength > length) {
        listing.problem = "not a pak, or its directory lies outside the file";
        return listing;
    }
    if (header.dirLength > kMaxPakDirectory) {
        listing.problem = "its directory claims more than a million entries";
        return listing;
    }
    std::vector<unsigned char> directory(header.dirLength);
    if (!directory.empty() &&
        (file->ReadAt(header.dirOffset, directory.data(), directory.size(), got) != FileCause::none ||
         got != directory.size())) {
        listing.problem = "its directory cannot be read";
        return listing;
    }
    const std::size_t count = directory.size() / kPakEntrySize;
    listing.names.reserve(count);
    listing.lengths.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const PakEntry entry = DecodeEntry(directory.data() + i * kPakEntrySize);
        listing.names.emplace_back(entry.Name());
        listing.lengths.push_back(entry.length);
    }
    listing.bReadable = true;
    return listing;
}

const CGameResolver::CFolderListing* CGameResolver::ListFolder(const std::string& folder)
{
    FileStatus status;
    if (m_fs.Status(folder, status, true) != FileCause::none || status.kind != FileKind::folder)
        return nullptr;
    const auto cached = m_folders.find(folder);
    if (cached != m_folders.end() && SameFile(cached->second.status, status))
        return &cached->second;
    std::vector<FolderItem> items;
    if (m_fs.ListFolder(folder, items) != FileCause::none)
        return nullptr;
    CFolderListing& listing = m_folders[folder];
    listing = CFolderListing();
    listing.status = status;
    for (FolderItem& item : items) {
        FileKind kind = item.kind;
        if (kind == FileKind::symlink) {
            // The engines open through links; a linked folder is not
            // entered, so links cannot make a loop.
            FileStatus target;
            kind = m_fs.Status(Join(folder, item.name), target, true) == FileCause::none && target.kind == FileKind::file
                       ? FileKind::file
                       : FileKind::none;
        }
        if (kind == FileKind::file)
            listing.files.push_back(std::move(item.name));
        else if (kind == FileKind::folder)
            listing.folders.push_back(std::move(item.name));
    }
    return &listing;
}

void CGameResolver::ListLooseFiles(const std::string& folder, const std::string& prefix,
                                   std::vector<std::string>& paths, int nDepth)
{
    const CFolderListing* pListing =
        nDepth <= kMaxLooseDepth && paths.size() < kMaxLooseFiles ? ListFolder(folder) : nullptr;
    if (pListing == nullptr)
        return;
    for (const std::string& name : pListing->files) {
        // The game folder's own paks are layers, not files in it.
        if (nDepth > 0 || !HasPakExtension(name))
            paths.push_back(prefix + name);
    }
    // Listings stay where they are while others are added.
    for (const std::string& name : pListing->folders)
        ListLooseFiles(Join(folder, name), prefix + name + '/', paths, nDepth + 1);
}

void CGameResolver::AddGameFolder(const std::string& folder, const std::string& name, GameProfile profile,
                                  std::vector<CGameLayer>& layers, std::vector<CGameWarning>& warnings)
{
    const CFolderListing* pListing = ListFolder(folder);
    if (pListing == nullptr)
        return;
    std::vector<std::string> paks;
    for (const std::string& file : pListing->files) {
        if (HasPakExtension(file))
            paks.push_back(file);
    }
    std::sort(paks.begin(), paks.end());
    // The paks the profile loads, lowest first.
    std::vector<std::string> loaded;
    if (profile == GameProfile::classic) {
        for (int n = 0; std::find(paks.begin(), paks.end(), "pak" + std::to_string(n) + ".pak") != paks.end(); ++n)
            loaded.push_back("pak" + std::to_string(n) + ".pak");
        for (const std::string& pak : paks) {
            if (std::find(loaded.begin(), loaded.end(), pak) != loaded.end())
                continue;
            const bool bNumbered = ClassicPakNumber(pak) >= 0;
            warnings.push_back({bNumbered ? CGameWarning::Kind::numberingGap : CGameWarning::Kind::notLoaded,
                                Join(folder, pak),
                                bNumbered ? "pak" + std::to_string(loaded.size()) + ".pak is missing"
                                          : "only pak0.pak, pak1.pak … are loaded"});
        }
    } else {
        loaded = paks;
        std::sort(loaded.begin(), loaded.end(), [](const std::string& a, const std::string& b) {
            const std::string la = LowerAscii(a);
            const std::string lb = LowerAscii(b);
            return la != lb ? la < lb : a < b;
        });
    }

    const CGameLayer loose{name, folder, false};
    // Classic engines search a folder's paks before its loose files.
    if (profile == GameProfile::classic)
        layers.push_back(loose);
    for (const std::string& pak : loaded) {
        const std::string path = Join(folder, pak);
        FileStatus status;
        m_fs.Status(path, status, true);
        const CPakListing& listing = ListPak(path, status);
        if (!listing.bReadable) {
            warnings.push_back({CGameWarning::Kind::unreadablePak, path, listing.problem});
            continue;
        }
        if (listing.names.size() > kClassicMaxPakEntries) {
            warnings.push_back({CGameWarning::Kind::tooManyEntries, path,
                                std::to_string(listing.names.size()) + " entries; the classic engines stop at " +
                                    std::to_string(kClassicMaxPakEntries)});
            if (profile == GameProfile::classic)
                continue;
        }
        layers.push_back({name, path, true});
    }
    if (profile == GameProfile::darkplaces)
        layers.push_back(loose);
}

bool CGameResolver::Resolve(const std::string& base, const std::vector<std::string>& gameFolders,
                            GameProfile profile, CGameView& view)
{
    view = CGameView();
    FileStatus status;
    if (m_fs.Status(base, status, true) != FileCause::none || status.kind != FileKind::folder)
        return false;

    std::vector<CGameLayer> layers;
    for (const std::string& name : gameFolders)
        AddGameFolder(Join(base, name), name, profile, layers, view.warnings);
    std::reverse(layers.begin(), layers.end());
    view.layers = std::move(layers);

    // The keys point into the pak listings and the loose lists, which stay
    // put until the files are built.
    std::vector<std::vector<std::string>> looseLists(view.layers.size());
    std::size_t nCopies = 0;
    for (std::size_t i = 0; i < view.layers.size(); ++i) {
        const CGameLayer& layer = view.layers[i];
        if (layer.bPak) {
            nCopies += m_paks.at(layer.diskPath).names.size();
        } else {
            ListLooseFiles(layer.diskPath, std::string(), looseLists[i], 0);
            if (looseLists[i].size() >= kMaxLooseFiles)
                view.warnings.push_back({CGameWarning::Kind::tooManyLooseFiles, layer.diskPath,
                                         "more than " + std::to_string(kMaxLooseFiles) + " loose files; the rest are left out"});
        }
        nCopies += looseLists[i].size();
    }
    std::unordered_map<std::string_view, std::size_t> byPath;
    byPath.reserve(nCopies);
    view.files.reserve(nCopies);
    const auto addCopy = [&](std::string_view path, const CGameCopy& copy) {
        const auto [it, bNew] = byPath.try_emplace(path, view.files.size());
        if (bNew)
            view.files.push_back({std::string(path), {}});
        std::vector<CGameCopy>& copies = view.files[it->second].copies;
        if (!copies.empty() && copies.back().nLayer == copy.nLayer && copy.nRecord >= 0)
            view.warnings.push_back({CGameWarning::Kind::duplicateInPak, view.layers[copy.nLayer].diskPath,
                                     std::string(path)});
        copies.push_back(copy);
    };
    for (std::size_t i = 0; i < view.layers.size(); ++i) {
        const CGameLayer& layer = view.layers[i];
        const int nLayer = static_cast<int>(i);
        if (!layer.bPak) {
            for (const std::string& path : looseLists[i])
                addCopy(path, {nLayer, -1, 0});
            continue;
        }
        const CPakListing& listing = m_paks.at(layer.diskPath);
        for (std::size_t r = 0; r < listing.names.size(); ++r)
            addCopy(listing.names[r], {nLayer, static_cast<int>(r), listing.lengths[r]});
    }
    byPath.clear();

    std::sort(view.files.begin(), view.files.end(),
              [](const CGameFile& a, const CGameFile& b) { return a.path < b.path; });
    // Paths that differ only in letter case: the same file on a disk that
    // ignores case, two files here.
    struct CaseHash {
        std::size_t operator()(std::string_view text) const
        {
            std::size_t hash = 14695981039346656037u;
            for (const char c : text)
                hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 1099511628211u;
            return hash;
        }
    };
    struct CaseEqual {
        bool operator()(std::string_view a, std::string_view b) const
        {
            return a.size() == b.size() &&
                   std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
        }
    };
    // Each path against the first path of its folded form; twins are rare,
    // so only they cost more than a lookup.
    std::unordered_map<std::string_view, std::size_t, CaseHash, CaseEqual> firstOfFolded;
    firstOfFolded.reserve(view.files.size());
    std::vector<std::size_t> firsts;
    std::unordered_map<std::size_t, std::string> twinsOf;
    for (std::size_t i = 0; i < view.files.size(); ++i) {
        const auto [it, bNew] = firstOfFolded.try_emplace(view.files[i].path, i);
        if (bNew)
            continue;
        std::string& twins = twinsOf[it->second];
        if (twins.empty()) {
            firsts.push_back(it->second);
            twins = view.files[it->second].path;
        }
        twins += ", " + view.files[i].path;
    }
    for (const std::size_t first : firsts)
        view.warnings.push_back({CGameWarning::Kind::caseTwins, base, twinsOf[first]});
    return true;
}

}  // namespace vantor
