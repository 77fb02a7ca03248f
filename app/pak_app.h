// CPakApp: start-up. Makes sure the temporary folder exists, shows the
// Options dialog on the very first run, keeps the desktop's .pak
// registration current, and opens the main window with the pak named on the
// command line.
#pragma once

#include "pak_registration.h"

#include <QString>

#include <memory>

namespace vantor {

class CMainFrame;
class IPrompt;
class IShellServices;

// Creates the temporary folder named by the environment (TMPDIR; TMP, else
// TEMP on Windows) when it is missing, but not its parents. A failure is not reported here; the operations that need the
// folder report it.
void EnsureTempFolder();

class CPakApp {
public:
    CPakApp(IPrompt& prompt, IShellServices& shell);
    ~CPakApp();
    CPakApp(const CPakApp&) = delete;
    CPakApp& operator=(const CPakApp&) = delete;

    // Runs start-up and shows the main window. strCmdLinePak is the pak to
    // open, empty for none. False when the main window cannot be created.
    bool InitInstance(const QString& strCmdLinePak);

    // Brings the desktop registration in line with "AssociatePak" and
    // "NewPak".
    void RegisterPakType();

    // Tests replace the tools the registration starts.
    void SetToolRunner(ToolRunner runTool) { m_runTool = std::move(runTool); }

    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }

    // The pak named on the command line; the tree view opens it once the
    // window exists.
    QString m_strCmdLinePak;

private:
    IPrompt& m_prompt;
    IShellServices& m_shell;
    ToolRunner m_runTool = RunInstalledToolDetached;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};

}  // namespace vantor
