// CRestoreDlg: "Restore Gibbed Files", where the user picks which of the
// offered names to bring back. Accepted when Restore is pressed; the names
// chosen are then GetSelected(), in the list's order.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace vantor {

class CRestoreDlg : public QDialog {
    Q_OBJECT

public:
    explicit CRestoreDlg(QWidget* pParent = nullptr);

    // Adds names to those offered; call before the dialog is shown. A name
    // given twice is offered twice.
    void SetNames(const QStringList& names);

    // The names chosen with Restore, top to bottom; empty after Cancel.
    QStringList GetSelected() const { return m_chosen; }

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void UpdateRestore();

    QStringList m_names;
    QStringList m_chosen;
    QListWidget* m_pList;
    QPushButton* m_pRestore;
};

}  // namespace vantor
