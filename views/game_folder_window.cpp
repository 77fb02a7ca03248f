#include "game_folder_window.h"

#include "pak_tree.h"
#include "settings.h"
#include "view_text.h"

#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>

namespace vantor {

namespace {

constexpr int kRawRole = Qt::UserRole;       // a folder's pak-form path, or a row's file path
constexpr int kIsFolderRole = Qt::UserRole + 1;
// Editors and build scripts write in bursts; one refresh after they settle.
constexpr int kRefreshDelayMs = 300;

QByteArray Bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string RawOf(const QTreeWidgetItem* pItem)
{
    const QByteArray bytes = pItem->data(0, kRawRole).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The files below folder ("" or ending in '/'): a run of the sorted list.
std::pair<std::vector<CGameFile>::const_iterator, std::vector<CGameFile>::const_iterator>
FilesBelow(const std::vector<CGameFile>& files, const std::string& folder)
{
    const auto first = std::lower_bound(files.begin(), files.end(), folder,
                                        [](const CGameFile& file, const std::string& f) { return file.path < f; });
    auto last = first;
    while (last != files.end() && last->path.compare(0, folder.size(), folder) == 0)
        ++last;
    return {first, last};
}

// One of a menu's exclusive choices.
QAction* AddChoice(QMenu* pMenu, QActionGroup* pGroup, const char* text, bool bChecked)
{
    QAction* pAction = pMenu->addAction(QString::fromUtf8(text));
    pAction->setCheckable(true);
    pAction->setChecked(bChecked);
    pGroup->addAction(pAction);
    return pAction;
}

}  // namespace

CGameFolderWindow::CGameFolderWindow(const CViewServices& services, CPakTree& tree, const QString& folder,
                                     QWidget* pParent)
    : QMainWindow(pParent, Qt::Window), m_services(services), m_tree(tree)
{
    setObjectName(QStringLiteral("gameFolderWindow"));
    // A folder holding id1 is the base; otherwise the folder is one game
    // folder over id1, beside it.
    const std::filesystem::path path(ToDiskBytes(QDir::cleanPath(folder)));
    std::error_code error;
    if (std::filesystem::is_directory(path / "id1", error)) {
        m_base = path.string();
        m_gameFolders = {"id1"};
    } else {
        m_base = path.parent_path().string();
        const std::string name = path.filename().string();
        m_gameFolders = name == "id1" || name.empty() ? std::vector<std::string>{"id1"}
                                                      : std::vector<std::string>{"id1", name};
    }
    m_profile = ReadSetting(setting::kGameProfile) == 1 ? GameProfile::darkplaces : GameProfile::classic;
    setWindowTitle(FromDiskBytes(path.string()) + QStringLiteral(" - Game Folder - Vantor"));

    m_pFolders = new QTreeWidget;
    m_pFolders->setHeaderHidden(true);
    m_pRows = new QTreeWidget;
    m_pRows->setRootIsDecorated(false);
    m_pRows->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Loaded from"),
                              QStringLiteral("Shadows")});
    m_pWarnings = new QListWidget;
    auto* pRight = new QSplitter(Qt::Vertical);
    pRight->addWidget(m_pRows);
    pRight->addWidget(m_pWarnings);
    pRight->setStretchFactor(0, 4);
    auto* pSplitter = new QSplitter;
    pSplitter->addWidget(m_pFolders);
    pSplitter->addWidget(pRight);
    pSplitter->setStretchFactor(1, 3);
    setCentralWidget(pSplitter);
    m_pStatus = new QLabel;
    statusBar()->addWidget(m_pStatus, 1);
    resize(900, 600);

