// CScriptedPrompt: answers the program's questions from a script and keeps
// every question asked, so that GUI tests run without modal loops and can
// check what the user would have seen.
#pragma once

#include "prompt.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace vantor::test {

class CScriptedPrompt : public IPrompt {
public:
    enum class Kind {
        message, yesNo, okCancel, replace, restore, folder, saveFile, openFile, dialog, popupMenu, progress
    };

    // One item of a context menu as it was shown.
    struct MenuItem {
        int nID;  // 0 for a separator
        QString text;
        bool bEnabled;  // never for a separator
        bool operator==(const MenuItem&) const = default;
    };

    struct Question {
        Kind kind;
        QString text;             // message or question text; a dialog's window title
        PromptIcon icon = PromptIcon::information;
        FileChooser chooser;      // for the file choosers
        QString strDialogName;    // a dialog's objectName, else its class name
        std::vector<MenuItem> menu;  // a context menu's items
        bool bCancellable = false;   // a progress window with a Cancel button
        QStringList names = {};      // the names the restore chooser offered
    };

    // Answers are used in the order questions come. A question whose answer
    // is not next in the script is a test failure; a question with no answer
    // left gets the cautious one (No, Cancel, nothing chosen, dialog closed
    // without running). Messages need no answer.
    void AnswerYesNo(bool bYes);
    void AnswerOkCancel(bool bOk);
    void AnswerReplace(int nAnswer);
    // The names chosen in the restore chooser; nothing cancels it.
    void AnswerRestore(std::optional<QStringList> chosen);
    void AnswerFolder(std::optional<QString> folder);
    void AnswerSaveFile(std::optional<QString> path);
    void AnswerOpenFile(std::optional<QString> path);
    // The dialog is shown (not modally) before drive runs, so it has set
    // itself up as it does on opening; drive clicks and types in it. DoModal
    // returns the dialog's result afterwards.
    void AnswerDialog(std::function<void(QDialog&)> drive);
    // Picks the menu item with this command id; 0 dismisses the menu.
    void AnswerPopupMenu(int nID);

    // Runs at every step of a progress window, while the work is under way.
    std::function<void(std::uint64_t nDone, std::uint64_t nTotal)> m_onProgress;
    int ProgressSteps() const { return m_nProgressSteps; }
    // The user presses Cancel at this step (counted over all progress
    // windows from 1) when the window has the button; 0 never.
    int m_nCancelAtStep = 0;
    // Whether a cancellable window was cancelled.
    bool Cancelled() const { return m_bCancelled; }

    const std::vector<Question>& Questions() const { return m_questions; }
    // The texts of all questions and messages so far, in order.
    QStringList Texts() const;
    bool AllAnswered() const { return m_answers.empty(); }

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
    struct Answer {
        explicit Answer(Kind answerKind) : kind(answerKind) {}
        Kind kind;
        bool bValue = false;
        int nValue = 0;
        std::optional<QString> path;
        std::optional<QStringList> names;
        std::function<void(QDialog&)> drive;
    };

    // The next answer when it is of this kind; nothing (and a test failure
    // when the script expected another question) otherwise.
    std::optional<Answer> Take(Kind kind);

    std::deque<Answer> m_answers;
    std::vector<Question> m_questions;
    int m_nProgressSteps = 0;
    bool m_bCancelled = false;
};

}  // namespace vantor::test
