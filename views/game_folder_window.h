// CGameFolderWindow: a game folder as the game sees it. The paks and loose
// files of id1 and the opened mod merge into one tree and list, each row
// naming the copy the game loads and how many copies it shadows. Read-only:
// a row opens its pak in the main window at that entry, and the view follows
// changes on disk.
#pragma once

#include "game_layers.h"
#include "view_services.h"

#include <QMainWindow>

#include <string>
#include <vector>

class QAction;
class QFileSystemWatcher;
class QLabel;
class QListWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class CPakTree;

class CGameFolderWindow : public QMainWindow {
    Q_OBJECT

public:
    // folder: a mod folder beside id1, id1 itself, or the folder that
    // holds id1.
    CGameFolderWindow(const CViewServices& services, CPakTree& tree, const QString& folder,
                      QWidget* pParent = nullptr);

    // Resolves again and shows the same folder where it still exists.
    void Refresh();
    void SetProfile(GameProfile profile);
    enum class Filter { all, overridesOnly, shadowedOnly };
    void SetFilter(Filter filter);
    // Makes a folder of the merged tree current ("" for the top, "maps/").
    bool ShowFolder(const std::string& folder);
    // Opens the row's winning pak in the main window at the entry; false
    // for a folder row or a loose file.
    bool OpenRow(int nRow);

    const CGameView& View() const { return m_view; }
    QTreeWidget& Folders() { return *m_pFolders; }
    QTreeWidget& Rows() { return *m_pRows; }
    QListWidget& Warnings() { return *m_pWarnings; }

private:
    void BuildMenus();
    void FillFolders();
    void FillRows();
    void WatchLayers();
    std::string FolderOf(const QTreeWidgetItem* pItem) const;
    // Where a copy comes from, below the base folder: "mod/pak0.pak", "id1/".
    QString SourceText(const CGameCopy& copy) const;
    // Whether a file passes the filter: the top game folder's copy wins over
    // another's (overrides), or loses to something (shadowed).
    bool PassesFilter(const CGameFile& file) const;

    CViewServices m_services;
    CPakTree& m_tree;
    std::string m_base;
    std::vector<std::string> m_gameFolders;
    GameProfile m_profile = GameProfile::classic;
    Filter m_filter = Filter::all;
    CGameResolver m_resolver;
    CGameView m_view;
    std::string m_currentFolder;

    QTreeWidget* m_pFolders = nullptr;
    QTreeWidget* m_pRows = nullptr;
    QListWidget* m_pWarnings = nullptr;
    QLabel* m_pStatus = nullptr;
    QFileSystemWatcher* m_pWatcher = nullptr;
    QTimer* m_pRefreshTimer = nullptr;
};

}  // namespace vantor
