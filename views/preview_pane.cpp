#include "preview_pane.h"

#include "entry_text_view.h"
#include "indexed_image.h"
#include "pak_list.h"
#include "pak_tree.h"
#include "picture_view.h"
#include "png_export.h"
#include "preview_kind.h"
#include "resource.h"
#include "settings.h"
#include "thumbnail_grid.h"
#include "view_text.h"
#include "wave_decoder.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <cstring>
#include <new>
#include <span>

namespace vantor {

namespace {

// Formats recognised by their first bytes under names that say nothing:
// the decoders then tell a Quake file from another engine's.
constexpr std::array<std::string_view, 6> kAssetMagics = {"WAD2", "WAD3", "IDPO", "IDSP", "BSP2", "IBSP"};

bool StartsLikeAsset(const QByteArray& sample)
{
    if (sample.size() < 4)
        return false;
    const std::string_view head(sample.constData(), 4);
    for (const std::string_view magic : kAssetMagics) {
        if (head == magic)
            return true;
    }
    // A map starts with its version number: 29 for Quake, 30 for Half-Life.
    const auto version = static_cast<unsigned char>(sample[0]);
    return (version == 29 || version == 30) && sample[1] == 0 && sample[2] == 0 && sample[3] == 0;
}

QString LengthText(std::uint64_t nBytes)
{
    return nBytes == 1 ? QStringLiteral("1 byte") : QStringLiteral("%L1 bytes").arg(nBytes);
}

QString SecondsText(double fSeconds)
{
    return QStringLiteral("%1 s").arg(fSeconds, 0, 'f', 2);
}

// A picture's name as a file name: the characters some file systems refuse
// (a water texture's '*' among them) become '_'.
QString FileNameOf(QString name)
{
    for (QChar& ch : name) {
        if (QStringView(u"*/\\:?\"<>|").contains(ch) || ch < u' ')
            ch = u'_';
    }
    return name.isEmpty() ? QStringLiteral("picture") : name;
}

}  // namespace

CPreviewPane::CPreviewPane(const CViewServices& services, QWidget* pParent)
    : QWidget(pParent), m_services(services)
{
    setObjectName(QStringLiteral("preview"));
    m_pRest = new QTimer(this);
    m_pRest->setSingleShot(true);
    m_pRest->setInterval(kRestMs);
    connect(m_pRest, &QTimer::timeout, this, &CPreviewPane::ShowSelection);

    m_pTitle = new QLabel(this);
    m_pTitle->setObjectName(QStringLiteral("previewTitle"));
    m_pTitle->setTextFormat(Qt::PlainText);
    QFont bold = m_pTitle->font();
    bold.setBold(true);
    m_pTitle->setFont(bold);
    m_pTitle->setMinimumWidth(1);
    m_pDetail = new QLabel(this);
    m_pDetail->setObjectName(QStringLiteral("previewDetail"));
    m_pDetail->setTextFormat(Qt::PlainText);
    m_pDetail->setWordWrap(true);
    m_pDetail->setMinimumWidth(1);
    m_pZoom = new QComboBox(this);
    m_pZoom->setObjectName(QStringLiteral("previewZoom"));
    m_pZoom->addItem(QStringLiteral("Fit"), CPictureView::kZoomFit);
    for (const int nZoom : {1, 2, 4})
        m_pZoom->addItem(QStringLiteral("%1×").arg(nZoom), nZoom);
    connect(m_pZoom, &QComboBox::activated, this, [this](int nIndex) { SetZoom(m_pZoom->itemData(nIndex).toInt()); });
    m_pBack = new QToolButton(this);
    m_pBack->setObjectName(QStringLiteral("previewBack"));
    m_pBack->setText(QStringLiteral("All pictures"));
    connect(m_pBack, &QToolButton::clicked, this, &CPreviewPane::ShowThumbnails);

    m_pStack = new QStackedWidget(this);
    auto* pMessagePage = new QWidget;
    m_pMessage = new QLabel(pMessagePage);
    m_pMessage->setObjectName(QStringLiteral("previewMessage"));
    m_pMessage->setTextFormat(Qt::PlainText);
    m_pMessage->setWordWrap(true);
    m_pMessage->setAlignment(Qt::AlignCenter);
    m_pChoosePalette = new QPushButton(QStringLiteral("Choose &Palette File..."), pMessagePage);
    m_pChoosePalette->setObjectName(QStringLiteral("previewChoosePalette"));
    connect(m_pChoosePalette, &QPushButton::clicked, this, &CPreviewPane::ChoosePalette);
    auto* pMessageLayout = new QVBoxLayout(pMessagePage);
    pMessageLayout->addStretch();
    pMessageLayout->addWidget(m_pMessage);
    pMessageLayout->addWidget(m_pChoosePalette, 0, Qt::AlignHCenter);
    pMessageLayout->addStretch();

    m_pPicture = new CPictureView;
    m_pGrid = new CThumbnailGrid;
    connect(m_pGrid, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* pItem) { ShowContainerPicture(pItem->data(Qt::UserRole).toInt()); });
    m_pText = new CEntryTextView;

