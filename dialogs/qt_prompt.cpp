#include "dialogs/qt_prompt.h"

#include "dialogs/folder_browser.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vantor {

namespace {

// Message boxes carry the program's name, as every box of the program does.
const QString kCaption = QStringLiteral("Vantor");

QMessageBox::Icon ToMessageBoxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::information: return QMessageBox::Information;
    case PromptIcon::question: return QMessageBox::Question;
    case PromptIcon::exclamation: return QMessageBox::Warning;
    case PromptIcon::stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

int RunMessageBox(QWidget* pOwner, const QString& text, PromptIcon icon, QMessageBox::StandardButtons buttons,
                  QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(ToMessageBoxIcon(icon), kCaption, text, buttons, pOwner);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

std::optional<QString> RunFileDialog(QWidget* pOwner, const FileChooser& chooser, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(pOwner, chooser.strTitle, QString(), chooser.strFilter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(chooser.strDefaultSuffix);
    if (!chooser.strInitialName.isEmpty())
        dialog.selectFile(chooser.strInitialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

}  // namespace

QWidget* CQtPrompt::Owner() const
{
    if (QWidget* pModal = QApplication::activeModalWidget())
        return pModal;
    if (QWidget* pActive = QApplication::activeWindow())
        return pActive;
    return m_pDefaultOwner.data();
}

void CQtPrompt::ShowMessage(const QString& text, PromptIcon icon)
{
    RunMessageBox(Owner(), text, icon, QMessageBox::Ok, QMessageBox::Ok);
}

bool CQtPrompt::AskYesNo(const QString& text, PromptIcon icon)
{
    return RunMessageBox(Owner(), text, icon, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

bool CQtPrompt::AskOkCancel(const QString& text, PromptIcon icon)
{
    return RunMessageBox(Owner(), text, icon, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

int CQtPrompt::AskReplace(const QString& message)
{
    // Stands in for the Confirm Replace dialog until that has its own class;
    // same buttons, same answers, No as the default.
    const QString text = message.isEmpty() ? QStringLiteral("One or more of the items you are trying to copy already "
                                                            "exist.\nOverwrite existing items?")
                                           : message;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Confirm Replace"), text, QMessageBox::NoButton, Owner());
    QPushButton* pYes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* pYesToAll = box.addButton(QStringLiteral("Yes To &All"), QMessageBox::YesRole);
    QPushButton* pNo = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QPushButton* pCancel = box.addButton(QStringLiteral("&Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(pNo);
    box.setEscapeButton(pCancel);
    box.exec();
    const QAbstractButton* pClicked = box.clickedButton();
    if (pClicked == pYes)
        return replaceYes;
    if (pClicked == pYesToAll)
        return replaceYesToAll;
    if (pClicked == pNo)
        return replaceNo;
    return replaceCancel;
}

std::optional<QString> CQtPrompt::BrowseForFolder(const QString& title, const QString& initialPath)
{
    return RunFolderBrowser(Owner(), title, initialPath);
}

std::optional<QString> CQtPrompt::GetSaveFileName(const FileChooser& chooser)
{
    return RunFileDialog(Owner(), chooser, QFileDialog::AcceptSave);
}

std::optional<QString> CQtPrompt::GetOpenFileName(const FileChooser& chooser)
{
    return RunFileDialog(Owner(), chooser, QFileDialog::AcceptOpen);
}

int CQtPrompt::DoModal(QDialog& dialog)
{
    return dialog.exec();
}

}  // namespace vantor
