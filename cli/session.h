// Opening the pak a command works on, with the failure reported the one
// way every command reports it.
#pragma once

#include "pak_archive.h"

#include <string>

namespace vantor::cli {

// Read-only and shared with other readers; false (reported) when the pak
// cannot be opened.
bool OpenForReading(CPakArchive& pak, const std::string& path);
// For writing, excluding every other opener; false (reported, code 3's
// text) also when it can only be read: a change must not get as far as its
// first item to find that out.
bool OpenForChanging(CPakArchive& pak, const std::string& path);

// The live record the user means by `name`: the name exactly as stored,
// else its pak form (so "\maps\a.bsp" finds maps/a.bsp). -1 when none.
int FindNamedEntry(const CPakArchive& pak, const std::string& name);

// Whether a command-line name means a folder (a trailing separator).
bool NamesFolder(const std::string& name);

}  // namespace vantor::cli
