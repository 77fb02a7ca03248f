#include "options_dlg.h"

#include "prompt.h"
#include "settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vantor {

namespace {


template <typename Widget>
Widget* Named(Widget* pWidget, const char* pszName)
{
    pWidget->setObjectName(QString::fromLatin1(pszName));
    return pWidget;
}

}  // namespace

COptionsDlg::COptionsDlg(IPrompt& prompt, QWidget* pParent)
    : QDialog(pParent)
    , m_prompt(prompt)
    , m_pAssociate(Named(new QCheckBox(QStringLiteral("Associate Vantor with .pak files")), "checkAssociate"))
    , m_pNewPak(Named(new QCheckBox(QStringLiteral("Add .pak files to the New Menu")), "checkNewPak"))
    , m_pRecoverOnExit(Named(new QCheckBox(QStringLiteral("Automatically recover unused space on exit")),
                             "checkRecoverOnExit"))
    , m_pConfirmRecover(Named(new QCheckBox(QStringLiteral("Confirm before recovering unused space")),
                              "checkConfirmRecover"))
    , m_pPromptMode(Named(new QRadioButton(QStringLiteral("Prompt for target directory when using 'Extract To' "
                                                          "command")),
                          "radioPromptForFolder"))
    , m_pAlwaysMode(Named(new QRadioButton(QStringLiteral("Always 'Extract To' here:")), "radioAlwaysExtractTo"))
    , m_pExtractPath(Named(new QLineEdit, "editExtractPath"))
    , m_pBrowse(Named(new QPushButton(QStringLiteral("&Browse")), "buttonBrowse"))
    , m_pExtractWarning(Named(new QCheckBox(QStringLiteral("Display warning before extracting files")),
                              "checkExtractWarning"))
    , m_pConfirmUpdate(Named(new QCheckBox(QStringLiteral("Confirm before updating files launched from Vantor")),
                             "checkConfirmUpdate"))
    , m_pOK(Named(new QPushButton(QStringLiteral("&OK")), "buttonOk"))
    , m_pCancel(Named(new QPushButton(QStringLiteral("&Cancel")), "buttonCancel"))
{
    setWindowTitle(QStringLiteral("Options"));

    auto* pShell = Named(new QGroupBox(QStringLiteral("Shell Options")), "groupShell");
    auto* pShellLayout = new QVBoxLayout(pShell);
    pShellLayout->addWidget(m_pAssociate);
    pShellLayout->addWidget(m_pNewPak);

    auto* pRecover = Named(new QGroupBox(QStringLiteral("Recovering Unused Space")), "groupRecover");
    auto* pRecoverLayout = new QVBoxLayout(pRecover);
    pRecoverLayout->addWidget(m_pRecoverOnExit);
    pRecoverLayout->addWidget(m_pConfirmRecover);

    auto* pExtract = Named(new QGroupBox(QStringLiteral("Extracting Files")), "groupExtract");
    auto* pExtractLayout = new QVBoxLayout(pExtract);
    pExtractLayout->addWidget(m_pPromptMode);
    pExtractLayout->addWidget(m_pAlwaysMode);
    auto* pPathRow = new QHBoxLayout;
    // Indented under its radio button, which it belongs to.
    pPathRow->addSpacing(20);
    pPathRow->addWidget(m_pExtractPath, 1);
    pPathRow->addWidget(m_pBrowse);
    pExtractLayout->addLayout(pPathRow);
    pExtractLayout->addWidget(m_pExtractWarning);

    auto* pButtons = new QDialogButtonBox;
    pButtons->addButton(m_pOK, QDialogButtonBox::AcceptRole);
    pButtons->addButton(m_pCancel, QDialogButtonBox::RejectRole);
    // Return means OK wherever the focus is: a button that had the focus
    // must not stay the default (Qt's auto-default), least of all Browse.
    m_pBrowse->setAutoDefault(false);
    m_pCancel->setAutoDefault(false);
    m_pOK->setAutoDefault(false);
    m_pOK->setDefault(true);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pShell);
    pLayout->addWidget(pRecover);
    pLayout->addWidget(pExtract);
    pLayout->addWidget(m_pConfirmUpdate);
    pLayout->addWidget(pButtons);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_pAssociate, &QCheckBox::clicked, this, &COptionsDlg::OnAssociateClicked);
    connect(m_pNewPak, &QCheckBox::clicked, this, &COptionsDlg::OnNewPakClicked);
    connect(m_pPromptMode, &QRadioButton::clicked, this, [this] { OnExtractModeClicked(0); });
    connect(m_pAlwaysMode, &QRadioButton::clicked, this, [this] { OnExtractModeClicked(1); });
    connect(m_pBrowse, &QPushButton::clicked, this, &COptionsDlg::OnBrowse);
    connect(m_pOK, &QPushButton::clicked, this, &COptionsDlg::OnOK);
    connect(m_pCancel, &QPushButton::clicked, this, &COptionsDlg::reject);
}

