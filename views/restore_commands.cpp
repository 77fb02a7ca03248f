// Restore Deleted Files: entries gibbed since the pak was opened come back,
// chosen by name, asking before one replaces a live entry. One commit for
// the whole run.
#include "pak_tree.h"

#include "view_text.h"
#include "wait_cursor.h"

#include <deque>
#include <map>

namespace vantor {

void CPakTree::OnRestoreFiles()
{
    if (!HasItems() || !m_archive.HasGibbedEntries())
        return;
    // The dialog shows names as text; each text stands for the raw names
    // behind it, offered as often as they were gibbed.
    StringArray gibbed;
    m_archive.GetGibbedNames(gibbed);
    QStringList offered;
    std::map<QString, std::deque<std::string>> rawByText;
    for (const std::string& raw : gibbed) {
        const QString text = DecodeName(raw);
        offered.append(text);
        rawByText[text].push_back(raw);
    }
    const std::optional<QStringList> chosen = m_services.prompt.ChooseNamesToRestore(offered);
    if (!chosen || chosen->isEmpty())
        return;

    QStringList failed;
    QStringList attempted;
    bool bYesToAll = false;
    bool bCommitted;
    {
        CWaitCursor wait;
        CPakBatch batch(m_archive);
        for (const QString& text : *chosen) {
            auto found = rawByText.find(text);
            if (found == rawByText.end() || found->second.empty())
                continue;
            const std::string name = found->second.front();
            found->second.pop_front();
            const std::string query = '/' + name;
            if (m_archive.FolderExists(query, std::string())) {
                wait.Restore();
                ShowError(QStringLiteral("There is a folder named %1  Cannot overwrite a folder with a file.").arg(text));
                continue;
            }
            if (!bYesToAll && m_archive.EntryExists(name)) {
                wait.Restore();
                const int nAnswer = m_services.prompt.AskReplace(QStringLiteral("The file %1 already exists.  Overwrite?").arg(text));
                if (nAnswer == replaceCancel)
                    break;
                if (nAnswer == replaceNo)
                    continue;
                bYesToAll = nAnswer == replaceYesToAll;
            }
            attempted.append(text);
            if (!m_archive.RestoreByName(name))
                failed.append(text);
        }
        bCommitted = batch.End();
    }

    QString summary;
    if (!bCommitted) {
        // Nothing of this run reached the file, and the archive is back
        // where the file is: every name it tried is still gibbed.
        summary = QStringLiteral("Some files could not be restored:\n\n") + attempted.join(u'\n') + u'\n' + u'\n' +
                  QString::fromStdString(m_archive.GetErrorText());
    } else if (!failed.isEmpty()) {
        summary = QStringLiteral("Some files could not be restored:\n\n") + failed.join(u'\n') + u'\n';
    }
    RefillPanes();
    if (!summary.isEmpty())
        ShowError(summary);
}

void CPakTree::RefillPanes()
{
    QTreeWidgetItem* pRoot = GetRootItem();
    if (!pRoot)
        return;
    // The folder on show, by its path, found again in the new tree as far
    // down as it still goes.
    const std::string folder = CurrentFolderPath();
    {
        const QSignalBlocker blocker(this);
        const QList<QTreeWidgetItem*> children = pRoot->takeChildren();
        qDeleteAll(children);
        m_hCurrentFolder = pRoot;
        FillTree(pRoot, std::string());
        pRoot->setExpanded(true);
    }
    QTreeWidgetItem* pItem = pRoot;
    std::string_view rest = folder;
    while (!rest.empty()) {
        const std::size_t nSlash = rest.find('/');
        QTreeWidgetItem* pChild = FindChildFolderByRaw(pItem, std::string(rest.substr(0, nSlash)));
        if (!pChild)
            break;
        pItem = pChild;
        rest.remove_prefix(nSlash + 1);
    }
    {
        const QSignalBlocker blocker(this);
        setCurrentItem(pItem);
    }
    m_hCurrentFolder = pItem;
    FillList();
    UpdateStatusBar();
}

}  // namespace vantor
