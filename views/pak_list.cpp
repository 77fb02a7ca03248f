#include "views/pak_list.h"

#include "res/profile.h"

#include <QHeaderView>
#include <QStandardItemModel>

namespace vantor {

CPakList::CPakList(const CViewServices& services, QWidget* pParent)
    : QTreeView(pParent), m_services(services), m_pModel(new QStandardItemModel(0, 3, this))
{
    setObjectName(QStringLiteral("pakList"));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setModel(m_pModel);
    header()->setStretchLastSection(false);
}

bool CPakList::OnCommand(int /*nID*/)
{
    return false;
}

bool CPakList::OnUpdateCommand(CCmdUI& /*ui*/)
{
    return false;
}

void CPakList::UpdateStatusBar()
{
    m_services.frame.SetPaneText(0, QString());
    m_services.frame.SetPaneText(1, QString());
}

void CPakList::OnInitialUpdate()
{
    static const char* const kTitles[] = {"Name", "Size", "Type"};
    const int nDefaultWidth = viewport()->width() / 6;
    for (int nColumn = 0; nColumn < 3; ++nColumn) {
        m_pModel->setHeaderData(nColumn, Qt::Horizontal, QString::fromLatin1(kTitles[nColumn]));
        const Qt::Alignment alignment = nColumn == 1 ? Qt::AlignRight : Qt::AlignLeft;
        m_pModel->setHeaderData(nColumn, Qt::Horizontal, QVariant::fromValue(alignment | Qt::AlignVCenter),
                                Qt::TextAlignmentRole);
        // Widths were stored as 16-bit values; anything above is not a width.
        const int nWidth = GetProfileInt(QStringLiteral("Window size"), QStringLiteral("Column%1").arg(nColumn),
                                         nDefaultWidth) & 0xFFFF;
        header()->resizeSection(nColumn, nWidth);
    }
}

int CPakList::GetColumnWidth(int nColumn) const
{
    return header()->sectionSize(nColumn);
}

}  // namespace vantor
