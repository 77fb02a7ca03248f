// CThumbnailGrid: the pictures of a container (a map's textures, a WAD's
// lumps, a model's skins, a sprite's frames) as named thumbnails with their
// sizes. The frames of one animation ("+0lava" to "+9lava", a group skin, a
// frame group) share one thumbnail, their first frame.
#pragma once

#include "asset_image.h"

#include <QListWidget>
#include <QString>

#include <cstddef>
#include <vector>

namespace vantor {

// One thumbnail: the pictures it stands for, in frame order, and its label.
struct CThumbnail {
    std::vector<std::size_t> images;  // indices into the container's pictures
    QString label;
};

// The thumbnails of a container's pictures in file order; an animation's
// thumbnail sits where its first picture in the file was.
std::vector<CThumbnail> GroupThumbnails(const std::vector<CIndexedImage>& pictures);

class CThumbnailGrid : public QListWidget {
    Q_OBJECT

public:
    static constexpr int kThumbnailSide = 64;

    explicit CThumbnailGrid(QWidget* pParent = nullptr);

    // Fills the grid; pictures are drawn with palette.
    void SetPictures(const std::vector<CIndexedImage>& pictures, const CPalette& palette);
    // The picture of the selected thumbnail (an animation's first frame); -1
    // when none is selected.
    int SelectedPicture() const;
    const std::vector<CThumbnail>& Thumbnails() const { return m_thumbnails; }

private:
    std::vector<CThumbnail> m_thumbnails;
};

}  // namespace vantor
