// The editor of a name in either pane. While it is open every key belongs
// to it: Del, F2, Backspace, Tab and the clipboard keys edit the text
// instead of reaching the commands bound to them. The edited text never goes
// into the row by itself: the view's end-of-edit handler decides, after the
// archive has agreed.
#pragma once

#include <QStyledItemDelegate>

#include <functional>

namespace vantor {

class CLabelEditDelegate : public QStyledItemDelegate {
public:
    // onEndEdit gets the row and the text when an edit ends with one; with
    // none, the model's setData decides.
    using EndEditFn = std::function<void(const QModelIndex& index, const QString& text)>;
    explicit CLabelEditDelegate(QObject* pParent, EndEditFn onEndEdit = {})
        : QStyledItemDelegate(pParent), m_onEndEdit(std::move(onEndEdit))
    {
    }

    void setModelData(QWidget* pEditor, QAbstractItemModel* pModel, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* pEditor, QEvent* pEvent) override;

private:
    EndEditFn m_onEndEdit;
};

}  // namespace vantor
