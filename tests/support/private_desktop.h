// A desktop of the tests' own for everything that asks GLib: its own
// application folders and association lists, and a stand-in editor that
// is the default program of the fake shell's "txt" and "map" types. GLib
// reads the XDG folders once per process, on first use, so the first call
// sets them up before any lookup; files a test adds must be written before
// its first lookup too.
#pragma once

#include <QString>

namespace vantor::test {

class CPrivateDesktop {
public:
    // Below the root: usr/ (the data folder, with the system's MIME
    // database linked in), etc-xdg/ (the config folder) and the editor.
    QString strRoot;
    QString strConfigHome;
    QString strDataHome;

    // Writes text to a file below the root, making its folders.
    void Write(const QString& relative, const QString& text) const;
    // Installs an application entry below dataFolder/applications and
    // returns its path; the entry runs /bin/true.
    QString Install(const QString& dataFolder, const QString& relative, const QString& extra = QString()) const;
};

const CPrivateDesktop& PrivateDesktop();

// The stand-in editor appends "argc=N", "cwd=DIR" and one "arg=…" line per
// argument to the file this variable names, then runs the shell command in
// the second variable with the file as $1 (nothing when unset). The
// variables are read when the editor starts.
inline constexpr char kEditorLogVariable[] = "VANTOR_TEST_EDITOR_LOG";
inline constexpr char kEditorActionVariable[] = "VANTOR_TEST_EDITOR_ACTION";

}  // namespace vantor::test
