#include "pak_app.h"

#include "main_frame.h"
#include "options_dlg.h"
#include "prompt.h"
#include "settings.h"

#include <QDir>

namespace vantor {

void EnsureTempFolder()
{
    // Read the variable itself: Qt's temporary path is empty for a folder
    // that does not exist yet.
#ifdef Q_OS_WIN
    QString path = qEnvironmentVariable("TMP");
    if (path.isEmpty())
        path = qEnvironmentVariable("TEMP");
#else
    const QString path = qEnvironmentVariable("TMPDIR");
#endif
    if (!path.isEmpty() && !QFileInfo(path).isDir())
        QDir().mkdir(path);
}

CPakApp::CPakApp(IPrompt& prompt, IShellServices& shell) : m_prompt(prompt), m_shell(shell) {}

CPakApp::~CPakApp() = default;

bool CPakApp::InitInstance(const QString& strCmdLinePak)
{
    EnsureTempFolder();

    // No "AssociatePak" at all means Vantor has never been set up for this
    // user: the first settings are chosen before the window appears, and
    // only OK leaves the dialog.
    if (ReadSetting(setting::kAssociatePak, -1) == -1) {
        COptionsDlg dialog(m_prompt);
        dialog.m_bAllowCancel = false;
        m_prompt.DoModal(dialog);
    }

    RegisterPakType();

    m_strCmdLinePak = strCmdLinePak;
    m_pMainFrame = std::make_unique<CMainFrame>(m_prompt, m_shell, m_strCmdLinePak);
    if (!m_pMainFrame->Create()) {
        m_pMainFrame.reset();
        return false;
    }
    m_pMainFrame->ActivateFrame();
    return true;
}

void CPakApp::RegisterPakType()
{
    const int nAssociate = ReadSetting(setting::kAssociatePak);
    const int nNewPak = ReadSetting(setting::kNewPak);
    CPakRegistration(RegistrationPaths::FromEnvironment(), m_runTool).Refresh(nAssociate, nNewPak);
}

}  // namespace vantor
