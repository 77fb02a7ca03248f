#include "qt_prompt.h"

#include "folder_browser.h"
#include "replace_dlg.h"
#include "restore_dlg.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>

#include <algorithm>

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

// Progress in thousandths, so that byte counts of any size fit the dialog's
// int range.
class CQtProgress : public IProgress {
public:
    CQtProgress(QWidget* pOwner, const QString& text, bool bCancellable)
        : m_dialog(text, QString(), 0, 1000, pOwner)
    {
        m_dialog.setWindowTitle(kCaption);
        m_dialog.setWindowModality(Qt::ApplicationModal);
        if (bCancellable)
            m_dialog.setCancelButtonText(QStringLiteral("Cancel"));
        else
            m_dialog.setCancelButton(nullptr);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        // Short work finishes before the window would appear.
        m_dialog.setMinimumDuration(500);
        m_dialog.setValue(0);
    }

    void SetProgress(std::uint64_t nDone, std::uint64_t nTotal) override
    {
        const int nValue = nTotal == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(nDone, nTotal) * 1000 / nTotal);
        // A modal progress dialog runs the event loop here, which keeps the
        // window painted while the work goes on.
        m_dialog.setValue(nValue);
    }

    bool IsCancelled() const override { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};

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
    CReplaceDlg dialog(Owner());
    dialog.SetMessage(message);
    return dialog.exec();
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

std::optional<QStringList> CQtPrompt::ChooseNamesToRestore(const QStringList& names)
{
    CRestoreDlg dialog(Owner());
    dialog.SetNames(names);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.GetSelected();
}

int CQtPrompt::DoModal(QDialog& dialog)
{
    return dialog.exec();
}

QAction* CQtPrompt::TrackPopupMenu(QMenu& menu, const QPoint& globalPos)
{
    return menu.exec(globalPos);
}

std::unique_ptr<IProgress> CQtPrompt::BeginProgress(const QString& text, bool bCancellable)
{
    return std::make_unique<CQtProgress>(Owner(), text, bCancellable);
}

}  // namespace vantor
