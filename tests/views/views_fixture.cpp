#include "views_fixture.h"

#include "view_text.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <filesystem>

namespace vantor::test {

void ViewsTest::SetUp()
{
    SettingsTest::SetUp();
    // What an earlier test copied would enable Paste.
    QGuiApplication::clipboard()->clear();
    // Transfers to and from the desktop go below the test's own folder.
    std::filesystem::create_directory(m_dir / "private");
    m_shell.m_strPrivateTempPath = QString::fromStdString(m_dir / "private");
    // The desktop also names two Quake extensions after other programs'
    // files; the program's own names must win for those.
    m_shell.m_typeNames = {{"txt", "Text document"},
                           {"cfg", "Configuration file"},
                           {"dat", "Generic data"},
                           {"bsp", "Another program's project"}};
}

void ViewsTest::TearDown()
{
    if (m_pFrame)
        CloseFrame();
    m_pFrame.reset();
    if (m_pPanes)
        m_pTree->OnFrameClosing();
    m_pPanes.reset();
    SettingsTest::TearDown();
}

std::string ViewsTest::WritePak(const PakBuilder& pak, const std::string& name)
{
    const std::string path = m_dir / name;
    pak.WriteTo(path);
    return path;
}

void ViewsTest::OpenFrame(const std::string& cmdLinePak)
{
    m_pFrame = std::make_unique<CMainFrame>(m_prompt, m_shell, FromDiskBytes(cmdLinePak));
    ASSERT_TRUE(m_pFrame->Create());
    m_pFrame->ActivateFrame();
    m_pTree = m_pFrame->GetTree();
    m_pList = m_pFrame->GetList();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pFrame.get()));
}

void ViewsTest::OpenPanes(const std::string& cmdLinePak)
{
    const CViewServices services{m_prompt, m_shell, m_fakeFrame};
    m_pPanes = std::make_unique<QSplitter>();
    m_pTree = new CPakTree(services, FromDiskBytes(cmdLinePak));
    m_pList = new CPakList(services);
    m_pTree->SetList(m_pList);
    m_pList->SetTree(m_pTree);
    m_pPanes->addWidget(m_pTree);
    m_pPanes->addWidget(m_pList);
    m_pPanes->resize(800, 500);
    m_pPanes->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pPanes.get()));
    m_pTree->OnInitialUpdate();
    m_pList->OnInitialUpdate();
}

void ViewsTest::CloseFrame()
{
    if (!m_pFrame->isVisible())
        return;
    m_pFrame->close();
    QApplication::processEvents();
}

QStringList ViewsTest::Column(int nColumn)
{
    QStringList texts;
    const CPakListModel& model = List().Model();
    for (int nRow = 0; nRow < model.rowCount(); ++nRow)
        texts.append(model.data(model.index(nRow, nColumn), Qt::DisplayRole).toString());
    return texts;
}

QStringList ViewsTest::Children(const QTreeWidgetItem* pItem)
{
    QStringList names;
    for (int i = 0; pItem && i < pItem->childCount(); ++i)
        names.append(pItem->child(i)->text(0));
    return names;
}

QTreeWidgetItem* ViewsTest::Folder(const QString& path)
{
    QTreeWidgetItem* pItem = Tree().GetRootItem();
    for (const QString& name : path.split(u'/', Qt::SkipEmptyParts)) {
        QTreeWidgetItem* pChild = nullptr;
        for (int i = 0; pItem && i < pItem->childCount() && !pChild; ++i) {
            if (pItem->child(i)->text(0) == name)
                pChild = pItem->child(i);
        }
        pItem = pChild;
    }
    return pItem;
}

void ViewsTest::Enter(const QString& path)
{
    QTreeWidgetItem* pItem = Folder(path);
    ASSERT_NE(pItem, nullptr) << path.toStdString();
    Tree().setCurrentItem(pItem);
}

void ViewsTest::SelectRows(std::initializer_list<int> rows)
{
    List().clearSelection();
    for (const int nRow : rows)
        List().selectionModel()->select(List().Model().index(nRow, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QString ViewsTest::Pane(int nPane)
{
    if (!m_pFrame)
        return m_fakeFrame.m_paneTexts[nPane & 1];
    return m_pFrame->findChild<QLabel*>(QStringLiteral("statusPane%1").arg(nPane))->text();
}

QStringList ViewsTest::Messages() const
{
    QStringList texts;
    for (const CScriptedPrompt::Question& question : m_prompt.Questions()) {
        if (question.kind == CScriptedPrompt::Kind::message)
            texts.append(question.text);
    }
    return texts;
}

bool ViewsTest::Enabled(int nID)
{
    m_pFrame->UpdateCommands();
    return m_pFrame->GetCommandAction(nID)->isEnabled();
}

}  // namespace vantor::test
