// CQtPrompt: IPrompt on Qt's message boxes and file dialogs.
#pragma once

#include "prompt.h"

#include <QPointer>
#include <QWidget>

namespace vantor {

class CQtPrompt : public IPrompt {
public:
    explicit CQtPrompt(QWidget* pDefaultOwner = nullptr) : m_pDefaultOwner(pDefaultOwner) {}

    // The window that owns questions when no dialog or window of the program
    // is active (the main window once it exists).
    void SetDefaultOwner(QWidget* pOwner) { m_pDefaultOwner = pOwner; }

    void ShowMessage(const QString& text, PromptIcon icon) override;
    bool AskYesNo(const QString& text, PromptIcon icon) override;
    bool AskOkCancel(const QString& text, PromptIcon icon) override;
    int AskReplace(const QString& message) override;
    std::optional<QString> BrowseForFolder(const QString& title, const QString& initialPath) override;
    std::optional<QString> GetSaveFileName(const FileChooser& chooser) override;
    std::optional<QString> GetOpenFileName(const FileChooser& chooser) override;
    std::optional<QStringList> ChooseNamesToRestore(const QStringList& names) override;
    int DoModal(QDialog& dialog) override;
    QAction* TrackPopupMenu(QMenu& menu, const QPoint& globalPos) override;
    std::unique_ptr<IProgress> BeginProgress(const QString& text, bool bCancellable = false) override;

private:
    // The open modal dialog when there is one, so that a question asked from
    // inside a dialog stays in front of it.
    QWidget* Owner() const;

    QPointer<QWidget> m_pDefaultOwner;
};

}  // namespace vantor
