// The entry names the asset target decodes its input under: the first
// input byte picks one (modulo the count), so that one corpus reaches the
// decoders chosen by name as well as those chosen by magic number.
#pragma once

#include <array>

namespace vantor::fuzz {

inline constexpr std::array<const char*, 9> kAssetNames = {
    "gfx/pic.lmp", "gfx/palette.lmp", "gfx/colormap.lmp", "gfx/conchars", "gfx.wad",
    "maps/start.bsp", "progs/ogre.mdl", "progs/s_light.spr", "data.bin",
};

}  // namespace vantor::fuzz
