// The byte language of fuzz_edit_pak, shared with the seed writer: one
// byte picks the starting pak, then each step is an operation byte and the
// argument bytes that operation reads. Missing bytes read as zero, so every
// input is a valid script.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace vantor::fuzz {

enum EditOp : std::uint8_t {
    opAdd,            // leaf, folder, size, flags (bit 0: replace)
    opGib,            // entry selector
    opGibLater,       // entry selector: gibbed now, written at the next commit
    opGibFolder,      // folder selector
    opRestore,        // gibbed-name selector
    opRenameEntry,    // entry selector, folder, leaf
    opRenameFolder,   // folder selector, folder, leaf (bit 7: the folder alone)
    opCreateFolder,   // folder selector, leaf
    opRecover,        //
    opImport,         // shape, folder, flags (bit 0: replace)
    opBeginBatch,     //
    opEndBatch,       //
    opReopen,         //
    opFailWrite,      // k, mode: the next step's write k fails (even mode: disk full) or the process dies after k writes
    opCount
};

inline constexpr int kStartingPaks = 8;

// Names tried by adding, renaming and new folders: good 8.3 names, names
// that differ only in case, the placeholder's name, and names every rule
// must refuse (the last folders all mean the root).
inline constexpr std::array<const char*, 14> kLeaves = {
    "a.txt", "b.bsp", "A.TXT", "dm1.bsp", "temp.tmp", "x", "end.wav", "12345678.123",
    "LONGFILENAME.TXT", "a.b.c", "..", ".", "bad:name", "sp ace.txt",
};

inline constexpr std::array<const char*, 17> kFolders = {
    "", "maps", "maps/dm", "MAPS", "sound/amb", "a/b/c/d/e/f/g", "progs/", "maps\\dm", "../up", "LONGFOLDERNAME",
    "p/q/r/s/t/u/v/w/x/y/z/p/q/r/s/t/u/v/w",  // the placeholder no longer fits beneath it
    "/lead", "c:/drive", "a//b", "//", "\\/", "C:///",
};

// Selectors pick an existing entry or folder below this value and a name
// from the pools above it, so that most steps act on what is there.
inline constexpr std::uint8_t kPoolSelector = 224;

// Writes scripts for the seed corpus.
class CEditScript {
public:
    explicit CEditScript(std::uint8_t startingPak) { m_bytes.push_back(static_cast<char>(startingPak)); }
    CEditScript& Step(EditOp op, std::initializer_list<std::uint8_t> args = {})
    {
        m_bytes.push_back(static_cast<char>(op));
        for (const std::uint8_t a : args) m_bytes.push_back(static_cast<char>(a));
        return *this;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

}  // namespace vantor::fuzz
