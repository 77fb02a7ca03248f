// CPakTree: the left pane, the folders of the open pak, and the centre of
// the explorer. It owns the archive, loads a pak into both panes, fills the
// item list with the current folder's contents, keeps the status bar and
// carries the commands that act on the pak and its folders. The list hands
// its operations to it.
#pragma once

#include "pak_archive.h"
#include "command_target.h"
#include "launch_tracker.h"
#include "view_services.h"

#include <QHash>
#include <QIcon>
#include <QStringList>
#include <QTreeWidget>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <set>
#include <unordered_map>
#include <vector>

class QDragEnterEvent;
class QDropEvent;
class QFileSystemWatcher;
class QMimeData;
class QTimer;

namespace vantor {

class CPakDataSource;
class CPakList;
class CTransferFolder;
struct CListRow;

// A pane's drag entry: keeps the moves coming while the data may come in
// somewhere in the pane, even when the entry point itself takes nothing.
void KeepDragMovesComing(QDragEnterEvent* pEvent, bool bCanTake);

class CPakTree : public QTreeWidget, public IFramePane {
    Q_OBJECT

public:
    // strCmdLinePak: the pak named on the command line, opened at the first
    // update; empty when none was named.
    CPakTree(const CViewServices& services, const QString& strCmdLinePak, QWidget* pParent = nullptr);
    ~CPakTree() override;

    // The other pane; set once by the frame before the first update.
    void SetList(CPakList* pList) { m_pList = pList; }

    bool OnCommand(int nID) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    void UpdateStatusBar() override;
    // Loads the recent list and opens the command-line pak. The list is
    // filled by the list's own first update, which follows.
    void OnInitialUpdate() override;
    // Recovers unused space when "RecoverOnExit" says so (asking first when
    // "ConfirmRecover" does), then keeps the loaded pak in the recent list
    // and saves the list. The pak stays open until the view is destroyed.
    void OnFrameClosing() override;

    // --- Pak commands --------------------------------------------------------
    void OnNewPak();
    void OnOpenPak();
    void OnRecoverSpace();
    void OnOptions();
    // Recovers the pak's unused space after the confirmation question. True
    // when there was none or it was recovered; false when there is no pak,
    // recovery would be refused (said only when bSayRefusal), the user
    // cancelled, or recovery failed (the error was shown).
    bool RecoverSpace(bool bSayRefusal = true);

    // --- The pak's state ---------------------------------------------------------
    // Why the unused space cannot be recovered now, as the greyed command's
    // status tip says it; empty when it can.
    QString RecoveryRefusalText() const;
    // What the status bar adds for a pak that cannot be changed, or whose
    // space cannot be recovered: "(read-only)", "(changed on disk)",
    // "(entries overlap)"; empty otherwise.
    QString PakStateMark() const;
    // The archive's last error; for a pak another program has changed, the
    // offer to load it again instead.
    void ShowEngineError();
    // Says that another program has changed the pak and, when the user
    // wants, loads it again.
    void OfferReload();
    // Opens the pak again after another program changed it, showing the
    // same folder where it still exists.
    void ReloadPak();

    // --- Item and folder commands ----------------------------------------------
    void OnExtractAll();
    void OnExtract();
    void OnExtractTo();
    // Deletes the current folder with everything in it; it can be restored.
    void OnDelete();
    // Opens the current folder's name for editing.
    void OnRename();
    // Adds "folder", else "folder1" to "folder98", whichever no sub-folder
    // or file of the current folder is called, ignoring case.
    void OnNewFolder();
    void OnCopy();
    void OnCut();
    // Whether a folder below the root is current (the item commands' rule)
    // and the pak can be changed (bChange).
    bool IsFolderCurrent(bool bChange = false) const;