    m_pWavePage = new QWidget;
    m_pWaveInfo = new QLabel(m_pWavePage);
    m_pWaveInfo->setObjectName(QStringLiteral("previewWaveInfo"));
    m_pWaveInfo->setTextFormat(Qt::PlainText);
    m_pWaveInfo->setWordWrap(true);
    auto* pPlay = new QPushButton(QIcon(QStringLiteral(":/icons/play.svg")), QStringLiteral("&Play"), m_pWavePage);
    pPlay->setObjectName(QStringLiteral("previewPlay"));
    auto* pStop = new QPushButton(QIcon(QStringLiteral(":/icons/stop.svg")), QStringLiteral("&Stop"), m_pWavePage);
    pStop->setObjectName(QStringLiteral("previewStop"));
    // The sound commands' own code, so the pane plays exactly as they do.
    connect(pPlay, &QPushButton::clicked, this, [this] {
        if (m_pTree && !m_strRawName.empty())
            m_pTree->PlayWave(m_strRawName);
    });
    connect(pStop, &QPushButton::clicked, this, [this] {
        if (m_pTree)
            m_pTree->OnStopSound();
    });
    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(pPlay);
    pButtons->addWidget(pStop);
    pButtons->addStretch();
    auto* pWaveLayout = new QVBoxLayout(m_pWavePage);
    pWaveLayout->addWidget(m_pWaveInfo);
    pWaveLayout->addLayout(pButtons);
    pWaveLayout->addStretch();

    // In the order of Page, none and message sharing the message page.
    m_pStack->addWidget(pMessagePage);
    m_pStack->addWidget(m_pPicture);
    m_pStack->addWidget(m_pGrid);
    m_pStack->addWidget(m_pText);
    m_pStack->addWidget(m_pWavePage);

    auto* pHeader = new QHBoxLayout;
    pHeader->addWidget(m_pTitle, 1);
    pHeader->addWidget(m_pBack);
    pHeader->addWidget(m_pZoom);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->addLayout(pHeader);
    pLayout->addWidget(m_pDetail);
    pLayout->addWidget(m_pStack, 1);
    ShowNothing(QString());
}

CPreviewPane::~CPreviewPane() = default;

void CPreviewPane::SetList(CPakList* pList)
{
    m_pList = pList;
    connect(pList->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CPreviewPane::OnSelectionMoved);
    connect(pList->selectionModel(), &QItemSelectionModel::currentChanged, this, &CPreviewPane::OnSelectionMoved);
    connect(&pList->Model(), &QAbstractItemModel::modelReset, this, [this] {
        // Another folder, or the same one refilled: the pak may have changed,
        // and with it the palette.
        m_strPaletteKey.clear();
        OnSelectionMoved();
    });
    connect(&pList->Model(), &QAbstractItemModel::rowsRemoved, this, &CPreviewPane::OnSelectionMoved);
    connect(&pList->Model(), &QAbstractItemModel::dataChanged, this, &CPreviewPane::OnSelectionMoved);
}

// --- Commands ------------------------------------------------------------------------------

bool CPreviewPane::OnCommand(int nID)
{
    return m_pList && m_pList->OnCommand(nID);
}

bool CPreviewPane::OnUpdateCommand(CCmdUI& ui)
{
    return m_pList && m_pList->OnUpdateCommand(ui);
}

void CPreviewPane::UpdateStatusBar()
{
    if (m_pList)
        m_pList->UpdateStatusBar();
}

