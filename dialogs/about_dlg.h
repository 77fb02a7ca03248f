// CAboutDlg: the program's icon, name and version.
#pragma once

#include <QDialog>

namespace vantor {

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};

}  // namespace vantor