    // --- Item operations for the list ------------------------------------------
    // One row of the current folder, by its raw name and kind: beside the pak,
    // or into diskFolder. False when it failed (the message was shown).
    bool ExtractItem(const std::string& name, int nKind, const std::optional<QString>& diskFolder = std::nullopt);
    bool ExtractItemTo(const std::string& name, const QString& diskFolder, int nKind)
    {
        return ExtractItem(name, nKind, diskFolder);
    }
    // True when the list should remove the row; a deleted folder leaves the
    // tree.
    bool DeleteItem(const std::string& name, int nKind);
    // True when the archive renamed it; a folder's tree item follows.
    bool RenameItem(const std::string& oldName, const QString& newText, int nKind);
    // The target of Extract To: the fixed folder of the options, else the
    // one the user picks; the message is shown when it is not a folder.
    std::optional<QString> ChooseExtractFolder();
    // The overwrite question, when "ExtractWarning" asks for it.
    bool ConfirmOverwrite();
    // What a failed change or extraction shows: prefix and the archive's
    // text ("Fatal Error:  " instead for fatal codes); for a pak another
    // program has changed, the offer to load it again.
    void ShowArchiveFailure(const QString& prefix);
    // The pak path of an item of the list, in the form the archive's
    // queries take (a folder's ends in '/').
    std::string ItemPath(const std::string& name, int nKind) const;

    // --- Items leaving as files (transfer_commands.cpp) ---------------------------
    // What became of a Copy, Cut or drag: whether the clipboard took it, how
    // a drag ended, and the pak paths of the items that reached the disk.
    struct CTransferResult {
        bool bPlaced = false;
        Qt::DropAction action = Qt::IgnoreAction;
        std::vector<std::string> files;
        std::vector<std::string> folders;
    };
    // Rows of the current folder, by raw name, onto the clipboard (extracted
    // at once) or dragged out.
    CTransferResult CopyItems(const std::vector<std::string>& files, const std::vector<std::string>& folders,
                              bool bCut);
    CTransferResult DragItems(const std::vector<std::string>& files, const std::vector<std::string>& folders);
    // A folder of the tree dragged out; moved away, it leaves the pak.
    void OnBeginDrag(QTreeWidgetItem* pItem);

    // --- Items coming in (paste_commands.cpp) ---------------------------------
    // What a paste or drop brought in: false after a fatal failure, and the
    // disk paths that entered the pak whole.
    struct CPasteResult {
        bool bOk = true;
        bool bFatal = false;
        std::vector<std::string> entered;
    };
    // Brings the local files and folders of pData into the folder of
    // pTarget (or its sub-folder subfolder), asking before anything is
    // replaced; one commit for all. With the move effect, only what the pak
    // then holds leaves the disk.
    CPasteResult PasteFiles(const QMimeData* pData, QTreeWidgetItem* pTarget, const std::string& subfolder,
                            Qt::DropAction effect);
    void OnPaste();
    bool ClipboardHasFiles() const;
    // The local paths of incoming data; *pbRefused when something in it may
    // not come in (other machines' URLs, the root) or nothing may.
    static std::vector<std::string> IncomingPaths(const QMimeData* pData, bool* pbRefused);
    // Whether a drop of the program's own drag on targetFolder would destroy
    // what it carries (onto its own folder, a folder into itself).
    bool IsOwnDropRefused(const std::string& targetFolder) const;
    static Qt::DropAction DropActionFor(const QDropEvent* pEvent);
    // Whether drops may come in now: a pak is shown, writable, and idle.
    bool CanTakeDrop() const;
    // The list's drops end here too: notes what entered for the drag.
    void NoteOwnDrop(const CPasteResult& result);
    // A pasted item's row: appended when new, its size updated when it
    // replaced an entry shown.
    void AddOrUpdateListRow(const std::string& name, int nKind);

    // --- Restoring (restore_commands.cpp) -----------------------------------------
    // Restores the gibbed entries the user picks, asking before one replaces
    // a live entry, in one commit; lists the names that could not come back.
    void OnRestoreFiles();
    // Rebuilds the tree and the list from the archive, keeping the folder
    // on show where it still exists.
    void RefillPanes();