// --- Following the selection ---------------------------------------------------------------

void CPreviewPane::OnSelectionMoved()
{
    m_strShownKey.clear();
    // A hidden pane shows the selection when it is shown again.
    if (isVisible())
        m_pRest->start();
}

bool CPreviewPane::IsWaitingForRest() const
{
    return m_pRest->isActive();
}

void CPreviewPane::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    m_pRest->start();
}

void CPreviewPane::ShowSelection()
{
    m_pRest->stop();
    if (!isVisible() || !m_pTree || !m_pList || m_pTree->GetPakPath().isEmpty()) {
        ShowNothing(QString());
        return;
    }
    if (m_pTree->IsBusy()) {
        // Nothing may read the pak now; look again once it rests.
        m_pRest->start();
        return;
    }
    const std::vector<int> selected = m_pList->GetSelectedRows();
    if (selected.size() != 1) {
        ShowNothing(selected.empty() ? QStringLiteral("Select a file to preview it.")
                                     : QStringLiteral("%1 items selected.").arg(selected.size()));
        return;
    }
    const CListRow& row = m_pList->Model().Row(selected.front());
    if (row.nKind != kindFile) {
        ShowNothing(QStringLiteral("Select a file to preview it."));
        return;
    }
    ShowEntry(row);
}

void CPreviewPane::ShowEntry(const CListRow& row)
{
    CPakArchive& archive = m_pTree->GetArchive();
    const std::string entryPath = m_pTree->ItemPath(row.strRawName, kindFile);
    const std::int64_t nLength = archive.GetEntryLength(entryPath);
    if (nLength < 0) {
        ShowNothing(QStringLiteral("Select a file to preview it."));
        return;
    }
    std::string key = m_pTree->GetPakPath().toStdString();
    key += '\n';
    key += entryPath;
    key += '\n';
    key += std::to_string(nLength);
    if (key == m_strShownKey)
        return;
    m_strShownKey = std::move(key);
    m_strRawName = row.strRawName;
    m_decode = CAssetDecode();
    m_nPicture = -1;

    const QString name = VisibleText(DecodeName(row.strRawName));
    m_pTitle->setText(QStringLiteral("%1  (%2)").arg(name, LengthText(static_cast<std::uint64_t>(nLength))));
    m_pTitle->setToolTip(name);
    CPakTree* pTree = m_pTree;
    CEntryReader reader(archive, entryPath, static_cast<std::uint64_t>(nLength),
                        [pTree] { return !pTree->IsBusy(); });
    PreviewKind kind = PreviewKindOf(entryPath);
    const QByteArray sample = reader.Read(0, kSampleBytes);
    if (kind == PreviewKind::unknown && (IsAssetName(entryPath) || StartsLikeAsset(sample)))
        kind = PreviewKind::picture;
    switch (kind) {
    case PreviewKind::picture:
        ShowAsset(std::move(reader), entryPath);
        return;
    case PreviewKind::wave:
        ShowWave(std::move(reader));
        return;
    case PreviewKind::text:
    case PreviewKind::unknown:
        ShowTextOrHex(std::move(reader), sample);
        return;
    }
}

// --- The pages -------------------------------------------------------------------------------

void CPreviewPane::SetPage(Page page)
{
    m_page = page;
    switch (page) {
    case Page::none:
    case Page::message: m_pStack->setCurrentIndex(0); break;
    case Page::picture: m_pStack->setCurrentWidget(m_pPicture); break;
    case Page::grid: m_pStack->setCurrentWidget(m_pGrid); break;
    case Page::text:
    case Page::hex: m_pStack->setCurrentWidget(m_pText); break;
    case Page::wave: m_pStack->setCurrentWidget(m_pWavePage); break;
    }
    // F6 into the pane reaches the page, so keys scroll it at once.
    QWidget* pShown = m_pStack->currentWidget();
    setFocusProxy(pShown->focusPolicy() != Qt::NoFocus ? pShown : nullptr);
    m_pZoom->setVisible(page == Page::picture);
    m_pBack->setVisible(page == Page::picture && m_decode.bContainer);
    if (page != Page::text && page != Page::hex)
        m_pText->Clear();
}

void CPreviewPane::SetDetail(const QString& text)
{
    m_strDetail = text;
    m_pDetail->setText(text);
    m_pDetail->setVisible(!text.isEmpty());
}

