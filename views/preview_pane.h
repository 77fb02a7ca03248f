// CPreviewPane: the third pane, beside the list, showing the one selected
// file row: Quake pictures in the palette the game would use, the pictures
// of maps, WADs, models and sprites as thumbnails, text with line numbers,
// hex, and waves with Play and Stop. It follows the selection only once the
// selection rests, so moving through a long list never waits for it, and it
// reads big entries a screen at a time. Commands that reach it go to the
// list, as if the list had the focus.
#pragma once

#include "asset_decode.h"
#include "command_target.h"
#include "entry_reader.h"
#include "palette_source.h"
#include "view_services.h"

#include <QWidget>

#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace vantor {

class CEntryTextView;
class CPakList;
class CPakTree;
class CPictureView;
class CThumbnailGrid;
struct CListRow;

class CPreviewPane : public QWidget, public IFramePane {
    Q_OBJECT

public:
    enum class Page { none, message, picture, grid, text, hex, wave };

    // How long the selection must rest before the preview follows it: longer
    // than a held arrow key's repeat, short enough to feel immediate.
    static constexpr int kRestMs = 150;
    // Waves are decoded whole; bigger ones are shown as hex.
    static constexpr std::uint64_t kMostWaveBytes = 64ull << 20;
    // What is read to tell text from other data.
    static constexpr std::size_t kSampleBytes = 4096;

    explicit CPreviewPane(const CViewServices& services, QWidget* pParent = nullptr);
    ~CPreviewPane() override;

    // The other panes; set once by the frame before the first update.
    void SetTree(CPakTree* pTree) { m_pTree = pTree; }
    void SetList(CPakList* pList);

    bool OnCommand(int nID) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    void UpdateStatusBar() override;

    // The selection moved: the preview follows once it has rested.
    void OnSelectionMoved();
    // Shows the selected row now, decoding only when it is another entry
    // than the one shown.
    void ShowSelection();
    bool IsWaitingForRest() const;

    // --- What is shown, for the frame and the tests ---------------------------------
    Page GetPage() const { return m_page; }
    QString TitleText() const;
    // The format, the palette's source and notes under the title.
    QString DetailText() const;
    QString MessageText() const;
    bool IsOfferingPalette() const;
    CEntryTextView& TextView() { return *m_pText; }
    CPictureView& PictureView() { return *m_pPicture; }
    CThumbnailGrid& Grid() { return *m_pGrid; }
    // How many entries have been decoded as pictures so far.
    int DecodeCount() const { return m_nDecodes; }

    // --- Commands of the pane itself ---------------------------------------------------
    // 0 fits the picture into the pane; else 1, 2 or 4.
    void SetZoom(int nZoom);
    // Shows a container's picture (an index into its pictures) on its own.
    void ShowContainerPicture(int nPicture);
    // Back from one picture of a container to its thumbnails.
    void ShowThumbnails();
    // Whether Export has a picture: the one shown, or the thumbnail chosen.
    bool CanExport() const;
    // Asks for a file name and writes the picture as an indexed PNG.
    void ExportPicture();
    // Asks for a palette file and keeps it in "Options" for paks whose game
    // folder has none.
    void ChoosePalette();

protected:
    void showEvent(QShowEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    void ShowEntry(const CListRow& row);
    void ShowNothing(const QString& text);
    void ShowMessage(const QString& text, bool bOfferPalette = false);
    void ShowAsset(CEntryReader reader, const std::string& entryPath);
    void ShowWave(CEntryReader reader);
    void ShowTextOrHex(CEntryReader reader, const QByteArray& sample, const QString& note = {});
    void SetPage(Page page);
    void SetDetail(const QString& text);
    // The palette for the pak shown, searched once per pak and setting.
    const CPaletteSource& PaletteOfPak();
    // The picture Export would write; -1 for none.
    int ExportedPicture() const;

    CViewServices m_services;
    CPakTree* m_pTree = nullptr;
    CPakList* m_pList = nullptr;
    QTimer* m_pRest = nullptr;

    QLabel* m_pTitle = nullptr;
    QLabel* m_pDetail = nullptr;
    QComboBox* m_pZoom = nullptr;
    QToolButton* m_pBack = nullptr;
    QStackedWidget* m_pStack = nullptr;
    QLabel* m_pMessage = nullptr;
    QPushButton* m_pChoosePalette = nullptr;
    CPictureView* m_pPicture = nullptr;
    CThumbnailGrid* m_pGrid = nullptr;
    CEntryTextView* m_pText = nullptr;
    QWidget* m_pWavePage = nullptr;
    QLabel* m_pWaveInfo = nullptr;

    Page m_page = Page::none;
    // Which entry is shown: pak, entry path and length; empty when the
    // selection must be shown afresh.
    std::string m_strShownKey;
    std::string m_strRawName;  // the shown row's name in the list
    QString m_strDetail;
    CAssetDecode m_decode;
    CPalette m_palette;
    int m_nPicture = -1;  // the picture on the picture page
    int m_nDecodes = 0;
    std::string m_strPaletteKey;
    CPaletteSource m_paletteOfPak;
};

}  // namespace vantor
