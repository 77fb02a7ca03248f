// COptionsDlg: edits the eight "Options" settings. Every setting is read when
// the dialog opens and written only when OK is accepted. Start-up shows it on
// the very first run with Cancel disabled, so that the first settings are
// always the user's own.
#pragma once

#include <QDialog>

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantor {

class IPrompt;

class COptionsDlg : public QDialog {
    Q_OBJECT

public:
    // Questions (the folder browser, the invalid-path message) go through
    // prompt.
    explicit COptionsDlg(IPrompt& prompt, QWidget* pParent = nullptr);

    // The values behind the controls, in the order the dialog transfers
    // them. Flags are stored as 1 and 0.
    bool m_bAssociate = false;
    bool m_bConfirmRecover = false;
    bool m_bRecoverOnExit = false;
    bool m_bNewPak = false;
    QString m_strExtractPath;
    int m_nExtractMode = -1;  // 0 = prompt for a folder, 1 = always use m_strExtractPath
    bool m_bExtractWarning = false;
    bool m_bConfirmUpdate = false;
    // Set to false before showing to disable Cancel (and Escape and the close box).
    bool m_bAllowCancel = true;

    // Moves the members into the controls (false) or the controls into the
    // members (true).
    void UpdateData(bool bSaveAndValidate);

    void reject() override;

protected:
    // Reads the settings and sets up the controls each time the dialog opens.
    void showEvent(QShowEvent* pEvent) override;

private:
    void OnInitDialog();
    void OnAssociateClicked(bool bChecked);
    void OnNewPakClicked();
    void OnExtractModeClicked(int nMode);
    void OnBrowse();
    void OnOK();

    IPrompt& m_prompt;
    QCheckBox* m_pAssociate;
    QCheckBox* m_pNewPak;
    QCheckBox* m_pRecoverOnExit;
    QCheckBox* m_pConfirmRecover;
    QRadioButton* m_pPromptMode;
    QRadioButton* m_pAlwaysMode;
    QLineEdit* m_pExtractPath;
    QPushButton* m_pBrowse;
    QCheckBox* m_pExtractWarning;
    QCheckBox* m_pConfirmUpdate;
    QPushButton* m_pOK;
    QPushButton* m_pCancel;
};

}  // namespace vantor
