#include "picture_view.h"

#include "indexed_image.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {

constexpr int kLargestFitScale = 16;
constexpr int kCheckerCell = 8;

}  // namespace

CPictureView::CPictureView(QWidget* pParent)
    : QAbstractScrollArea(pParent), m_checkerboard(CheckerboardTile(kCheckerCell))
{
    setObjectName(QStringLiteral("previewPicture"));
}

void CPictureView::SetImage(const QImage& image)
{
    m_image = image;
    m_pixmap = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    UpdateScrollBars();
    viewport()->update();
}

void CPictureView::SetZoom(int nZoom)
{
    m_nZoom = nZoom;
    UpdateScrollBars();
    viewport()->update();
}

double CPictureView::Scale() const
{
    if (m_nZoom != kZoomFit)
        return m_nZoom;
    if (m_image.isNull())
        return 1.0;
    const QSize room = viewport()->size();
    const double fScale = std::min(static_cast<double>(room.width()) / m_image.width(),
                                   static_cast<double>(room.height()) / m_image.height());
    // Whole steps above 1, so that enlarged pixels stay equal squares.
    return fScale >= 1.0 ? std::min<double>(std::floor(fScale), kLargestFitScale) : fScale;
}

QSize CPictureView::ScaledSize() const
{
    const double fScale = Scale();
    return QSize(std::max(1, static_cast<int>(m_image.width() * fScale)),
                 std::max(1, static_cast<int>(m_image.height() * fScale)));
}

void CPictureView::UpdateScrollBars()
{
    const QSize size = m_image.isNull() ? QSize() : ScaledSize();
    const QSize room = viewport()->size();
    horizontalScrollBar()->setPageStep(room.width());
    verticalScrollBar()->setPageStep(room.height());
    horizontalScrollBar()->setRange(0, std::max(0, size.width() - room.width()));
    verticalScrollBar()->setRange(0, std::max(0, size.height() - room.height()));
}

void CPictureView::resizeEvent(QResizeEvent* pEvent)
{
    QAbstractScrollArea::resizeEvent(pEvent);
    UpdateScrollBars();
}

void CPictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().window());
    if (m_pixmap.isNull())
        return;
    const QSize size = ScaledSize();
    const QSize room = viewport()->size();
    // Centred while it fits, scrolled when it does not.
    const int nLeft = size.width() < room.width() ? (room.width() - size.width()) / 2 : -horizontalScrollBar()->value();
    const int nTop = size.height() < room.height() ? (room.height() - size.height()) / 2 : -verticalScrollBar()->value();
    const QRect target(QPoint(nLeft, nTop), size);
    if (m_image.hasAlphaChannel())
        painter.drawTiledPixmap(target, m_checkerboard);
    // No smooth transform: nearest neighbour keeps every index one colour.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(target, m_pixmap);
}

}  // namespace vantor
