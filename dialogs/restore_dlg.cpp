#include "restore_dlg.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace vantor {

namespace {

// Case-blind first, so that "Maps" and "maps" sit together; names equal but
// for case then go by their code units, so the order never depends on the
// order the names came in.
bool NameLess(const QString& a, const QString& b)
{
    const int nBlind = QString::compare(a, b, Qt::CaseInsensitive);
    if (nBlind != 0)
        return nBlind < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

}  // namespace

CRestoreDlg::CRestoreDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pList(new QListWidget)
    , m_pRestore(new QPushButton(QStringLiteral("&Restore")))
{
    setWindowTitle(QStringLiteral("Restore Gibbed Files"));

    m_pList->setObjectName(QStringLiteral("listNames"));
    // A click toggles one name without touching the others.
    m_pList->setSelectionMode(QAbstractItemView::MultiSelection);
    // Every row is one line of text; this spares Qt measuring thousands.
    m_pList->setUniformItemSizes(true);

    auto* pSelectAll = new QPushButton(QStringLiteral("&Select All"));
    pSelectAll->setObjectName(QStringLiteral("buttonSelectAll"));
    auto* pDeselectAll = new QPushButton(QStringLiteral("&Deselect All"));
    pDeselectAll->setObjectName(QStringLiteral("buttonDeselectAll"));
    m_pRestore->setObjectName(QStringLiteral("buttonRestore"));
    auto* pCancel = new QPushButton(QStringLiteral("&Cancel"));
    pCancel->setObjectName(QStringLiteral("buttonCancel"));

    // Return restores wherever the focus is, and only while Restore is
    // enabled: no other button takes the default over by having the focus.
    for (QPushButton* pButton : {pSelectAll, pDeselectAll, m_pRestore, pCancel})
        pButton->setAutoDefault(false);
    m_pRestore->setDefault(true);
    m_pRestore->setEnabled(false);

    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(pSelectAll);
    pButtons->addWidget(pDeselectAll);
    pButtons->addStretch(1);
    pButtons->addWidget(m_pRestore);
    pButtons->addWidget(pCancel);

    auto* pLayout = new QHBoxLayout(this);
    pLayout->addWidget(m_pList, 1);
    pLayout->addLayout(pButtons);
    resize(420, 320);

    connect(m_pList, &QListWidget::itemSelectionChanged, this, &CRestoreDlg::UpdateRestore);
    connect(pSelectAll, &QPushButton::clicked, this, [this] {
        m_pList->selectAll();
        // Restoring nothing from an empty list is still a choice the user
        // made, so Select All enables Restore even then.
        m_pRestore->setEnabled(true);
    });
    connect(pDeselectAll, &QPushButton::clicked, this, [this] {
        m_pList->clearSelection();
        UpdateRestore();
    });
    connect(m_pRestore, &QPushButton::clicked, this, &CRestoreDlg::accept);
    connect(pCancel, &QPushButton::clicked, this, &CRestoreDlg::reject);
}

void CRestoreDlg::SetNames(const QStringList& names)
{
    m_names.append(names);
    std::sort(m_names.begin(), m_names.end(), NameLess);
    m_pList->clear();
    m_pList->addItems(m_names);
}

void CRestoreDlg::UpdateRestore()
{
    // hasSelection looks at selection ranges, not at every row.
    m_pRestore->setEnabled(m_pList->selectionModel()->hasSelection());
}

void CRestoreDlg::accept()
{
    // Restore may be the default while disabled; Return must not bypass it.
    if (!m_pRestore->isEnabled())
        return;
    QModelIndexList rows = m_pList->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    m_chosen.clear();
    m_chosen.reserve(rows.size());
    for (const QModelIndex& index : rows)
        m_chosen.append(m_names.at(index.row()));
    QDialog::accept();
}

void CRestoreDlg::reject()
{
    m_chosen.clear();
    QDialog::reject();
}

void CRestoreDlg::showEvent(QShowEvent* pEvent)
{
    // Spontaneous shows come from the window system (un-minimising), not
    // from opening the dialog; each opening starts with nothing chosen.
    if (!pEvent->spontaneous()) {
        m_chosen.clear();
        m_pList->clearSelection();
        m_pRestore->setEnabled(false);
        m_pList->setFocus();
    }
    QDialog::showEvent(pEvent);
}

}  // namespace vantor
