#include "about_dlg.h"

#include "version.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace vantor {

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("About Vantor"));

    auto* pIcon = new QLabel;
    pIcon->setObjectName(QStringLiteral("labelIcon"));
    pIcon->setPixmap(QIcon(QStringLiteral(":/icons/vantor.svg")).pixmap(48, 48));
    pIcon->setAlignment(Qt::AlignTop);

    auto* pName = new QLabel(QStringLiteral("<b>Vantor</b>"));
    pName->setObjectName(QStringLiteral("labelName"));
    auto* pVersion = new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(VANTOR_VERSION_TEXT)));
    pVersion->setObjectName(QStringLiteral("labelVersion"));
    auto* pPurpose = new QLabel(QStringLiteral("Explorer and editor for Quake .pak archives"));

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(pIcon, 0, 0, 3, 1);
    pLayout->addWidget(pName, 0, 1);
    pLayout->addWidget(pVersion, 1, 1);
    pLayout->addWidget(pPurpose, 2, 1);
    pLayout->addWidget(pButtons, 3, 0, 1, 2);
    pLayout->setHorizontalSpacing(16);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace vantor
