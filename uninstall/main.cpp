// vantor-uninstall: removes the current user's Vantor settings after asking.
// It has no window of its own and takes no arguments.
#include "qt_uninstall_prompt.h"
#include "uninstaller.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    vantor::CQtUninstallPrompt prompt;
    return vantor::RunUninstall(prompt);
}