void CPreviewPane::ShowNothing(const QString& text)
{
    m_strShownKey.clear();
    m_strRawName.clear();
    m_decode = CAssetDecode();
    m_pTitle->clear();
    SetDetail(QString());
    m_pMessage->setText(text);
    m_pChoosePalette->hide();
    SetPage(Page::none);
}

void CPreviewPane::ShowMessage(const QString& text, bool bOfferPalette)
{
    m_pMessage->setText(text);
    m_pChoosePalette->setVisible(bOfferPalette);
    SetPage(Page::message);
}

void CPreviewPane::ShowTextOrHex(CEntryReader reader, const QByteArray& sample, const QString& note)
{
    const bool bText = PreviewKindOf(reader.EntryPath()) == PreviewKind::text || LooksLikeText(sample);
    if (bText) {
        const TextEncoding encoding = TextEncodingOf(sample);
        const bool bWhole = reader.Length() <= CEntryTextView::kWholeTextBytes;
        QString detail = encoding == TextEncoding::utf8 ? QStringLiteral("Text, UTF-8") : QStringLiteral("Text, Latin-1");
        if (!bWhole)
            detail += QStringLiteral("; too long to number its lines, so each line shows where it starts");
        SetDetail(note.isEmpty() ? detail : note + u'\n' + detail);
        m_pText->ShowText(std::move(reader), encoding);
        SetPage(Page::text);
        return;
    }
    SetDetail(note.isEmpty() ? QStringLiteral("Data") : note);
    m_pText->ShowHex(std::move(reader));
    SetPage(Page::hex);
}

const CPaletteSource& CPreviewPane::PaletteOfPak()
{
    const std::string pakPath = ToDiskBytes(m_pTree->GetPakPath());
    const std::string userFile = ToDiskBytes(ReadSettingText(setting::kPaletteFile));
    const int nProfile = ReadSetting(setting::kGameProfile);
    const std::string key = pakPath + '\n' + userFile + '\n' + std::to_string(nProfile);
    if (key != m_strPaletteKey) {
        CPaletteSearch search;
        search.pakPath = pakPath;
        search.pOpenPak = &m_pTree->GetArchive();
        search.profile = nProfile == 1 ? GameProfile::darkplaces : GameProfile::classic;
        search.userPaletteFile = userFile;
        m_paletteOfPak = FindPalette(search);
        m_strPaletteKey = key;
    }
    return m_paletteOfPak;
}

