#include "palette_source.h"

namespace vantor {

CPaletteSource FindPalette(const CPaletteSearch&, IFileSystem&)
{
    CPaletteSource source;
    source.description = "no palette found";
    return source;
}

bool ReadPaletteFile(const std::string&, CPalette&, IFileSystem&)
{
    return false;
}

}  // namespace vantor