    // --- Opening items in their programs (launch_commands.cpp) -------------------
    // Extracts a file of the current folder, by raw name, into a launch
    // folder of its own and opens it with its default program. Its saves
    // come back into the pak for as long as the pak stays loaded.
    void LaunchEntry(const std::string& name);
    // Writes an opened copy back under its entry path, asking first when
    // "ConfirmUpdate" says so: 1 when written or declined, 0 after an error
    // (whose message says where the copy is).
    int WriteBackEntry(const std::string& tempPath, const std::string& entryPath);
    // Before the pak closes: true when no item is open in a program, or the
    // user chose to close all the same.
    bool AskToCloseWithOpenItems();
    // As the pak closes: changed copies go back into it, and the launch
    // folders go unless a program still runs there or holds edits that
    // could not be written.
    void SettleLaunches();
    const CLaunchTracker& GetLaunches() const { return m_launched; }
    bool IsLaunchPollRunning() const;
    // The frame asks before it closes.
    bool CanCloseFrame() override { return AskToCloseWithOpenItems(); }

    // --- Game folders (game_folder_commands.cpp) ------------------------------
    // Asks for a game folder and opens a window over it.
    void OnOpenGameFolder();
    void OpenGameFolder(const QString& folder);
    // Shows the pak at pakPath (loading it when another is shown) with
    // entryPath's folder current and its row selected. False when the pak
    // could not be shown.
    bool ShowPakEntry(const QString& pakPath, const std::string& entryPath);
    // Makes a folder of the loaded pak current, as far down as it exists
    // ("maps/dm/" or "maps/dm"); the item made current.
    QTreeWidgetItem* SelectFolderPath(std::string_view folder);

    // --- Sound (sound_commands.cpp) ------------------------------------------
    // Plays a ".wav" file of the current folder, by raw name, stopping the
    // sound that plays. An empty or missing entry does nothing; one that
    // cannot be read, decoded or played is said.
    void PlayWave(const std::string& name);
    void OnStopSound();

    // --- Recent paks ("R&eopen Pak") ----------------------------------------
    // Reads "Mru"/"0" to "5"; empty values are skipped.
    void LoadRecent();
    // Writes the list as "Mru"/"0" on and removes the values past its end.
    void SaveRecent();
    // Puts path in front, dropping the sixth entry when the list is full.
    // False, changing nothing, when the list holds it already (paths compare
    // as the file system compares them).
    bool AddRecent(const QString& path);
    void BuildRecentMenu();
    // Opens entry nIndex; a path that no longer exists is reported and
    // leaves the list.
    void OpenRecent(int nIndex);
    const QStringList& GetRecentPaks() const { return m_mru; }

    // --- Loading -------------------------------------------------------------
    // Opens m_strPakPath and inserts the root item (its text the pak's full
    // path). On failure shows the archive's message, empties m_strPakPath
    // and returns false.
    bool LoadPak();
    // Inserts every folder beneath folder (pak form, "" for the root) under
    // pParent, at every depth, each level in name order.
    void FillTree(QTreeWidgetItem* pParent, const std::string& folder);
    // Empties both panes and shows the pak at path: the loading every
    // command that changes the pak after start-up ends with. False when the
    // pak could not be opened; both panes then stay empty.
    bool LoadAndShowPak(const QString& path);

    // --- Folders and the list ------------------------------------------------
    // The pak-form path of a folder item ("" for the root), extended by
    // name + "/" when name is not empty.
    std::string FolderPathOfItem(const QTreeWidgetItem* pItem, std::string_view name = {}) const;
    std::string CurrentFolderPath(std::string_view name = {}) const;
    // The folder the list's row names start from: the current folder's
    // path, or the root while the list shows every folder.
    std::string ListFolderPath(std::string_view name = {}) const;
    // Refills the list with the current folder, in the list's order; while
    // it shows every folder, with every entry of the pak by its full name.
    void FillList();
    // The list shows every entry of the pak (bOn) or the current folder's
    // items; refilled either way.
    void SetListFromRoot(bool bOn);
    bool IsListFromRoot() const { return m_bListFromRoot; }
    // After entries of folder (pak form, "maps/dm/") left the pak: the
    // folder and the folders above it that hold nothing any more leave the
    // tree; a folder that still holds an entry stays.
    void PruneEmptyFolders(const std::string& folder);
    // Appends a row for a new file (kindFile) or folder (kindFolder) of the
    // current folder, unless a row of that name (any case) and kind exists.
    void AddListItem(const std::string& name, int nKind);
    // Makes sure folder item name exists under pParent, with every folder
    // the archive has beneath it.
    void EnsureTreeFolder(const std::string& name, QTreeWidgetItem* pParent);
    // The type name and icon of a file name: the desktop's, with the
    // program's own type names where the desktop knows none.
    QString TypeNameOf(const QString& name);
    QIcon IconOf(const QString& name);
    // The program's error box.
    void ShowError(const QString& text);

