#include "qt_uninstall_prompt.h"

#include "uninstaller.h"

#include <QMessageBox>

namespace vantor {

namespace {

int RunMessageBox(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, QString::fromLatin1(kUninstallCaption), text, buttons);
    return box.exec();
}

}  // namespace

bool CQtUninstallPrompt::AskYesNo(const QString& text)
{
    // Escape and the window's close button count as No.
    return RunMessageBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CQtUninstallPrompt::Inform(const QString& text)
{
    RunMessageBox(QMessageBox::NoIcon, text, QMessageBox::Ok);
}

void CQtUninstallPrompt::ShowError(const QString& text)
{
    RunMessageBox(QMessageBox::Warning, text, QMessageBox::Ok);
}

}  // namespace vantor
