// What a Quake engine loads from a game folder: the paks and loose files
// it searches, in order, and for every path the copy that wins and the
// copies it shadows. Two families of engines differ in the rules, so the
// family is a profile:
//
//                      classic                         darkplaces
//   which paks         pak0.pak, pak1.pak … to the     every *.pak, by name
//                      first missing number            ignoring case
//   pak over pak       the higher number wins          the later one wins
//   loose vs. pak      the pak wins                    the loose file wins
//   over 2 048 names   the engine stops: not loaded    loaded
//
// Game folders come lowest first (id1, a mission pack, the mod); later
// folders win. A name twice in one pak: its first record wins. Names are
// compared as bytes: case matters inside paks, and loose files are named as
// the disk stores them.
#pragma once

#include "file_layer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantor {

enum class GameProfile { classic, darkplaces };

// A place files come from: one pak, or a game folder's loose files.
struct CGameLayer {
    std::string gameFolder;  // as given: "id1", "mymod"
    std::string diskPath;    // the pak file, or the game folder itself
    bool bPak = false;
};

// One copy of a path.
struct CGameCopy {
    int nLayer = -1;            // index into CGameView::layers
    int nRecord = -1;           // the pak's record; -1 for a loose file
    std::uint32_t nLength = 0;  // a pak record's length; 0 for a loose file
};

struct CGameFile {
    std::string path;              // as the game asks for it: "progs/player.mdl"
    std::vector<CGameCopy> copies;  // the winner first, then what it shadows
};

struct CGameWarning {
    enum class Kind {
        numberingGap,    // a pak after a missing number: never loaded
        notLoaded,       // a pak the profile does not load (its name)
        tooManyEntries,  // over 2 048 names: the classic engines stop
        unreadablePak,   // not a pak, or damaged
        caseTwins,       // names that differ only in letter case
        duplicateInPak,  // a name twice in one pak
        tooManyLooseFiles,  // not a game folder, most likely: not read to its end
    };
    Kind kind;
    std::string where;   // the pak or folder concerned
    std::string detail;  // the names concerned, or why
};

// A warning kind's name in reports: "numbering-gap", "case-twins" …
const char* GameWarningName(CGameWarning::Kind kind);

struct CGameView {
    std::vector<CGameLayer> layers;  // the search path, the winning layer first
    std::vector<CGameFile> files;    // by path, as bytes
    std::vector<CGameWarning> warnings;

    // Null when no layer holds path.
    const CGameFile* Find(std::string_view path) const;
};

inline constexpr std::size_t kClassicMaxPakEntries = 2048;

class CGameResolver {
public:
    explicit CGameResolver(IFileSystem& fs = PlatformFileSystem());

    // Resolves the game folders below base. False when base is not a
    // folder; a game folder that does not exist adds nothing. Paks are
    // read once and kept while their size, time and identity stay, so a
    // second call after one pak changed reads only that pak.
    bool Resolve(const std::string& base, const std::vector<std::string>& gameFolders, GameProfile profile,
                 CGameView& view);

private:
    struct CPakListing {
        FileStatus status;
        bool bReadable = false;
        std::string problem;
        std::vector<std::string> names;
        std::vector<std::uint32_t> lengths;
    };
    // A folder's files and sub-folders, kept while the folder's own time
    // and identity stay (adding, removing or renaming in it changes them).
    struct CFolderListing {
        FileStatus status;
        std::vector<std::string> files;
        std::vector<std::string> folders;
    };
    const CPakListing& ListPak(const std::string& path, const FileStatus& status);
    const CFolderListing* ListFolder(const std::string& folder);
    void AddGameFolder(const std::string& folder, const std::string& name, GameProfile profile,
                       std::vector<CGameLayer>& layers, std::vector<CGameWarning>& warnings);
    void ListLooseFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& paths,
                        int nDepth);

    IFileSystem& m_fs;
    std::unordered_map<std::string, CPakListing> m_paks;
    std::unordered_map<std::string, CFolderListing> m_folders;
};

}  // namespace vantor
