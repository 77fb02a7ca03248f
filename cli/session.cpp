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
    if (!pak.OpenPak(path)) {
        ReportOpenFailure(pak, path);
        return false;
    }
    std::string text = CodeText(errAccessDenied);
    switch (pak.GetReadOnlyReason()) {
    case ReadOnlyReason::none: return true;
    // A reader's shared lock refuses a writer: that, not "access denied",
    // is the reason.
    case ReadOnlyReason::inUse: text = CodeText(errSharingViolation) + "  Another program has the pak open."; break;
    case ReadOnlyReason::tooBig: text += "  The pak is larger than 2 GiB, beyond what its offsets can reach."; break;
    case ReadOnlyReason::asked:
    case ReadOnlyReason::notWritable: break;
    }
    pak.ClosePak();
    ReportError(path, text);
    return false;
}

int FindNamedEntry(const CPakArchive& pak, const std::string& name) { return pak.FindEntryByName(name); }

bool NamesFolder(const std::string& name) { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }

}  // namespace vantor::cli
