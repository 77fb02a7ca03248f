// CEntryTextView: an entry as numbered lines of text or as hex rows, painted
// from the rows on screen only. Text up to a few megabytes is read once and
// numbered by line; a bigger entry, like every hex view, is read a screen at
// a time through its CEntryReader, so a 1 GiB entry never enters memory.
#pragma once

#include "entry_reader.h"
#include "preview_kind.h"

#include <QAbstractScrollArea>
#include <QStringList>

#include <vector>

namespace vantor {

class CEntryTextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    enum class Mode { empty, text, hex };

    // Entries up to this size are read whole and numbered by line; bigger
    // ones are shown from where the view is, their lines marked by offset.
    static constexpr std::uint64_t kWholeTextBytes = 4 << 20;
    // Hex rows hold 16 bytes, or 8 when the view is too narrow for 16.
    static constexpr int kHexBytesPerRow = 16;
    static constexpr int kNarrowHexBytesPerRow = 8;

    explicit CEntryTextView(QWidget* pParent = nullptr);

    void ShowText(CEntryReader reader, TextEncoding encoding);
    void ShowHex(CEntryReader reader);
    void Clear();

    Mode GetMode() const { return m_mode; }
    // Whether the text is numbered by line (read whole) rather than by offset.
    bool IsNumberedByLine() const { return m_mode == Mode::text && !m_bWindowed; }
    const CEntryReader& Reader() const { return m_reader; }

    // One painted row: the gutter's number or offset, and the row's text.
    struct CRow {
        QString gutter;
        QString text;
    };
    // The rows the view shows now, top to bottom.
    std::vector<CRow> RowsOnScreen();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void UpdateScrollBars();
    int VisibleRowCount() const;
    int RowHeight() const;
    int HexBytesPerRow() const;
    std::vector<CRow> HexRows(int nFirst, int nCount);
    std::vector<CRow> WindowedTextRows(std::uint64_t nStart, int nCount);

    Mode m_mode = Mode::empty;
    CEntryReader m_reader;
    TextEncoding m_encoding = TextEncoding::latin1;
    bool m_bWindowed = false;
    QStringList m_lines;      // the whole text, when read whole
    int m_nWidestLine = 0;    // in characters, for the horizontal scroll bar
    int m_nBytesPerRow = kHexBytesPerRow;
};

}  // namespace vantor
