// The program's command line: at most one pak to open, a game folder to
// show (--game-folder DIR), --help, --version.
#pragma once

#include <QString>
#include <QStringList>

namespace vantor {

struct CommandLine {
    enum Action { run, help, version, error };
    Action action = run;
    // The pak to open, as an absolute path; empty when none was named.
    QString strPak;
    // The game folder to show, as an absolute path; empty when none.
    QString strGameFolder;
    // The help or version text to print, or what is wrong with the line.
    QString strMessage;
};

// arguments[0] is the program. --help and --version win over everything
// else on the line, so they work even beside options Qt would take.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace vantor