    connect(m_pFolders, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* pItem) {
        if (pItem) {
            m_currentFolder = RawOf(pItem);
            FillRows();
        }
    });
    connect(m_pRows, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* pItem) {
        if (pItem->data(0, kIsFolderRole).toBool())
            ShowFolder(RawOf(pItem));
        else
            OpenRow(m_pRows->indexOfTopLevelItem(pItem));
    });
    m_pWatcher = new QFileSystemWatcher(this);
    m_pRefreshTimer = new QTimer(this);
    m_pRefreshTimer->setSingleShot(true);
    connect(m_pRefreshTimer, &QTimer::timeout, this, &CGameFolderWindow::Refresh);
    const auto later = [this] { m_pRefreshTimer->start(kRefreshDelayMs); };
    connect(m_pWatcher, &QFileSystemWatcher::fileChanged, this, later);
    connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, this, later);
    BuildMenus();
    Refresh();
}

void CGameFolderWindow::BuildMenus()
{
    QMenu* pView = menuBar()->addMenu(QStringLiteral("&View"));
    auto* pProfiles = new QActionGroup(this);
    const struct {
        const char* text;
        GameProfile profile;
    } profiles[] = {{"&Classic engines (id, QuakeSpasm)", GameProfile::classic},
                    {"&DarkPlaces", GameProfile::darkplaces}};
    for (const auto& p : profiles) {
        const GameProfile profile = p.profile;
        connect(AddChoice(pView, pProfiles, p.text, profile == m_profile), &QAction::triggered, this,
                [this, profile] { SetProfile(profile); });
    }
    pView->addSeparator();
    auto* pFilters = new QActionGroup(this);
    const struct {
        const char* text;
        Filter filter;
    } filters[] = {{"&All Files", Filter::all}, {"&Overrides Only", Filter::overridesOnly},
                   {"&Shadowed Only", Filter::shadowedOnly}};
    for (const auto& f : filters) {
        const Filter filter = f.filter;
        connect(AddChoice(pView, pFilters, f.text, filter == m_filter), &QAction::triggered, this,
                [this, filter] { SetFilter(filter); });
    }
    pView->addSeparator();
    QAction* pRefresh = pView->addAction(QStringLiteral("&Refresh"), this, &CGameFolderWindow::Refresh);
    pRefresh->setShortcut(QKeySequence(Qt::Key_F5));
}

void CGameFolderWindow::SetProfile(GameProfile profile)
{
    m_profile = profile;
    WriteSetting(setting::kGameProfile, profile == GameProfile::darkplaces ? 1 : 0);
    Refresh();
}

void CGameFolderWindow::SetFilter(Filter filter)
{
    m_filter = filter;
    FillRows();
}

void CGameFolderWindow::Refresh()
{
    const std::string folder = m_currentFolder;
    if (!m_resolver.Resolve(m_base, m_gameFolders, m_profile, m_view))
        m_view = CGameView();
    FillFolders();
    if (!ShowFolder(folder))
        ShowFolder(std::string());
    m_pWarnings->clear();
    const auto shown = [this](const std::string& path) {
        return FromDiskBytes(path.compare(0, m_base.size() + 1, m_base + '/') == 0 ? path.substr(m_base.size() + 1)
                                                                                    : path);
    };
    for (const CGameWarning& warning : m_view.warnings)
        m_pWarnings->addItem(QString::fromLatin1(GameWarningName(warning.kind)) + QStringLiteral(": ") +
                             shown(warning.where) + QStringLiteral(": ") + DecodeName(warning.detail));
    m_pWarnings->setVisible(!m_view.warnings.empty());
    const auto count = [](std::size_t n, const char* one, const char* many) {
        return QString::number(n) + u' ' + QString::fromLatin1(n == 1 ? one : many);
    };
    m_pStatus->setText(count(m_view.files.size(), "file", "files") + QStringLiteral(" from ") +
                       count(m_view.layers.size(), "layer", "layers") + QStringLiteral(", ") +
                       count(m_view.warnings.size(), "warning", "warnings"));
    WatchLayers();
}

