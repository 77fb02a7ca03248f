// CPictureView: one picture, zoomed to fit or by 1, 2 or 4 without
// smoothing (each index stays a sharp square), over a checkerboard where it
// is transparent. The picture is turned into a pixmap once, so scrolling and
// zooming only copy it.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPixmap>

namespace vantor {

class CPictureView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // 0 fits the picture into the view (never enlarging it past 16×).
    static constexpr int kZoomFit = 0;

    explicit CPictureView(QWidget* pParent = nullptr);

    void SetImage(const QImage& image);
    const QImage& GetImage() const { return m_image; }
    void SetZoom(int nZoom);
    int GetZoom() const { return m_nZoom; }
    // The scale the picture is drawn at now.
    double Scale() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void UpdateScrollBars();
    QSize ScaledSize() const;

    QImage m_image;
    QPixmap m_pixmap;
    QPixmap m_checkerboard;
    int m_nZoom = kZoomFit;
};

}  // namespace vantor
