#include "session.h"

#include "report.h"

#include "pak_names.h"

namespace vantor::cli {

namespace {

// Code 9 on opening can only mean another opener: say so, after the
// engine's own text.
void ReportOpenFailure(const CPakArchive& pak, const std::string& path)
{
    std::string text = pak.GetErrorText();
    if (pak.GetError() == errSharingViolation) text += "  Another program has the pak open.";
    ReportError(path, text);
}

}  // namespace

bool OpenForReading(CPakArchive& pak, const std::string& path)
{
    // Shared: readers never shut each other out.
    if (pak.OpenPakReadOnly(path)) return true;
    ReportOpenFailure(pak, path);
    return false;
}

bool OpenForChanging(CPakArchive& pak, const std::string& path)
{
    if (pak.OpenAndLoad(path, OpenMode::readWrite)) return true;
    // A reader's shared lock refuses a writer: that, not "access denied"
    // from the read-only attempt OpenPak would fall back to, is the reason.
    if (pak.GetError() == errSharingViolation || !pak.OpenPakReadOnly(path)) {
        ReportOpenFailure(pak, path);
        return false;
    }
    ReportError(path, CodeText(errAccessDenied));
    return false;
}

int FindNamedEntry(const CPakArchive& pak, const std::string& name) { return pak.FindEntryByName(name); }

bool NamesFolder(const std::string& name) { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }

}  // namespace vantor::cli