void CPreviewPane::ShowAsset(CEntryReader reader, const std::string& entryPath)
{
    if (reader.Length() > kMaxAssetBytes) {
        ShowTextOrHex(std::move(reader), QByteArray(), QStringLiteral("Too large to show as pictures."));
        return;
    }
    const QByteArray bytes = reader.ReadAll();
    if (bytes.size() != static_cast<qsizetype>(reader.Length())) {
        SetDetail(QString());
        ShowMessage(QStringLiteral("The entry cannot be read.  ") +
                    QString::fromStdString(m_pTree->GetArchive().GetErrorText()));
        return;
    }
    try {
        ++m_nDecodes;
        m_decode = DecodeAsset(entryPath, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                    static_cast<std::size_t>(bytes.size())));
    } catch (const std::bad_alloc&) {
        m_decode = CAssetDecode();
        SetDetail(QString());
        ShowMessage(QStringLiteral("Out of memory."));
        return;
    }
    if (!m_decode.bRecognised) {
        ShowTextOrHex(std::move(reader), bytes.left(static_cast<qsizetype>(kSampleBytes)));
        return;
    }
    const QString format = QString::fromStdString(m_decode.formatName);
    if (m_decode.bNotQuake1) {
        SetDetail(format);
        ShowMessage(QStringLiteral("%1: not a Quake 1 format, so it is not shown.").arg(format));
        return;
    }
    const bool bLone = !m_decode.bContainer;
    if (!m_decode.IsOk() || (bLone && !m_decode.images.empty() && !m_decode.images.front().IsOk())) {
        const std::string& reason = m_decode.IsOk() ? m_decode.images.front().reason : m_decode.reason;
        SetDetail(format);
        ShowMessage(QStringLiteral("This %1 cannot be shown: %2").arg(format, QString::fromStdString(reason)));
        return;
    }
    if (m_decode.images.empty()) {
        SetDetail(format);
        ShowMessage(QStringLiteral("This %1 holds no pictures.").arg(format));
        return;
    }

    // A palette file is shown in its own colours; every other picture in
    // the palette the game would load, else the one the file carries.
    QString source;
    if (bLone && m_decode.palette) {
        m_palette = *m_decode.palette;
        source = QStringLiteral("palette: its own colours");
    } else if (const CPaletteSource& found = PaletteOfPak(); found.bFound) {
        m_palette = found.palette;
        source = QString::fromStdString(found.description);
    } else if (m_decode.palette) {
        m_palette = *m_decode.palette;
        source = QStringLiteral("palette: the one this file holds (no gfx/palette.lmp found)");
    } else {
        SetDetail(format);
        // The search says where it looked; the way out is the button below.
        ShowMessage(QString::fromStdString(found.description) +
                        QStringLiteral("\nChoose a palette file to see its colours; it is kept for every pak "
                                       "without a palette of its own."),
                    true);
        return;
    }
    QString detail = format + u'\n' + source;
    if (m_decode.nLeftOut > 0)
        detail += QStringLiteral("\n%1 more pictures are not listed.").arg(m_decode.nLeftOut);
    SetDetail(detail);
    if (bLone) {
        m_nPicture = 0;
        const CIndexedImage& picture = m_decode.images.front();
        m_pTitle->setText(m_pTitle->text() + QStringLiteral(", %1×%2").arg(picture.nWidth).arg(picture.nHeight));
        m_pPicture->SetImage(ToQImage(picture, m_palette));
        SetPage(Page::picture);
        return;
    }
    m_pGrid->SetPictures(m_decode.images, m_palette);
    SetPage(Page::grid);
}

void CPreviewPane::ShowWave(CEntryReader reader)
{
    if (reader.Length() > kMostWaveBytes) {
        ShowTextOrHex(std::move(reader), QByteArray(), QStringLiteral("Too long to decode as a sound."));
        return;
    }
    const QByteArray bytes = reader.ReadAll();
    CDecodedWave wave;
    try {
        wave = DecodeWave(std::span(reinterpret_cast<const std::byte*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())));
    } catch (const std::bad_alloc&) {
        wave.error = "Out of memory.";
    }
    SetDetail(QStringLiteral("Wave sound"));
    if (!wave.IsOk()) {
        ShowMessage(QStringLiteral("Cannot play this wave file.  ") + QString::fromStdString(wave.error));
        return;
    }
    const double fRate = wave.nSampleRate;
    QString info = QStringLiteral("%1, %2, %L3 Hz\nDuration: %4 (%L5 frames)\n")
                       .arg(QString::fromStdString(wave.encoding),
                            wave.nChannels == 1   ? QStringLiteral("mono")
                            : wave.nChannels == 2 ? QStringLiteral("stereo")
                                                  : QStringLiteral("%1 channels").arg(wave.nChannels))
                       .arg(wave.nSampleRate)
                       .arg(SecondsText(static_cast<double>(wave.FrameCount()) / fRate))
                       .arg(wave.FrameCount());
    if (wave.loopStart)
        info += QStringLiteral("Loops from %1 (frame %L2, the cue point)")
                    .arg(SecondsText(*wave.loopStart / fRate))
                    .arg(*wave.loopStart);
    else
        info += QStringLiteral("Plays once (no cue point)");
    m_pWaveInfo->setText(info);
    SetPage(Page::wave);
}

// --- What is shown ---------------------------------------------------------------------------

QString CPreviewPane::TitleText() const
{
    return m_pTitle->text();
}

QString CPreviewPane::DetailText() const
{
    return m_strDetail;
}

QString CPreviewPane::MessageText() const
{
    return m_page == Page::wave ? m_pWaveInfo->text() : m_pMessage->text();
}

bool CPreviewPane::IsOfferingPalette() const
{
    return m_page == Page::message && !m_pChoosePalette->isHidden();
}

// --- The pane's own commands --------------------------------------------------------------

void CPreviewPane::SetZoom(int nZoom)
{
    m_pPicture->SetZoom(nZoom);
    const int nIndex = m_pZoom->findData(nZoom);
    if (nIndex >= 0)
        m_pZoom->setCurrentIndex(nIndex);
}

