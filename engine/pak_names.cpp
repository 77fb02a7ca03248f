#include "pak_names.h"

#include "pak_error.h"
#include "pak_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace vantor {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

#ifdef _WIN32
// Names Windows takes for something other than the file they spell: a
// device (CON, NUL, COM1 ..., whatever the extension), or a name whose
// trailing dots and spaces it silently drops, so that two entries could
// land in one file.
bool IsWindowsAliasLevel(std::string_view level)
{
    if (level.back() == '.' || level.back() == ' ') return true;
    std::string stem(level.substr(0, level.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end()) return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9';
}
#endif

std::string_view DropOneLeadingSeparator(std::string_view text)
{
    if (!text.empty() && IsSeparator(text.front())) text.remove_prefix(1);
    return text;
}

}  // namespace

std::string ToPakPath(std::string_view path)
{
    if (path.empty()) return {};
    // A drive, and the separator after it ("C:x" keeps its "x").
    if (path.size() >= 2 && path[1] == ':') path.remove_prefix(2);
    path = DropOneLeadingSeparator(path);
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

bool IsRootName(std::string_view path)
{
    if (path.size() >= 2 && path[1] == ':') path.remove_prefix(2);
    return path.find_first_not_of("/\\") == std::string_view::npos;
}

std::string FolderPrefix(std::string_view folder)
{
    std::string prefix = ToPakPath(folder);
    if (!prefix.empty() && prefix.back() != '/') prefix.push_back('/');
    return prefix;
}

std::string PakFolder(std::string_view folder) { return IsRootName(folder) ? std::string() : ToPakPath(folder); }

bool StartsWithPakPrefix(std::string_view name, std::string_view prefix)
{
    const auto asPak = [](char c) { return c == '\\' ? '/' : c; };
    return name.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), name.begin(), [&](char p, char n) { return asPak(p) == asPak(n); });
}

std::string ToDiskPath(std::string_view path)
{
    std::string result(path);
#ifdef _WIN32
    std::replace(result.begin(), result.end(), '/', '\\');
#else
    std::replace(result.begin(), result.end(), '\\', '/');
#endif
    return result;
}

std::string CombinePath(std::string_view folder, std::string_view name)
{
    std::string folderPart(folder);
    if (!folderPart.empty()) {
        if (folderPart.back() == '\\')
            folderPart.back() = '/';
        else if (folderPart.back() != '/')
            folderPart.push_back('/');
        if (IsSeparator(folderPart.front())) folderPart.erase(0, 1);
    }
    return folderPart + std::string(DropOneLeadingSeparator(name));
}

std::string JoinDiskPath(std::string_view diskFolder, std::string_view name)
{
    while (!name.empty() && IsSeparator(name.front())) name.remove_prefix(1);
    std::string result(diskFolder);
#ifdef _WIN32
    const bool endsWithSeparator = !result.empty() && IsSeparator(result.back());
    const char separator = '\\';
#else
    const bool endsWithSeparator = !result.empty() && result.back() == '/';
    const char separator = '/';
#endif
    if (!result.empty() && !endsWithSeparator && !name.empty()) result.push_back(separator);
    return result + ToDiskPath(name);
}

std::string GetNamePart(std::string_view path)
{
    const std::size_t last = path.find_last_of("/\\");
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string GetFolderPart(std::string_view path)
{
    const std::size_t last = path.find_last_of("/\\");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

int CheckPakPath(std::string_view path)
{
    if (path.empty()) return errBadName;
    if (path.size() > kPakMaxNameLength) return errPathTooLong;
    if (IsSeparator(path.front())) return errBadName;
    if (path.find_first_of("*:?\"<>|^ ") != std::string_view::npos) return errBadName;
    return 0;
}

int CheckDosName(std::string_view name)
{
    if (name.size() > 12) return errBadName;
    const std::size_t dot = name.find('.');
    if (dot != std::string_view::npos) {
        if (dot == 0) return errBadName;
        if (name.find('.', dot + 1) != std::string_view::npos) return errBadName;
        if (name.size() - dot - 1 > 3) return errBadName;
        if (dot > 8) return errBadName;
    } else if (name.size() > 8) {
        return errBadName;
    }
    if (name.find_first_of("*\\/?\"<>|:^ ") != std::string_view::npos) return errBadName;
    return 0;
}

bool IsSafeRelativeName(std::string_view name)
{
    if (name.empty()) return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = name.find_first_of("/\\", start);
        const std::string_view level =
            name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (level.empty() || level == "." || level == "..") return false;
        if (level.find(':') != std::string_view::npos) return false;
        if (level.find('\0') != std::string_view::npos) return false;
#ifdef _WIN32
        if (IsWindowsAliasLevel(level)) return false;
#endif
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

const char* GetTypeName(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, const char*>, 10> kTypes = {{
        {".bin", "Binary Data"},
        {".bsp", "Binary Space Partition"},
        {".dat", "Dat File"},
        {".dem", "Demo"},
        {".lmp", "Lump File"},
        {".map", "Map Definition"},
        {".mdl", "Model"},
        {".spr", "Sprite"},
        {".wad", "Wad File"},
        {".wav", "Wave Sound"},
    }};
    std::string tail(name.substr(name.size() > 4 ? name.size() - 4 : 0));
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& [extension, typeName] : kTypes)
        if (tail == extension) return typeName;
    if (tail.size() >= 3 && std::string_view(tail).substr(tail.size() - 3) == ".qc") return "QuakeC File";
    return "Unknown";
}

}  // namespace vantor
