// Entry names and folder paths: the text rules that turn a flat list of
// names into folders, the checks a name must pass, and type names. Pure
// text functions, no archive state.
#pragma once

#include <string>
#include <string_view>

namespace vantor {

// Pak form: drops a drive ("C:" and the separator after it) and one leading
// separator, and turns every '\' into '/'. Nothing else changes.
std::string ToPakPath(std::string_view path);

// Disk form of the running platform. On POSIX both '/' and '\' become '/'
// (a '\' inside an entry name is a folder level everywhere).
std::string ToDiskPath(std::string_view path);

// What separates the levels of a disk path on the running platform.
#ifdef _WIN32
inline constexpr std::string_view kDiskSeparators = "/\\";
#else
inline constexpr std::string_view kDiskSeparators = "/";
#endif

// Joins a folder and a name with exactly one '/'; drops one leading
// separator from each. Inner separators are kept as they are.
std::string CombinePath(std::string_view folder, std::string_view name);

// A disk path below a disk folder: the folder as given (an absolute POSIX
// path keeps its leading '/'), one separator, and the pak-form name in disk
// form. CombinePath keeps the pak-form text rules and cannot do this.
std::string JoinDiskPath(std::string_view diskFolder, std::string_view name);

// Whether a name means the root: nothing is left once its drive and every
// separator are dropped ("", "/", "//", "\\/", "C:///").
bool IsRootName(std::string_view path);

// The prefix every name beneath a folder starts with: its pak form with
// one '/' at the end ("" for the root).
std::string FolderPrefix(std::string_view folder);

// A folder to put entries in, in pak form: a name that means the root
// ("", "/", "C:\\") is the root.
std::string PakFolder(std::string_view folder);

// Whether a stored name begins with a pak-form prefix, a '\' in the name
// counting as the '/' it separates on the platform the pak came from.
bool StartsWithPakPrefix(std::string_view name, std::string_view prefix);

// The text after the last '/' or '\'; the whole text when it has neither.
std::string GetNamePart(std::string_view path);

// The path without its name part, keeping the trailing separator
// (a/b/c.txt gives a/b/, c.txt gives "").
std::string GetFolderPart(std::string_view path);

// The path rule for a whole pak-form name or folder path. Returns 0 when it
// passes, else the code of the first failed check (21 or 23).
int CheckPakPath(std::string_view path);

// The 8.3 rule for one level without separators. Returns 0 or 23.
int CheckDosName(std::string_view name);

// True when every level of the name (split at '/' and '\') is a plain name:
// no empty level, no "." or "..", no leading separator, no drive or other
// ':'. Only such names may become files beneath an extraction folder. On
// Windows also no device name (CON, NUL, COM1 ...) and no level ending in a
// dot or space, which Windows would not keep as spelt.
bool IsSafeRelativeName(std::string_view name);

// The program's type name by extension (Quake's own types), else "Unknown".
const char* GetTypeName(std::string_view name);

}  // namespace vantor
