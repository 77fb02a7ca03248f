// CPakTree: the left pane, the pak's folder tree and the target of almost
// every command. For now it is an empty tree that handles no command, so
// that the frame, its splitter and its routing have their left pane.
#pragma once

#include "res/command_target.h"
#include "views/view_services.h"

#include <QTreeWidget>

namespace vantor {

class CPakTree : public QTreeWidget, public IFramePane {
    Q_OBJECT

public:
    // strCmdLinePak: the pak named on the command line, opened at the first
    // update; empty when none was named.
    CPakTree(const CViewServices& services, const QString& strCmdLinePak, QWidget* pParent = nullptr);

    bool OnCommand(int nID) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    void UpdateStatusBar() override;

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

    CViewServices m_services;
    QString m_strCmdLinePak;
};

}  // namespace vantor
