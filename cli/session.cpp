#include "session.h"

#include "report.h"

#include "engine/pak_names.h"

namespace vantor::cli {

bool OpenForReading(CPakArchive& pak, const std::string& path)
{
    if (pak.OpenPak(path)) return true;
    ReportPakError(path, pak);
    return false;
}

bool OpenForChanging(CPakArchive& pak, const std::string& path)
{
    if (!OpenForReading(pak, path)) return false;
    if (!pak.IsReadOnly()) return true;
    ReportError(path, CodeText(errAccessDenied));
    return false;
}

int FindNamedEntry(const CPakArchive& pak, const std::string& name) { return pak.FindEntryByName(name); }

bool NamesFolder(const std::string& name) { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }

}  // namespace vantor::cli
