#include "replace_dlg.h"

#include "prompt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

namespace vantor {

namespace {

const QString kDefaultMessage =
    QStringLiteral("One or more of the items you are trying to copy already exist.\nOverwrite existing items?");

}  // namespace

CReplaceDlg::CReplaceDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pMessage(new QLabel)
    , m_pYes(new QPushButton(QStringLiteral("&Yes")))
    , m_pNo(new QPushButton(QStringLiteral("&No")))
{
    setWindowTitle(QStringLiteral("Confirm Replace"));

    auto* pIcon = new QLabel;
    pIcon->setObjectName(QStringLiteral("labelIcon"));
    const int nIconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    pIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(nIconSize, nIconSize));
    pIcon->setAlignment(Qt::AlignTop);

    m_pMessage->setObjectName(QStringLiteral("labelMessage"));
    // Names and paths in the question are shown as they are, never as markup.
    m_pMessage->setTextFormat(Qt::PlainText);

    m_pYes->setObjectName(QStringLiteral("buttonYes"));
    auto* pYesToAll = new QPushButton(QStringLiteral("Yes To &All"));
    pYesToAll->setObjectName(QStringLiteral("buttonYesToAll"));
    m_pNo->setObjectName(QStringLiteral("buttonNo"));
    auto* pCancel = new QPushButton(QStringLiteral("&Cancel"));
    pCancel->setObjectName(QStringLiteral("buttonCancel"));

    // Return answers No, the answer that overwrites nothing, wherever the
    // focus is: no button takes the default over by having the focus.
    for (QPushButton* pButton : {m_pYes, pYesToAll, m_pNo, pCancel})
        pButton->setAutoDefault(false);
    m_pNo->setDefault(true);

    // A plain row rather than a button box, which would reorder the buttons
    // by role on some platforms.
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch(1);
    for (QPushButton* pButton : {m_pYes, pYesToAll, m_pNo, pCancel})
        pButtons->addWidget(pButton);

    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(pIcon, 0, 0);
    pLayout->addWidget(m_pMessage, 0, 1);
    pLayout->addLayout(pButtons, 1, 0, 1, 2);
    pLayout->setHorizontalSpacing(16);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_pYes, &QPushButton::clicked, this, [this] { done(replaceYes); });
    connect(pYesToAll, &QPushButton::clicked, this, [this] { done(replaceYesToAll); });
    connect(m_pNo, &QPushButton::clicked, this, [this] { done(replaceNo); });
    connect(pCancel, &QPushButton::clicked, this, &CReplaceDlg::reject);
}

void CReplaceDlg::reject()
{
    done(replaceCancel);
}

void CReplaceDlg::showEvent(QShowEvent* pEvent)
{
    // Spontaneous shows come from the window system (un-minimising), not
    // from opening the dialog.
    if (!pEvent->spontaneous()) {
        m_pMessage->setText(m_strMessage.isEmpty() ? kDefaultMessage : m_strMessage);
        // Set before Qt's own opening step, which would otherwise hand the
        // focus to the default button.
        m_pYes->setFocus();
    }
    QDialog::showEvent(pEvent);
}

}  // namespace vantor
