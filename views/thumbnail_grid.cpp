#include "thumbnail_grid.h"

#include "indexed_image.h"
#include "view_text.h"

#include <QPainter>

#include <algorithm>
#include <map>

namespace vantor {

namespace {

constexpr int kCheckerCell = 4;

QString SizeText(const CIndexedImage& picture)
{
    return QStringLiteral("%1×%2").arg(picture.nWidth).arg(picture.nHeight);
}

QString LabelOf(const std::vector<CIndexedImage>& pictures, const CThumbnail& thumbnail)
{
    const CIndexedImage& first = pictures[thumbnail.images.front()];
    // The reason of a refusal is too long for a label: it is the tool tip.
    if (!first.IsOk())
        return DecodeName(first.name) +
               (first.fault == AssetFault::missing ? QStringLiteral("\n(missing)") : QStringLiteral("\n(damaged)"));
    if (thumbnail.images.size() == 1)
        return DecodeName(first.name) + u'\n' + SizeText(first);
    return QStringLiteral("%1\n%2\n%3 frames")
        .arg(DecodeName(first.animationGroup), SizeText(first))
        .arg(thumbnail.images.size());
}

QIcon ThumbnailIcon(const CIndexedImage& picture, const CPalette& palette, const QPixmap& checkerboard)
{
    constexpr int kSide = CThumbnailGrid::kThumbnailSide;
    QPixmap canvas(kSide, kSide);
    canvas.fill(Qt::transparent);
    const QImage image = ToQImage(picture, palette);
    if (image.isNull())
        return QIcon(canvas);
    // Small pictures keep their size; big ones shrink without smoothing, so
    // the thumbnail shows the indices the picture has.
    const QImage scaled = image.width() <= kSide && image.height() <= kSide
                              ? image
                              : image.scaled(kSide, kSide, Qt::KeepAspectRatio, Qt::FastTransformation);
    const QRect target(QPoint((kSide - scaled.width()) / 2, (kSide - scaled.height()) / 2), scaled.size());
    QPainter painter(&canvas);
    if (scaled.hasAlphaChannel())
        painter.drawTiledPixmap(target, checkerboard);
    painter.drawImage(target, scaled);
    return QIcon(canvas);
}

}  // namespace

std::vector<CThumbnail> GroupThumbnails(const std::vector<CIndexedImage>& pictures)
{
    std::vector<CThumbnail> thumbnails;
    std::map<std::string, std::size_t> groups;  // animation group -> its thumbnail
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::string& group = pictures[i].animationGroup;
        if (group.empty() || !pictures[i].IsOk()) {
            thumbnails.push_back({{i}, {}});
            continue;
        }
        const auto [it, bNew] = groups.try_emplace(group, thumbnails.size());
        if (bNew)
            thumbnails.push_back({{i}, {}});
        else
            thumbnails[it->second].images.push_back(i);
    }
    for (CThumbnail& thumbnail : thumbnails) {
        std::stable_sort(thumbnail.images.begin(), thumbnail.images.end(), [&](std::size_t a, std::size_t b) {
            return pictures[a].nAnimationFrame < pictures[b].nAnimationFrame;
        });
        thumbnail.label = LabelOf(pictures, thumbnail);
    }
    return thumbnails;
}

CThumbnailGrid::CThumbnailGrid(QWidget* pParent) : QListWidget(pParent)
{
    setObjectName(QStringLiteral("previewGrid"));
    setViewMode(QListView::IconMode);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setWordWrap(true);
    setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    // Room for three lines under each thumbnail: name, size, frame count.
    setGridSize(QSize(kThumbnailSide + 48, kThumbnailSide + 3 * fontMetrics().lineSpacing() + 14));
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void CThumbnailGrid::SetPictures(const std::vector<CIndexedImage>& pictures, const CPalette& palette)
{
    clear();
    m_thumbnails = GroupThumbnails(pictures);
    const QPixmap checkerboard = CheckerboardTile(kCheckerCell);
    for (const CThumbnail& thumbnail : m_thumbnails) {
        const CIndexedImage& first = pictures[thumbnail.images.front()];
        auto* pItem = new QListWidgetItem(ThumbnailIcon(first, palette, checkerboard), thumbnail.label, this);
        pItem->setData(Qt::UserRole, static_cast<qulonglong>(thumbnail.images.front()));
        if (!first.IsOk())
            pItem->setToolTip(QString::fromStdString(first.reason));
    }
}

int CThumbnailGrid::SelectedPicture() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : static_cast<int>(selected.front()->data(Qt::UserRole).toULongLong());
}

}  // namespace vantor
