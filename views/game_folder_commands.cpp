// The pak tree's side of game folders: opening the window over one, and
// showing one of its entries in the pak it comes from.
#include "pak_tree.h"

#include "game_folder_window.h"
#include "pak_list.h"
#include "pak_names.h"

namespace vantor {

void CPakTree::OnOpenGameFolder()
{
    const std::optional<QString> folder =
        m_services.prompt.BrowseForFolder(QStringLiteral("Open Game Folder"), QString());
    if (folder)
        OpenGameFolder(*folder);
}

void CPakTree::OpenGameFolder(const QString& folder)
{
    // Closed, the window goes; the main window owns it until then.
    auto* pWindow = new CGameFolderWindow(m_services, *this, folder, window());
    pWindow->setAttribute(Qt::WA_DeleteOnClose);
    pWindow->show();
    pWindow->raise();
    pWindow->activateWindow();
}

bool CPakTree::ShowPakEntry(const QString& pakPath, const std::string& entryPath)
{
    if (!IsLoadedPak(pakPath)) {
        ReplacePak(pakPath);
        if (!IsLoadedPak(pakPath))
            return false;
    }
    // The entry is shown in its folder, unfiltered, whatever the list held.
    if (m_pList)
        m_pList->ClearFilter();
    SelectFolderPath(GetFolderPart(entryPath));
    if (!m_pList)
        return true;
    const int nRow = m_pList->Model().FindRawRow(GetNamePart(entryPath));
    if (nRow >= 0) {
        const QModelIndex index = m_pList->Model().index(nRow, 0);
        m_pList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_pList->scrollTo(index);
        m_pList->setFocus();
    }
    return true;
}

}  // namespace vantor
