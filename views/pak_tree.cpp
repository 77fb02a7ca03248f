#include "views/pak_tree.h"

namespace vantor {

CPakTree::CPakTree(const CViewServices& services, const QString& strCmdLinePak, QWidget* pParent)
    : QTreeWidget(pParent), m_services(services), m_strCmdLinePak(strCmdLinePak)
{
    setObjectName(QStringLiteral("pakTree"));
    setHeaderHidden(true);
}

bool CPakTree::OnCommand(int /*nID*/)
{
    return false;
}

bool CPakTree::OnUpdateCommand(CCmdUI& /*ui*/)
{
    return false;
}

void CPakTree::UpdateStatusBar()
{
    // No pak loaded: nothing to count.
    m_services.frame.SetPaneText(0, QString());
    m_services.frame.SetPaneText(1, QString());
}

}  // namespace vantor
