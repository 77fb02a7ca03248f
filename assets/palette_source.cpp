// The palette search: this pak, its game folder, id1, the user's file.
#include "palette_source.h"

#include "pak_archive.h"

#include <filesystem>

namespace vantor {

namespace {

constexpr const char* kPaletteEntry = "gfx/palette.lmp";

// "id1/pak0.pak" for /games/quake/id1/pak0.pak: enough to tell paks apart
// without the user's whole folder tree.
std::string ShortName(const std::filesystem::path& path)
{
    const std::filesystem::path folder = path.parent_path().filename();
    return folder.empty() ? path.filename().string() : (folder / path.filename()).string();
}

bool ReadPaletteEntry(CPakArchive& pak, CPalette& palette)
{
    if (pak.GetEntryLength(kPaletteEntry) != static_cast<std::int64_t>(kPaletteBytes))
        return false;
    return pak.ReadEntryByName(kPaletteEntry, palette.rgb.data()) == kPaletteBytes;
}

bool SameFile(IFileSystem& fs, const std::string& a, const std::string& b)
{
    FileStatus first;
    FileStatus second;
    return fs.Status(a, first, true) == FileCause::none && fs.Status(b, second, true) == FileCause::none &&
           first.identity == second.identity;
}

// The winning copy of gfx/palette.lmp in one game folder that is 768 bytes,
// the pak the search started from left out (it was asked first).
bool SearchGameFolder(const std::filesystem::path& base, const std::string& folder, const CPaletteSearch& search,
                      IFileSystem& fs, CPaletteSource& source)
{
    CGameResolver resolver(fs);
    CGameView view;
    if (!resolver.Resolve(base.string(), {folder}, search.profile, view))
        return false;
    const CGameFile* file = view.Find(kPaletteEntry);
    if (file == nullptr)
        return false;
    for (const CGameCopy& copy : file->copies) {
        const CGameLayer& layer = view.layers[static_cast<std::size_t>(copy.nLayer)];
        if (!layer.bPak) {
            const std::filesystem::path loose = std::filesystem::path(layer.diskPath) / kPaletteEntry;
            if (ReadPaletteFile(loose.string(), source.palette, fs)) {
                source.description = "palette: " + layer.gameFolder + "/" + kPaletteEntry;
                return true;
            }
            continue;
        }
        if (SameFile(fs, layer.diskPath, search.pakPath))
            continue;
        CPakArchive pak(fs);
        if (pak.OpenPakReadOnly(layer.diskPath) && ReadPaletteEntry(pak, source.palette)) {
            source.description = "palette: " + ShortName(layer.diskPath) + ": " + kPaletteEntry;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ReadPaletteFile(const std::string& path, CPalette& palette, IFileSystem& fs)
{
    std::unique_ptr<IFile> file;
    std::uint64_t nLength = 0;
    if (fs.Open(path, OpenMode::read, false, file) != FileCause::none ||
        file->GetLength(nLength) != FileCause::none || nLength != kPaletteBytes)
        return false;
    std::size_t nGot = 0;
    return file->ReadAt(0, palette.rgb.data(), kPaletteBytes, nGot) == FileCause::none && nGot == kPaletteBytes;
}

CPaletteSource FindPalette(const CPaletteSearch& search, IFileSystem& fs)
{
    CPaletteSource source;
    std::error_code error;
    std::filesystem::path pakPath = std::filesystem::absolute(search.pakPath, error);
    if (error)
        pakPath = search.pakPath;
    pakPath = pakPath.lexically_normal();
    if (search.pOpenPak != nullptr && search.pOpenPak->IsOpen()) {
        source.bFound = ReadPaletteEntry(*search.pOpenPak, source.palette);
    } else if (!search.pakPath.empty()) {
        CPakArchive pak(fs);
        source.bFound = pak.OpenPakReadOnly(pakPath.string()) && ReadPaletteEntry(pak, source.palette);
    }
    if (source.bFound) {
        source.description = "palette: " + ShortName(pakPath) + ": " + kPaletteEntry;
        return source;
    }

    const std::filesystem::path gameFolder = pakPath.parent_path();
    const std::filesystem::path base = gameFolder.parent_path();
    const std::string folderName = gameFolder.filename().string();
    if (!search.pakPath.empty() && !folderName.empty()) {
        source.bFound = SearchGameFolder(base, folderName, search, fs, source) ||
                        (folderName != "id1" && SearchGameFolder(base, "id1", search, fs, source));
        if (source.bFound)
            return source;
    }

    if (!search.userPaletteFile.empty()) {
        if (ReadPaletteFile(search.userPaletteFile, source.palette, fs)) {
            source.bFound = true;
            source.description = "palette: " + search.userPaletteFile + " (chosen in Options)";
            return source;
        }
        source.description = "No palette: gfx/palette.lmp is in neither this pak, its game folder nor id1, and " +
                             search.userPaletteFile + " is not a 768-byte palette.";
        return source;
    }
    source.description = "No palette: gfx/palette.lmp is in neither this pak, its game folder nor id1.";
    return source;
}

}  // namespace vantor
