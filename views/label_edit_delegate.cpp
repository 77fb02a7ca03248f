#include "label_edit_delegate.h"

#include <QEvent>
#include <QLineEdit>

namespace vantor {

void CLabelEditDelegate::setModelData(QWidget* pEditor, QAbstractItemModel* pModel, const QModelIndex& index) const
{
    if (!m_onEndEdit) {
        QStyledItemDelegate::setModelData(pEditor, pModel, index);
        return;
    }
    if (const auto* pLine = qobject_cast<const QLineEdit*>(pEditor))
        m_onEndEdit(index, pLine->text());
}

bool CLabelEditDelegate::eventFilter(QObject* pEditor, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::ShortcutOverride) {
        pEvent->accept();
        return true;
    }
    return QStyledItemDelegate::eventFilter(pEditor, pEvent);
}

}  // namespace vantor
