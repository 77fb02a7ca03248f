// The prompt of the GUI benchmarks: anything the views ask is a failure of
// the run. The question is printed; the run then ends at once (bExitAtOnce)
// or reports it at its end through m_bAsked.
#pragma once

#include "prompt.h"

#include <cstdio>
#include <cstdlib>

namespace vantor {

class CBenchPrompt : public IPrompt {
public:
    CBenchPrompt(const char* pszProgram, bool bExitAtOnce) : m_pszProgram(pszProgram), m_bExitAtOnce(bExitAtOnce) {}

    bool m_bAsked = false;

    void ShowMessage(const QString& text, PromptIcon) override { Note(text); }
    bool AskYesNo(const QString& text, PromptIcon) override { return Note(text), false; }
    bool AskOkCancel(const QString& text, PromptIcon) override { return Note(text), false; }
    int AskReplace(const QString& text) override { return Note(text), replaceCancel; }
    std::optional<QString> BrowseForFolder(const QString& title, const QString&) override
    {
        return Note(title), std::nullopt;
    }
    std::optional<QString> GetSaveFileName(const FileChooser& chooser) override
    {
        return Note(chooser.strTitle), std::nullopt;
    }
    std::optional<QString> GetOpenFileName(const FileChooser& chooser) override
    {
        return Note(chooser.strTitle), std::nullopt;
    }
    std::optional<QStringList> ChooseNamesToRestore(const QStringList&) override
    {
        return Note(QStringLiteral("restore")), std::nullopt;
    }
    int DoModal(QDialog&) override { return Note(QStringLiteral("dialog")), 0; }
    QAction* TrackPopupMenu(QMenu&, const QPoint&) override { return nullptr; }
    std::unique_ptr<IProgress> BeginProgress(const QString& text, bool) override { return Note(text), nullptr; }

private:
    void Note(const QString& text)
    {
        std::fprintf(stderr, "%s: asked: %s\n", m_pszProgram, text.toLocal8Bit().constData());
        m_bAsked = true;
        if (m_bExitAtOnce)
            std::exit(1);
    }

    const char* m_pszProgram;
    bool m_bExitAtOnce;
};

}  // namespace vantor
