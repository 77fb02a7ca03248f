#include "match_highlight_delegate.h"

#include "pak_list_model.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

namespace vantor {

namespace {

const QColor kMatchBackground(255, 200, 60);

}  // namespace

void CMatchHighlightDelegate::paint(QPainter* pPainter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const QList<int> spans = index.data(CPakListModel::kMatchSpansRole).value<QList<int>>();
    if (spans.isEmpty()) {
        CLabelEditDelegate::paint(pPainter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    // The row as the style draws it (selection, focus, icon), then the text
    // with its matched parts marked on top.
    opt.text.clear();
    const QWidget* pWidget = opt.widget;
    QStyle* pStyle = pWidget ? pWidget->style() : QApplication::style();
    pStyle->drawControl(QStyle::CE_ItemViewItem, &opt, pPainter, pWidget);

    const QRect textRect = pStyle->subElementRect(QStyle::SE_ItemViewItemText, &opt, pWidget).adjusted(2, 0, -2, 0);
    QTextLayout layout(text, opt.font);
    QList<QTextLayout::FormatRange> formats;
    for (qsizetype i = 0; i + 1 < spans.size(); i += 2) {
        QTextLayout::FormatRange range;
        range.start = spans[i];
        range.length = spans[i + 1];
        range.format.setBackground(kMatchBackground);
        range.format.setForeground(Qt::black);
        formats.append(range);
    }
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();

    const bool bSelected = opt.state & QStyle::State_Selected;
    pPainter->save();
    pPainter->setClipRect(textRect);
    pPainter->setPen(opt.palette.color(bSelected ? QPalette::HighlightedText : QPalette::Text));
    const qreal y = textRect.top() + (textRect.height() - line.height()) / 2;
    layout.draw(pPainter, QPointF(textRect.left(), y));
    pPainter->restore();
}

}  // namespace vantor