void CGameFolderWindow::WatchLayers()
{
    QStringList paths;
    for (const CGameLayer& layer : m_view.layers)
        paths.append(FromDiskBytes(layer.diskPath));
    for (const std::string& game : m_gameFolders)
        paths.append(FromDiskBytes(m_base + '/' + game));
    // The folders of loose files, where files come and go.
    for (const CGameFile& file : m_view.files) {
        const CGameLayer& layer = m_view.layers[static_cast<std::size_t>(file.copies.front().nLayer)];
        const std::size_t nSlash = file.path.rfind('/');
        if (!layer.bPak && nSlash != std::string::npos)
            paths.append(FromDiskBytes(layer.diskPath + '/' + file.path.substr(0, nSlash)));
    }
    paths.removeDuplicates();
    const QStringList watched = m_pWatcher->files() + m_pWatcher->directories();
    if (!watched.isEmpty())
        m_pWatcher->removePaths(watched);
    m_pWatcher->addPaths(paths);
}

void CGameFolderWindow::FillFolders()
{
    const QSignalBlocker blocker(m_pFolders);
    m_pFolders->clear();
    auto* pRoot = new QTreeWidgetItem(m_pFolders, {FromDiskBytes(m_base + '/' + m_gameFolders.back())});
    pRoot->setData(0, kRawRole, QByteArray());
    QHash<QByteArray, QTreeWidgetItem*> byFolder{{QByteArray(), pRoot}};
    for (const CGameFile& file : m_view.files) {
        QTreeWidgetItem* pParent = pRoot;
        for (std::size_t nSlash = file.path.find('/'); nSlash != std::string::npos;
             nSlash = file.path.find('/', nSlash + 1)) {
            const QByteArray folder = Bytes(file.path.substr(0, nSlash + 1));
            QTreeWidgetItem*& pItem = byFolder[folder];
            if (!pItem) {
                const std::size_t nStart = file.path.rfind('/', nSlash - 1);
                const std::string name =
                    file.path.substr(nStart == std::string::npos ? 0 : nStart + 1, nSlash - (nStart == std::string::npos ? 0 : nStart + 1));
                pItem = new QTreeWidgetItem(pParent, {DecodeName(name)});
                pItem->setData(0, kRawRole, folder);
                pItem->setIcon(0, m_services.shell.GetFolderIcon(FolderIcon::closed));
            }
            pParent = pItem;
        }
    }
    m_pFolders->sortItems(0, Qt::AscendingOrder);
    pRoot->setExpanded(true);
}

std::string CGameFolderWindow::FolderOf(const QTreeWidgetItem* pItem) const
{
    return pItem ? RawOf(pItem) : std::string();
}

bool CGameFolderWindow::ShowFolder(const std::string& folder)
{
    QTreeWidgetItem* pItem = m_pFolders->topLevelItem(0);
    for (std::size_t nStart = 0; pItem && nStart < folder.size();) {
        const std::size_t nEnd = folder.find('/', nStart);
        const QByteArray wanted = Bytes(folder.substr(0, nEnd + 1));
        QTreeWidgetItem* pChild = nullptr;
        for (int i = 0; i < pItem->childCount() && !pChild; ++i) {
            if (pItem->child(i)->data(0, kRawRole).toByteArray() == wanted)
                pChild = pItem->child(i);
        }
        pItem = pChild;
        nStart = nEnd + 1;
    }
    if (!pItem)
        return false;
    m_currentFolder = folder;
    {
        const QSignalBlocker blocker(m_pFolders);
        m_pFolders->setCurrentItem(pItem);
    }
    FillRows();
    return true;
}

QString CGameFolderWindow::SourceText(const CGameCopy& copy) const
{
    const CGameLayer& layer = m_view.layers[static_cast<std::size_t>(copy.nLayer)];
    const std::string path = layer.diskPath.substr(std::min(layer.diskPath.size(), m_base.size() + 1));
    return FromDiskBytes(layer.bPak ? path : path + '/');
}