    // --- Navigation ----------------------------------------------------------
    // Shows the pak as it is now: loads it again when another program has
    // changed it, else refills the list.
    void OnRefresh();
    void OnUpOneLevel();
    void OnSelectAll();
    void OnInvertSelection();
    void OnSwitchPane();

    // --- State the list and the frame read -------------------------------------
    bool HasItems() const { return topLevelItemCount() > 0; }
    // True while long work runs on the archive with the event loop turning
    // (a progress window is up): nothing may touch the archive meanwhile.
    bool IsBusy() const { return m_bBusy; }
    QTreeWidgetItem* GetRootItem() const { return topLevelItem(0); }
    QTreeWidgetItem* GetCurrentFolder() const { return m_hCurrentFolder; }
    // Selects a folder item, which makes it current and refills the list.
    void SelectFolder(QTreeWidgetItem* pItem);
    // The child of pParent whose name equals name ignoring case, or null.
    QTreeWidgetItem* FindChildFolder(QTreeWidgetItem* pParent, const QString& name) const;
    // The child with exactly these name bytes, else one whose name equals
    // it ignoring case; null when neither.
    QTreeWidgetItem* FindChildFolderByRaw(QTreeWidgetItem* pParent, const std::string& rawName) const;
    // Takes a folder item out of the tree, selecting its parent first when
    // it is current.
    void RemoveFolderItem(QTreeWidgetItem* pItem);
    const QString& GetPakPath() const { return m_strPakPath; }
    CPakArchive& GetArchive() { return m_archive; }

