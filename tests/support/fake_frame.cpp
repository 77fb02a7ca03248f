#include "fake_frame.h"

namespace vantor::test {

void CFakeFrame::SetPaneText(int nPane, const QString& text)
{
    if (nPane == 0 || nPane == 1)
        m_paneTexts[nPane] = text;
}

QAction* CFakeFrame::GetCommandAction(int nID) const
{
    std::unique_ptr<QAction>& pAction = m_actions[nID];
    if (!pAction)
        pAction = std::make_unique<QAction>(QString::number(nID));
    return pAction.get();
}

}  // namespace vantor::test