void COptionsDlg::UpdateData(bool bSaveAndValidate)
{
    if (bSaveAndValidate) {
        m_bAssociate = m_pAssociate->isChecked();
        m_bConfirmRecover = m_pConfirmRecover->isChecked();
        m_bRecoverOnExit = m_pRecoverOnExit->isChecked();
        m_bNewPak = m_pNewPak->isChecked();
        m_strExtractPath = m_pExtractPath->text();
        m_nExtractMode = m_pPromptMode->isChecked() ? 0 : m_pAlwaysMode->isChecked() ? 1 : -1;
        m_bExtractWarning = m_pExtractWarning->isChecked();
        m_bConfirmUpdate = m_pConfirmUpdate->isChecked();
        return;
    }
    m_pAssociate->setChecked(m_bAssociate);
    m_pConfirmRecover->setChecked(m_bConfirmRecover);
    m_pRecoverOnExit->setChecked(m_bRecoverOnExit);
    m_pNewPak->setChecked(m_bNewPak);
    m_pExtractPath->setText(m_strExtractPath);
    // A mode outside 0 and 1 checks neither radio; that takes the group out
    // of its exclusive rule for a moment.
    m_pPromptMode->setAutoExclusive(false);
    m_pAlwaysMode->setAutoExclusive(false);
    m_pPromptMode->setChecked(m_nExtractMode == 0);
    m_pAlwaysMode->setChecked(m_nExtractMode == 1);
    m_pPromptMode->setAutoExclusive(true);
    m_pAlwaysMode->setAutoExclusive(true);
    m_pExtractWarning->setChecked(m_bExtractWarning);
    m_pConfirmUpdate->setChecked(m_bConfirmUpdate);
}

void COptionsDlg::showEvent(QShowEvent* pEvent)
{
    // Spontaneous shows come from the window system (un-minimising), not
    // from opening the dialog.
    if (!pEvent->spontaneous())
        OnInitDialog();
    QDialog::showEvent(pEvent);
}

void COptionsDlg::OnInitDialog()
{
    m_bAssociate = ReadSetting(setting::kAssociatePak) != 0;
    m_bConfirmRecover = ReadSetting(setting::kConfirmRecover) != 0;
    m_bRecoverOnExit = ReadSetting(setting::kRecoverOnExit) != 0;
    m_bNewPak = ReadSetting(setting::kNewPak) != 0;
    m_strExtractPath = ReadSettingText(setting::kExtractPath);
    m_nExtractMode = ReadSetting(setting::kUseExtractPath);
    m_bExtractWarning = ReadSetting(setting::kExtractWarning) != 0;
    m_bConfirmUpdate = ReadSetting(setting::kConfirmUpdate) != 0;

    // The New menu entry only exists while .pak is registered.
    if (!m_bAssociate)
        m_bNewPak = false;
    m_pNewPak->setEnabled(m_bAssociate);

    m_pExtractPath->setEnabled(m_nExtractMode != 0);
    m_pBrowse->setEnabled(m_nExtractMode != 0);
    m_pCancel->setEnabled(m_bAllowCancel);
    UpdateData(false);
}

void COptionsDlg::OnAssociateClicked(bool bChecked)
{
    // Unticking and ticking again brings back the value the New-menu box had
    // at the last transfer, not always "on".
    m_pNewPak->setChecked(bChecked && m_bNewPak);
    m_pNewPak->setEnabled(bChecked);
}

void COptionsDlg::OnNewPakClicked()
{
    UpdateData(true);
}

void COptionsDlg::OnExtractModeClicked(int nMode)
{
    m_pExtractPath->setEnabled(nMode == 1);
    m_pBrowse->setEnabled(nMode == 1);
}

void COptionsDlg::OnBrowse()
{
    const std::optional<QString> folder = m_prompt.BrowseForFolder(QString(), QString());
    if (!folder)
        return;
    // Take in what the user has changed so far first, so that filling in the
    // path does not undo their other edits.
    UpdateData(true);
    m_strExtractPath = *folder;
    UpdateData(false);
}

void COptionsDlg::OnOK()
{
    UpdateData(true);
    if (m_nExtractMode == 1 && !QFileInfo(m_strExtractPath).isDir()) {
        m_prompt.ShowError(QStringLiteral("Invalid extract path specified.  Please select a new path."));
        m_pExtractPath->setFocus();
        m_pExtractPath->selectAll();
        return;
    }
    WriteSetting(setting::kAssociatePak, m_bAssociate ? 1 : 0);
    WriteSetting(setting::kConfirmRecover, m_bConfirmRecover ? 1 : 0);
    WriteSetting(setting::kNewPak, m_bNewPak ? 1 : 0);
    WriteSetting(setting::kRecoverOnExit, m_bRecoverOnExit ? 1 : 0);
    WriteSetting(setting::kExtractWarning, m_bExtractWarning ? 1 : 0);
    WriteSetting(setting::kUseExtractPath, m_nExtractMode);
    WriteSetting(setting::kConfirmUpdate, m_bConfirmUpdate ? 1 : 0);
    WriteSettingText(setting::kExtractPath, m_strExtractPath);
    accept();
}

void COptionsDlg::reject()
{
    // With Cancel disabled the dialog can only be left through OK: Escape
    // and the close box give up the same way the disabled button does.
    if (!m_bAllowCancel)
        return;
    QDialog::reject();
}

}  // namespace vantor
