#include "views/pak_tree.h"

#include <QHeaderView>

#include <algorithm>

namespace vantor {

CPakTree::CPakTree(const CViewServices& services, const QString& strCmdLinePak, QWidget* pParent)
    : QTreeWidget(pParent), m_services(services), m_strCmdLinePak(strCmdLinePak)
{
    setObjectName(QStringLiteral("pakTree"));
    setHeaderHidden(true);
}

void CPakTree::resizeEvent(QResizeEvent* pEvent)
{
    QTreeWidget::resizeEvent(pEvent);
    // A hidden header never resizes its section, so the one column is sized
    // here: the pane's width, or the longest name when that is wider.
    header()->resizeSection(0, std::max(viewport()->width(), sizeHintForColumn(0)));
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
