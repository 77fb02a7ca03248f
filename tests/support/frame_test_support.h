// Helpers for tests of the main window: clean settings, and a frame whose
// panes are stand-ins that record the commands they get.
#pragma once

#include "main_frame.h"
#include "qt_print.h"
#include "fake_shell.h"
#include "scripted_prompt.h"

#include <QSettings>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace vantor::test {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { QSettings("Tessamont", "Vantor").clear(); }
    void TearDown() override { QSettings("Tessamont", "Vantor").clear(); }

    static QVariant Stored(const QString& section, const QString& key)
    {
        return QSettings("Tessamont", "Vantor").value(section + "/" + key);
    }
};

// A pane that claims the commands in m_handled, enables them as m_enabled
// says (default on), and records the ones it runs.
class CFakePane : public QWidget, public IFramePane {
public:
    CFakePane(IMainFrame& frame, const QString& statusText) : m_frame(frame), m_strStatus(statusText)
    {
        setFocusPolicy(Qt::StrongFocus);
    }

    bool OnCommand(int nID) override
    {
        if (!m_handled.count(nID))
            return false;
        m_received.push_back(nID);
        return true;
    }
    bool OnUpdateCommand(CCmdUI& ui) override
    {
        if (!m_handled.count(ui.GetID()))
            return false;
        const auto rule = m_enabled.find(ui.GetID());
        if (rule != m_enabled.end())
            ui.Enable(rule->second);
        return true;
    }
    void UpdateStatusBar() override { m_frame.SetPaneText(0, m_strStatus); }
    void OnInitialUpdate() override { ++m_nInitialUpdates; }
    void OnFrameClosing() override { ++m_nClosings; }

    IMainFrame& m_frame;
    QString m_strStatus;
    std::set<int> m_handled;
    std::map<int, bool> m_enabled;
    std::vector<int> m_received;
    int m_nInitialUpdates = 0;
    int m_nClosings = 0;
};

class CFrameWithFakePanes : public CMainFrame {
public:
    using CMainFrame::CMainFrame;

    CFakePane* m_pLeft = nullptr;
    CFakePane* m_pRight = nullptr;

protected:
    bool OnCreateClient() override
    {
        m_pLeft = new CFakePane(*this, QStringLiteral("left pane status"));
        m_pRight = new CFakePane(*this, QStringLiteral("right pane status"));
        AddPane(m_pLeft, m_pLeft);
        AddPane(m_pRight, m_pRight);
        return true;
    }
};

}  // namespace vantor::test
