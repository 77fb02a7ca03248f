// vantor: the desktop program.
#include "command_line.h"
#include "main_frame.h"
#include "pak_tree.h"
#include "pak_app.h"
#include "qt_prompt.h"
#include "file_layer.h"
#include "desktop_shell.h"
#include "version.h"
#include "view_text.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

using namespace vantor;

namespace {

// The arguments with every byte kept: a pak path need not be UTF-8, and
// QApplication::arguments() would replace what is not.
QStringList RawArguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(FromDiskBytes(argv[i]));
    return arguments;
}

}  // namespace

int main(int argc, char** argv)
{
    ReserveStandardDescriptors();
    // --help and --version are answered before Qt starts, so that they work
    // without a display.
    const CommandLine early = ParseCommandLine(RawArguments(argc, argv));
    if (early.action == CommandLine::help || early.action == CommandLine::version) {
        std::fputs(early.strMessage.toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setOrganizationName(QStringLiteral("Tessamont"));
    QApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("vantor"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vantor.svg")));

    // Qt has taken its own options out of argc and argv by now.
    const CommandLine line = ParseCommandLine(RawArguments(argc, argv));
    if (line.action == CommandLine::error) {
        std::fputs(line.strMessage.toLocal8Bit().constData(), stderr);
        return 2;
    }

    CDesktopShell shell;
    CQtPrompt prompt;
    CPakApp app(prompt, shell);
    if (!app.InitInstance(line.strPak))
        return 1;
    prompt.SetDefaultOwner(app.GetMainFrame());
    if (!line.strGameFolder.isEmpty())
        app.GetMainFrame()->GetTree()->OpenGameFolder(line.strGameFolder);
    return QApplication::exec();
}