bool CGameFolderWindow::PassesFilter(const CGameFile& file) const
{
    if (m_filter == Filter::all)
        return true;
    const std::string& top = m_gameFolders.back();
    const auto gameOf = [this](const CGameCopy& copy) -> const std::string& {
        return m_view.layers[static_cast<std::size_t>(copy.nLayer)].gameFolder;
    };
    if (m_filter == Filter::overridesOnly)
        return gameOf(file.copies.front()) == top &&
               std::any_of(file.copies.begin() + 1, file.copies.end(), [&](const CGameCopy& c) { return gameOf(c) != top; });
    return std::any_of(file.copies.begin() + 1, file.copies.end(), [&](const CGameCopy& c) { return gameOf(c) == top; });
}

void CGameFolderWindow::FillRows()
{
    m_pRows->clear();
    const auto [first, last] = FilesBelow(m_view.files, m_currentFolder);
    QTreeWidgetItem* pFolder = m_pFolders->currentItem();
    for (int i = 0; pFolder && i < pFolder->childCount(); ++i) {
        const std::string sub = RawOf(pFolder->child(i));
        const auto [subFirst, subLast] = FilesBelow(m_view.files, sub);
        if (std::none_of(subFirst, subLast, [this](const CGameFile& file) { return PassesFilter(file); }))
            continue;
        auto* pRow = new QTreeWidgetItem(m_pRows, {pFolder->child(i)->text(0), QString(), QString(), QString()});
        pRow->setData(0, kRawRole, Bytes(sub));
        pRow->setData(0, kIsFolderRole, true);
        pRow->setIcon(0, m_services.shell.GetFolderIcon(FolderIcon::closed));
    }
    for (auto it = first; it != last; ++it) {
        if (it->path.find('/', m_currentFolder.size()) != std::string::npos || !PassesFilter(*it))
            continue;
        const CGameCopy& winner = it->copies.front();
        const QString name = DecodeName(it->path.substr(m_currentFolder.size()));
        QString size;
        if (winner.nRecord >= 0) {
            size = QString::number(winner.nLength);
        } else {
            const CGameLayer& layer = m_view.layers[static_cast<std::size_t>(winner.nLayer)];
            size = QString::number(QFileInfo(FromDiskBytes(layer.diskPath + '/' + it->path)).size());
        }
        const qsizetype nShadows = static_cast<qsizetype>(it->copies.size()) - 1;
        auto* pRow = new QTreeWidgetItem(m_pRows, {name, size, SourceText(winner),
                                                   nShadows > 0 ? QString::number(nShadows) : QString()});
        pRow->setData(0, kRawRole, Bytes(it->path));
        pRow->setIcon(0, m_services.shell.GetFileIcon(name));
        QStringList shadowed;
        for (auto copy = it->copies.begin() + 1; copy != it->copies.end(); ++copy)
            shadowed.append(SourceText(*copy));
        if (!shadowed.isEmpty())
            pRow->setToolTip(3, QStringLiteral("Shadows: ") + shadowed.join(QStringLiteral(", ")));
    }
    for (int nColumn = 0; nColumn < m_pRows->columnCount(); ++nColumn)
        m_pRows->resizeColumnToContents(nColumn);
}

bool CGameFolderWindow::OpenRow(int nRow)
{
    QTreeWidgetItem* pRow = m_pRows->topLevelItem(nRow);
    if (!pRow || pRow->data(0, kIsFolderRole).toBool())
        return false;
    const CGameFile* pFile = m_view.Find(RawOf(pRow));
    if (!pFile)
        return false;
    const CGameLayer& layer = m_view.layers[static_cast<std::size_t>(pFile->copies.front().nLayer)];
    if (!layer.bPak)
        return false;
    if (!m_tree.ShowPakEntry(FromDiskBytes(layer.diskPath), pFile->path))
        return false;
    m_tree.window()->raise();
    m_tree.window()->activateWindow();
    return true;
}

}  // namespace vantor
