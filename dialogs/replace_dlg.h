// CReplaceDlg: "Confirm Replace", asked before items that already exist are
// overwritten. exec() returns a ReplaceAnswer (prompt.h): Yes, Yes To All,
// No, or Cancel for Cancel, Escape and the close box.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace vantor {

class CReplaceDlg : public QDialog {
    Q_OBJECT

public:
    explicit CReplaceDlg(QWidget* pParent = nullptr);

    // The question shown at the next opening; empty asks the standard one.
    void SetMessage(const QString& message) { m_strMessage = message; }

    // Escape and the close box come here: they answer Cancel, never
    // QDialog::Rejected, which callers would not recognise.
    void reject() override;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    QString m_strMessage;
    QLabel* m_pMessage;
    QPushButton* m_pYes;
    QPushButton* m_pNo;
};

}  // namespace vantor
