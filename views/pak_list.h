// CPakList: the right pane, the items of the tree's current folder in the
// columns Name, Size and Type. For now it shows its columns only and handles
// no command.
#pragma once

#include "res/command_target.h"
#include "views/view_services.h"

#include <QTreeView>

class QStandardItemModel;

namespace vantor {

class CPakList : public QTreeView, public IFramePane {
    Q_OBJECT

public:
    explicit CPakList(const CViewServices& services, QWidget* pParent = nullptr);

    bool OnCommand(int nID) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    void UpdateStatusBar() override;

    // Creates the columns with the widths saved in "Window size"/"Column0"
    // to "Column2" (default: a sixth of the list's width each).
    void OnInitialUpdate() override;

    // The main window saves these when it closes.
    int GetColumnWidth(int nColumn) const;

protected:
    CViewServices m_services;
    QStandardItemModel* m_pModel;
};

}  // namespace vantor
