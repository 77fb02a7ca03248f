// Finding the palette a picture in a pak is drawn with, where the game
// would take it from, and saying where that was.
#pragma once

#include "asset_image.h"
#include "game_layers.h"

#include <string>

namespace vantor {

class CPakArchive;

struct CPaletteSearch {
    // The pak on disk the picture comes from.
    std::string pakPath;
    // That pak when the caller has it open (read through it, never opened
    // a second time); null to open pakPath for reading.
    CPakArchive* pOpenPak = nullptr;
    // Which paks the game folder loads, and in which order.
    GameProfile profile = GameProfile::classic;
    // A palette file the user chose (768 bytes); empty for none.
    std::string userPaletteFile;
};

struct CPaletteSource {
    bool bFound = false;
    CPalette palette;
    // Where it came from, for the user: "palette: id1/pak0.pak:
    // gfx/palette.lmp", "palette: /home/me/q1.lmp (chosen in Options)"; or,
    // when none was found, a sentence saying which places were searched
    // (the caller adds how to give one).
    std::string description;
};

// Looks for gfx/palette.lmp in this pak; else in the game folder holding
// it (its other paks and loose files, in the resolver's load order, the
// winning copy first); else in ../id1 the same way; else in the user's
// palette file. Copies that are not 768 bytes are passed over. Lists the
// game folders (their loose files included): search once per pak and keep
// the result.
CPaletteSource FindPalette(const CPaletteSearch& search, IFileSystem& fs = PlatformFileSystem());

// The palette of a palette.lmp; false when it is not exactly 768 bytes.
bool ReadPaletteFile(const std::string& path, CPalette& palette, IFileSystem& fs = PlatformFileSystem());

}  // namespace vantor