    // The pak-form bytes of a folder item's name.
    static std::string RawNameOf(const QTreeWidgetItem* pItem);

protected:
    void OnSelChanged(QTreeWidgetItem* pCurrent);
    // The root is never edited, nor a folder of a read-only pak.
    using QTreeWidget::edit;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* pEvent) override;
    // A folder label edit that ended with a text: renamed in the archive,
    // then in the tree.
    void OnEndLabelEdit(QTreeWidgetItem* pItem, const QString& text);
    static void SetFolderItemName(QTreeWidgetItem* pItem, const std::string& rawName);
    // A dragged folder leaves as files; moved away, it leaves the pak.
    void startDrag(Qt::DropActions supportedActions) override;
    QString ArchiveFailureText(const QString& prefix) const;
    // A data source over these pak paths; null after its message.
    std::unique_ptr<CPakDataSource> NewClipboardSource(const std::vector<std::string>& filePaths,
                                                       const std::vector<std::string>& folderPaths);
    void ItemPaths(const std::vector<std::string>& files, const std::vector<std::string>& folders,
                   std::vector<std::string>& filePaths, std::vector<std::string>& folderPaths) const;
    CTransferResult PutItemsOnClipboard(const std::vector<std::string>& filePaths,
                                        const std::vector<std::string>& folderPaths, bool bCut);
    // Extracts, then runs the drag from pSource; nothing is dragged when an
    // item could not be extracted.
    CTransferResult DragPaths(const std::vector<std::string>& filePaths, const std::vector<std::string>& folderPaths,
                              QWidget* pSource);
    static std::string ParentFolderOf(const std::string& folderPath);
    void SetDropHighlight(QTreeWidgetItem* pItem);
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dragLeaveEvent(QDragLeaveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    // After a Cut or a move: the folder leaves the pak, then the tree.
    void RemoveFolderAfterTransfer(const std::string& folder, QTreeWidgetItem* pItem);
    // Extracts a pak folder beside the pak or into diskFolder, with the
    // progress window and its Cancel.
    bool ExtractFolderWithProgress(const std::string& folder, const std::optional<QString>& diskFolder);
    static PakProgressFn ProgressShownBy(IProgress* pProgress);
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

    // The folders beneath one folder while FillTree gathers them; names
    // point into the archive's directory, which does not change meanwhile.
    struct CFolderNode {
        using Children = std::unordered_map<std::string_view, std::unique_ptr<CFolderNode>>;
        Children children;
    };
    void AddFolderItems(QTreeWidgetItem* pParent, const CFolderNode& node);
    QTreeWidgetItem* NewFolderItem(const std::string& rawName) const;
    void SizeColumn();
    // Empties the tree and the list.
    void ClearPanes();
    // The list rows of a folder and of a file.
    CListRow FolderRow(std::string rawName) const;
    CListRow FileRow(std::string rawName, std::int64_t nLength);
    // Closes the loaded pak, keeps it in the recent list and shows path:
    // how New Pak, Open Pak and the recent list end. Items open in programs
    // are asked about first, unless bAsked.
    void ReplacePak(const QString& path, bool bAsked = false);
    // Whether path names the file of the loaded pak, however it is spelt.
    bool IsLoadedPak(const QString& path) const;

    // Launches (launch_commands.cpp).
    void SetUpLaunchWatch();
    void WatchLaunchCopy(const std::string& tempPath);
    void OnLaunchPoll();
    void WriteBackLaunch(int i);
    // What a written-back entry changes on show: its row, or its folder
    // back in the tree.
    void ShowWrittenBackEntry(const std::string& entryPath);
    void ForgetLaunch(int i, bool bRemoveFolder);
    // The view's end without the frame's closing: nothing is asked or
    // written, and only folders that hold nothing unwritten go.
    void DropLaunchesQuietly();

    CViewServices m_services;
    QString m_strCmdLinePak;

    CPakArchive m_archive;
    // Full path of the loaded pak; empty while none is loaded.
    QString m_strPakPath;
    CPakList* m_pList = nullptr;
    // The closed folder, with the open folder for its selected state.
    QIcon m_folderIcon;
    // Recently used paks, most recent first, at most six.
    QStringList m_mru;
    // The folder the list shows.
    QTreeWidgetItem* m_hCurrentFolder = nullptr;
    // The list shows every entry instead of the current folder's items.
    bool m_bListFromRoot = false;
    // The folder Extract To went to last, offered first next time.
    QString m_strExtractToDir;
    // The last drag's files, kept until the next drag or the view's end:
    // a receiver may still be copying them after the drop.
    std::shared_ptr<CTransferFolder> m_pDragTransfer;
    // The program's own drag while it runs, for the drops it reaches.
    struct COwnDrag {
        bool bActive = false;
        bool bDropped = false;
        std::string sourceFolder;           // where the items came from (FolderPathOfItem form)
        bool bFromEveryFolder = false;      // rows of the list showing every folder
        std::vector<std::string> files;     // their pak paths
        std::vector<std::string> folders;
        std::set<std::string> entered;      // offered disk paths a drop here took
    };
    COwnDrag m_ownDrag;
    QTreeWidgetItem* m_pDropHighlight = nullptr;
    // Entries open in other programs; the 50 ms poll runs while a process
    // does or a change settles, and the watcher wakes it for the rest.
    CLaunchTracker m_launched;
    QTimer* m_pLaunchTimer = nullptr;
    QFileSystemWatcher* m_pLaunchWatcher = nullptr;
    bool m_bLaunchWatchFailed = false;
    bool m_bInLaunchWork = false;

private:
    bool m_bBusy = false;
    // Type names and icons by the part of a name the desktop judges it by,
    // so that a folder of 10 000 files asks the desktop a handful of times.
    QHash<QString, QString> m_typeNames;
    QHash<QString, QIcon> m_icons;
};

}  // namespace vantor
