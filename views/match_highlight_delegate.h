// The item list's delegate: names edit in place as in every pane, and while
// a filter is on, the parts of a name the query matched are marked.
#pragma once

#include "label_edit_delegate.h"

namespace vantor {

class CMatchHighlightDelegate : public CLabelEditDelegate {
public:
    using CLabelEditDelegate::CLabelEditDelegate;

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace vantor
