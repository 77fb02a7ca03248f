// IPrompt: every question and message the program puts to the user. View
// and command code asks through this interface only; CQtPrompt answers with
// Qt's message boxes and file dialogs and is the only code that runs a modal
// loop, and tests answer from a script (tests/support/scripted_prompt.h).
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QDialog;
class QMenu;
class QPoint;

namespace vantor {

enum class PromptIcon { information, question, exclamation, stop };

// The answers of the replace question, as its callers compare them.
enum ReplaceAnswer : int {
    replaceYes = 1,
    replaceCancel = 2,
    replaceNo = 10,
    replaceYesToAll = 11,
};

// How the open and save file choosers are set up.
struct FileChooser {
    QString strTitle;          // the window title, "Open Pak"
    QString strDefaultSuffix;  // added when the user types a name without one, "pak"
    QString strInitialName;    // preset file name, may be empty
    QString strFilter;         // Qt filter text, "Quake Pak (*.pak)"
};

// A progress window over work the user has to wait for; it goes away when
// the object is destroyed. Showing it may run the event loop.
class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void SetProgress(std::uint64_t nDone, std::uint64_t nTotal) = 0;
    // Whether the user pressed Cancel; only a cancellable window has one.
    // The work checks this between steps and stops itself.
    virtual bool IsCancelled() const { return false; }
};

class IPrompt {
public:
    virtual ~IPrompt() = default;

    // A message with an OK button.
    virtual void ShowMessage(const QString& text, PromptIcon icon) = 0;

    // The program's error box: the exclamation icon and OK.
    void ShowError(const QString& text) { ShowMessage(text, PromptIcon::exclamation); }

    // Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const QString& text, PromptIcon icon) = 0;

    // OK and Cancel buttons; true for OK.
    virtual bool AskOkCancel(const QString& text, PromptIcon icon) = 0;

    // "An item already exists" with Yes, Yes To All, No and Cancel; an empty
    // message asks the standard question. Returns a ReplaceAnswer.
    virtual int AskReplace(const QString& message) = 0;

    // A folder chooser, preselecting initialPath when it is not empty. The
    // chosen folder's path, or nothing when the user cancelled. Folders that
    // cannot take files (on an optical disc) cannot be chosen.
    virtual std::optional<QString> BrowseForFolder(const QString& title, const QString& initialPath) = 0;

    // The save chooser asks before replacing an existing file itself.
    virtual std::optional<QString> GetSaveFileName(const FileChooser& chooser) = 0;

    // Only an existing file can be chosen.
    virtual std::optional<QString> GetOpenFileName(const FileChooser& chooser) = 0;

    // The Restore Gibbed Files dialog offering names. The names chosen, in
    // the dialog's order (possibly none), or nothing when it was cancelled.
    virtual std::optional<QStringList> ChooseNamesToRestore(const QStringList& names) = 0;

    // Runs one of the program's own dialogs (Options, About, Restore …)
    // modally and returns its result (QDialog::Accepted, or the code the
    // dialog ended with).
    virtual int DoModal(QDialog& dialog) = 0;

    // Shows a context menu at a screen position until the user picks an item
    // or dismisses it. The chosen action, or null. The caller runs it: the
    // actions need not be connected to anything.
    virtual QAction* TrackPopupMenu(QMenu& menu, const QPoint& globalPos) = 0;

    // A progress window saying text; it appears only once the work has
    // taken about half a second. Without bCancellable it has no Cancel
    // button: work that was confirmed before it started runs to its end.
    virtual std::unique_ptr<IProgress> BeginProgress(const QString& text, bool bCancellable = false) = 0;
};

}  // namespace vantor
