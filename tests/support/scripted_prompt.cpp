#include "scripted_prompt.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

#include <gtest/gtest.h>

namespace vantor::test {

namespace {

const char* KindName(CScriptedPrompt::Kind kind)
{
    switch (kind) {
    case CScriptedPrompt::Kind::message: return "message";
    case CScriptedPrompt::Kind::yesNo: return "yes/no question";
    case CScriptedPrompt::Kind::okCancel: return "OK/cancel question";
    case CScriptedPrompt::Kind::replace: return "replace question";
    case CScriptedPrompt::Kind::restore: return "restore chooser";
    case CScriptedPrompt::Kind::folder: return "folder chooser";
    case CScriptedPrompt::Kind::saveFile: return "save chooser";
    case CScriptedPrompt::Kind::openFile: return "open chooser";
    case CScriptedPrompt::Kind::dialog: return "dialog";
    case CScriptedPrompt::Kind::popupMenu: return "context menu";
    case CScriptedPrompt::Kind::progress: return "progress window";
    }
    return "?";
}

}  // namespace

void CScriptedPrompt::AnswerYesNo(bool bYes)
{
    Answer answer{Kind::yesNo};
    answer.bValue = bYes;
    m_answers.push_back(std::move(answer));
}

void CScriptedPrompt::AnswerOkCancel(bool bOk)
{
    Answer answer{Kind::okCancel};
    answer.bValue = bOk;
    m_answers.push_back(std::move(answer));
}

void CScriptedPrompt::AnswerReplace(int nAnswer)
{
    Answer answer{Kind::replace};
    answer.nValue = nAnswer;
    m_answers.push_back(std::move(answer));
}

void CScriptedPrompt::AnswerRestore(std::optional<QStringList> chosen)
{
    Answer answer{Kind::restore};
    answer.names = std::move(chosen);
    m_answers.push_back(std::move(answer));
}

void CScriptedPrompt::AnswerFolder(std::optional<QString> folder)
{
    Answer answer{Kind::folder};
    answer.path = std::move(folder);
    m_answers.push_back(std::move(answer));
}

void CScriptedPrompt::AnswerSaveFile(std::optional<QString> path)
{
    Answer answer{Kind::saveFile};
    answer.path = std::move(path);
    m_answers.push_back(std::move(answer));
}

void CScriptedPrompt::AnswerOpenFile(std::optional<QString> path)
{
    Answer answer{Kind::openFile};
    answer.path = std::move(path);
    m_answers.push_back(std::move(answer));
}

void CScriptedPrompt::AnswerDialog(std::function<void(QDialog&)> drive)
{
    Answer answer{Kind::dialog};
    answer.drive = std::move(drive);
    m_answers.push_back(std::move(answer));
}

void CScriptedPrompt::AnswerPopupMenu(int nID)
{
    Answer answer{Kind::popupMenu};
    answer.nValue = nID;
    m_answers.push_back(std::move(answer));
}

QStringList CScriptedPrompt::Texts() const
{
    QStringList texts;
    for (const Question& question : m_questions)
        texts.append(question.text);
    return texts;
}

std::optional<CScriptedPrompt::Answer> CScriptedPrompt::Take(Kind kind)
{
    if (m_answers.empty())
        return std::nullopt;
    if (m_answers.front().kind != kind) {
        ADD_FAILURE() << "The program asked a " << KindName(kind) << " (\""
                      << m_questions.back().text.toStdString() << "\") but the script's next answer is for a "
                      << KindName(m_answers.front().kind);
        return std::nullopt;
    }
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

void CScriptedPrompt::ShowMessage(const QString& text, PromptIcon icon)
{
    m_questions.push_back({Kind::message, text, icon, {}, {}, {}});
}

bool CScriptedPrompt::AskYesNo(const QString& text, PromptIcon icon)
{
    m_questions.push_back({Kind::yesNo, text, icon, {}, {}, {}});
    const auto answer = Take(Kind::yesNo);
    return answer && answer->bValue;
}

bool CScriptedPrompt::AskOkCancel(const QString& text, PromptIcon icon)
{
    m_questions.push_back({Kind::okCancel, text, icon, {}, {}, {}});
    const auto answer = Take(Kind::okCancel);
    return answer && answer->bValue;
}

int CScriptedPrompt::AskReplace(const QString& message)
{
    m_questions.push_back({Kind::replace, message, PromptIcon::question, {}, {}, {}});
    const auto answer = Take(Kind::replace);
    return answer ? answer->nValue : replaceCancel;
}

std::optional<QString> CScriptedPrompt::BrowseForFolder(const QString& title, const QString& initialPath)
{
    m_questions.push_back({Kind::folder, title, PromptIcon::information, {QString(), QString(), initialPath, QString()},
                           {}, {}});
    const auto answer = Take(Kind::folder);
    return answer ? answer->path : std::nullopt;
}

std::optional<QString> CScriptedPrompt::GetSaveFileName(const FileChooser& chooser)
{
    m_questions.push_back({Kind::saveFile, chooser.strTitle, PromptIcon::information, chooser, {}, {}});
    const auto answer = Take(Kind::saveFile);
    return answer ? answer->path : std::nullopt;
}

std::optional<QString> CScriptedPrompt::GetOpenFileName(const FileChooser& chooser)
{
    m_questions.push_back({Kind::openFile, chooser.strTitle, PromptIcon::information, chooser, {}, {}});
    const auto answer = Take(Kind::openFile);
    return answer ? answer->path : std::nullopt;
}

std::optional<QStringList> CScriptedPrompt::ChooseNamesToRestore(const QStringList& names)
{
    Question question{Kind::restore, QStringLiteral("Restore Gibbed Files"), PromptIcon::information, {}, {}, {}};
    question.names = names;
    m_questions.push_back(std::move(question));
    const auto answer = Take(Kind::restore);
    return answer ? answer->names : std::nullopt;
}

int CScriptedPrompt::DoModal(QDialog& dialog)
{
    const QString name = dialog.objectName().isEmpty() ? QString::fromLatin1(dialog.metaObject()->className())
                                                       : dialog.objectName();
    m_questions.push_back({Kind::dialog, dialog.windowTitle(), PromptIcon::information, {}, name, {}});
    const auto answer = Take(Kind::dialog);
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (answer && answer->drive)
        answer->drive(dialog);
    // A real modal loop would still be running when the script left the
    // dialog open; here it ends with whatever result the dialog has.
    const int nResult = dialog.result();
    dialog.hide();
    return nResult;
}

}  // namespace vantor::test

namespace vantor::test {

QAction* CScriptedPrompt::TrackPopupMenu(QMenu& menu, const QPoint& /*globalPos*/)
{
    Question question{Kind::popupMenu, menu.title(), PromptIcon::information, {}, {}, {}};
    for (QAction* pAction : menu.actions())
        question.menu.push_back({pAction->isSeparator() ? 0 : pAction->data().toInt(), pAction->text(),
                                 pAction->isEnabled() && !pAction->isSeparator()});
    m_questions.push_back(std::move(question));
    const auto answer = Take(Kind::popupMenu);
    if (!answer || answer->nValue == 0)
        return nullptr;
    for (QAction* pAction : menu.actions()) {
        if (!pAction->isSeparator() && pAction->data().toInt() == answer->nValue)
            return pAction;
    }
    ADD_FAILURE() << "The context menu has no item " << answer->nValue;
    return nullptr;
}

namespace {

class CScriptedProgress : public IProgress {
public:
    CScriptedProgress(std::function<void(std::uint64_t, std::uint64_t)> onStep, int& nSteps, int nCancelAtStep,
                      bool& bCancelled)
        : m_onStep(std::move(onStep)), m_nSteps(nSteps), m_nCancelAtStep(nCancelAtStep), m_bCancelled(bCancelled)
    {
    }
    void SetProgress(std::uint64_t nDone, std::uint64_t nTotal) override
    {
        ++m_nSteps;
        if (m_nCancelAtStep > 0 && m_nSteps >= m_nCancelAtStep)
            m_bCancelled = true;
        if (m_onStep)
            m_onStep(nDone, nTotal);
    }
    bool IsCancelled() const override { return m_bCancelled; }

private:
    std::function<void(std::uint64_t, std::uint64_t)> m_onStep;
    int& m_nSteps;
    int m_nCancelAtStep;
    bool& m_bCancelled;
};

}  // namespace

std::unique_ptr<IProgress> CScriptedPrompt::BeginProgress(const QString& text, bool bCancellable)
{
    // Progress windows need no answer and only note what they said.
    m_questions.push_back({Kind::progress, text, PromptIcon::information, {}, {}, {}, bCancellable});
    m_bCancelled = false;
    // A window without Cancel cannot be cancelled, whatever the script says.
    return std::make_unique<CScriptedProgress>(m_onProgress, m_nProgressSteps, bCancellable ? m_nCancelAtStep : 0,
                                               m_bCancelled);
}

}  // namespace vantor::test