void CPreviewPane::ShowContainerPicture(int nPicture)
{
    if (nPicture < 0 || static_cast<std::size_t>(nPicture) >= m_decode.images.size())
        return;
    const CIndexedImage& picture = m_decode.images[static_cast<std::size_t>(nPicture)];
    if (!picture.IsOk())
        return;
    m_nPicture = nPicture;
    m_pPicture->SetImage(ToQImage(picture, m_palette));
    // The container's lines stay; the picture's name and size follow them.
    m_pDetail->setText(m_strDetail + QStringLiteral("\n%1, %2×%3")
                                         .arg(VisibleText(DecodeName(picture.name)))
                                         .arg(picture.nWidth)
                                         .arg(picture.nHeight));
    SetPage(Page::picture);
}

void CPreviewPane::ShowThumbnails()
{
    if (m_decode.bContainer && !m_decode.images.empty()) {
        m_pDetail->setText(m_strDetail);
        SetPage(Page::grid);
    }
}

int CPreviewPane::ExportedPicture() const
{
    int nPicture = -1;
    if (m_page == Page::picture)
        nPicture = m_nPicture;
    else if (m_page == Page::grid)
        nPicture = m_pGrid->SelectedPicture();
    if (nPicture < 0 || static_cast<std::size_t>(nPicture) >= m_decode.images.size() ||
        !m_decode.images[static_cast<std::size_t>(nPicture)].IsOk())
        return -1;
    return nPicture;
}

bool CPreviewPane::CanExport() const
{
    return ExportedPicture() >= 0;
}

void CPreviewPane::ExportPicture()
{
    const int nPicture = ExportedPicture();
    if (nPicture < 0)
        return;
    const CIndexedImage& picture = m_decode.images[static_cast<std::size_t>(nPicture)];
    QString name = DecodeName(picture.name);
    if (name.isEmpty()) {
        name = DecodeName(m_strRawName);
        const qsizetype nDot = name.lastIndexOf(u'.');
        if (nDot > 0)
            name.truncate(nDot);
    }
    FileChooser chooser{QStringLiteral("Export Picture"), QStringLiteral("png"), FileNameOf(name) + ".png",
                        QStringLiteral("PNG picture (*.png)")};
    const std::optional<QString> path = m_services.prompt.GetSaveFileName(chooser);
    if (!path)
        return;
    CPngResult result;
    if (!WriteIndexedPng(ToDiskBytes(*path), picture, m_palette, result))
        m_services.prompt.ShowError(QStringLiteral("The picture could not be exported.  ") +
                                    QString::fromStdString(result.text));
}

void CPreviewPane::ChoosePalette()
{
    FileChooser chooser{QStringLiteral("Choose Palette"), QStringLiteral("lmp"), QStringLiteral("palette.lmp"),
                        QStringLiteral("Quake palette (*.lmp);;All files (*)")};
    const std::optional<QString> path = m_services.prompt.GetOpenFileName(chooser);
    if (!path)
        return;
    CPalette palette;
    if (!ReadPaletteFile(ToDiskBytes(*path), palette)) {
        m_services.prompt.ShowError(QStringLiteral("%1 is not a palette: a palette file holds exactly 768 bytes.")
                                        .arg(*path));
        return;
    }
    WriteSettingText(setting::kPaletteFile, *path);
    m_strPaletteKey.clear();
    m_strShownKey.clear();
    ShowSelection();
}

void CPreviewPane::contextMenuEvent(QContextMenuEvent* pEvent)
{
    QMenu menu(this);
    QAction* pExport = menu.addAction(QStringLiteral("&Export as PNG..."));
    pExport->setData(ID_PREVIEW_EXPORT);
    pExport->setEnabled(CanExport());
    QAction* pPalette = menu.addAction(QStringLiteral("Choose &Palette File..."));
    pPalette->setData(ID_PREVIEW_PALETTE);
    const QAction* pChosen = m_services.prompt.TrackPopupMenu(menu, pEvent->globalPos());
    if (pChosen == pExport && pExport->isEnabled())
        ExportPicture();
    else if (pChosen == pPalette)
        ChoosePalette();
}

}  // namespace vantor
