#include "command_line.h"

#include "version.h"

#include "view_text.h"

#include <QDir>

#include <filesystem>
#include <system_error>

namespace vantor {

namespace {

const char kHelp[] =
    "Usage: vantor [options] [pak]\n"
    "Explorer and editor for Quake .pak archives.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Show this help and exit.\n"
    "  -v, --version  Show the version and exit.\n"
    "  --game-folder DIR\n"
    "                 Show which copy of every file the game folder DIR loads.\n"
    "\n"
    "Arguments:\n"
    "  pak            The pak file to open.\n";

// Made absolute by text alone: QFileInfo would turn the path into its local
// encoding and back, which loses bytes that are not UTF-8.
QString AbsolutePath(const QString& path)
{
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return QDir::cleanPath(FromDiskBytes(current.native()) + u'/' + path);
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    QStringList paks;
    QString problem;
    bool bOptionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!bOptionsEnded && (argument == u"--help" || argument == u"-h" || argument == u"-?")) {
            line.action = CommandLine::help;
            line.strMessage = QString::fromLatin1(kHelp);
            return line;
        }
        if (!bOptionsEnded && (argument == u"--version" || argument == u"-v")) {
            line.action = CommandLine::version;
            line.strMessage = QStringLiteral("Vantor %1\n").arg(QStringLiteral(VANTOR_VERSION_TEXT));
            return line;
        }
        if (!bOptionsEnded && (argument == u"--game-folder" || argument.startsWith(u"--game-folder="))) {
            const bool bAttached = argument.contains(u'=');
            if (!bAttached && i + 1 == arguments.size()) {
                if (problem.isEmpty())
                    problem = QStringLiteral("option '--game-folder' needs a folder");
            } else {
                line.strGameFolder =
                    AbsolutePath(bAttached ? argument.mid(argument.indexOf(u'=') + 1) : arguments[++i]);
            }
        } else if (!bOptionsEnded && argument == u"--") {
            bOptionsEnded = true;
        } else if (!bOptionsEnded && argument.startsWith(u'-') && argument.size() > 1) {
            if (problem.isEmpty())
                problem = QStringLiteral("unknown option '%1'").arg(argument);
        } else {
            paks.append(argument);
        }
    }
    if (problem.isEmpty() && paks.size() > 1)
        problem = QStringLiteral("only one pak can be opened at a time");
    if (!problem.isEmpty()) {
        line.action = CommandLine::error;
        line.strMessage = QStringLiteral("vantor: %1\nTry 'vantor --help' for more information.\n").arg(problem);
        return line;
    }
    if (!paks.isEmpty() && !paks.constFirst().isEmpty())
        line.strPak = QDir::toNativeSeparators(AbsolutePath(paks.constFirst()));
    return line;
}

}  // namespace vantor
