#include "entry_text_view.h"

#include <QFontDatabase>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace vantor {

namespace {

// A windowed text view scrolls in steps of this many bytes; its scroll
// range then fits an int for any entry a pak can hold.
constexpr std::uint64_t kWindowStep = 64;
// The most bytes one row of a windowed text view shows before it wraps.
constexpr std::size_t kWindowedLineBytes = 512;
constexpr int kGutterPadding = 6;
constexpr int kTabWidth = 8;

// Tabs as the spaces up to the next stop: the painter draws no tabs.
QString ExpandTabs(QString line)
{
    for (qsizetype i = line.indexOf(u'\t'); i >= 0; i = line.indexOf(u'\t', i))
        line.replace(i, 1, QString(kTabWidth - i % kTabWidth, u' '));
    return line;
}

}  // namespace

CEntryTextView::CEntryTextView(QWidget* pParent) : QAbstractScrollArea(pParent)
{
    setObjectName(QStringLiteral("previewText"));
    viewport()->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFont(viewport()->font());
}

void CEntryTextView::Clear()
{
    m_mode = Mode::empty;
    m_reader = CEntryReader();
    m_lines.clear();
    m_nWidestLine = 0;
    UpdateScrollBars();
    viewport()->update();
}

void CEntryTextView::ShowText(CEntryReader reader, TextEncoding encoding)
{
    Clear();
    m_mode = Mode::text;
    m_reader = std::move(reader);
    m_encoding = encoding;
    m_bWindowed = m_reader.Length() > kWholeTextBytes;
    if (!m_bWindowed) {
        m_lines = DecodeText(m_reader.ReadAll(), encoding).split(u'\n');
        // A last line break ends the last line; it starts no empty one.
        if (m_lines.size() > 1 && m_lines.constLast().isEmpty())
            m_lines.removeLast();
        for (QString& line : m_lines) {
            if (line.endsWith(u'\r'))
                line.chop(1);
            line = ExpandTabs(std::move(line));
            m_nWidestLine = std::max(m_nWidestLine, static_cast<int>(line.size()));
        }
    }
    UpdateScrollBars();
}

void CEntryTextView::ShowHex(CEntryReader reader)
{
    Clear();
    m_mode = Mode::hex;
    m_reader = std::move(reader);
    m_nBytesPerRow = HexBytesPerRow();
    UpdateScrollBars();
}

int CEntryTextView::RowHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int CEntryTextView::VisibleRowCount() const
{
    return viewport()->height() / RowHeight() + 1;
}

int CEntryTextView::HexBytesPerRow() const
{
    // Offset, gutter padding, three characters a byte, the gap in the
    // middle, and the characters column.
    const int nWideRow = 10 + kHexBytesPerRow * 4 + 2;
    return viewport()->width() >= nWideRow * fontMetrics().horizontalAdvance(u'0') ? kHexBytesPerRow
                                                                                  : kNarrowHexBytesPerRow;
}

void CEntryTextView::UpdateScrollBars()
{
    if (m_mode == Mode::hex && HexBytesPerRow() != m_nBytesPerRow) {
        // The same bytes stay at the top.
        const int nTop = verticalScrollBar()->value();
        const int nNewPerRow = HexBytesPerRow();
        verticalScrollBar()->setMaximum(std::max(verticalScrollBar()->maximum(),
                                                 static_cast<int>(std::int64_t{nTop} * m_nBytesPerRow / nNewPerRow)));
        verticalScrollBar()->setValue(static_cast<int>(std::int64_t{nTop} * m_nBytesPerRow / nNewPerRow));
        m_nBytesPerRow = nNewPerRow;
    }
    const int nPage = std::max(1, viewport()->height() / RowHeight());
    std::int64_t nRows = 0;
    int nColumns = 0;
    switch (m_mode) {
    case Mode::empty:
        break;
    case Mode::hex:
        nRows = static_cast<std::int64_t>((m_reader.Length() + static_cast<std::uint64_t>(m_nBytesPerRow) - 1) /
                                          static_cast<std::uint64_t>(m_nBytesPerRow));
        nColumns = 10 + m_nBytesPerRow * 4 + 2;
        break;
    case Mode::text:
        nRows = m_bWindowed ? static_cast<std::int64_t>(m_reader.Length() / kWindowStep) + 1 : m_lines.size();
        nColumns = m_bWindowed ? 0 : m_nWidestLine;
        break;
    }
    QScrollBar* pVertical = verticalScrollBar();
    pVertical->setPageStep(nPage);
    pVertical->setSingleStep(1);
    pVertical->setRange(0, static_cast<int>(std::max<std::int64_t>(0, nRows - (m_bWindowed ? 1 : nPage))));
    const int nCharWidth = fontMetrics().horizontalAdvance(u'0');
    QScrollBar* pHorizontal = horizontalScrollBar();
    pHorizontal->setPageStep(viewport()->width());
    pHorizontal->setSingleStep(nCharWidth * 4);
    pHorizontal->setRange(0, std::max(0, nColumns * nCharWidth - viewport()->width() / 2));
}

std::vector<CEntryTextView::CRow> CEntryTextView::HexRows(int nFirst, int nCount)
{
    std::vector<CRow> rows;
    const int nPerRow = m_nBytesPerRow;
    const std::uint64_t nOffset = static_cast<std::uint64_t>(nFirst) * static_cast<std::uint64_t>(nPerRow);
    const QByteArray bytes = m_reader.Read(nOffset, static_cast<std::size_t>(nCount) * static_cast<std::size_t>(nPerRow));
    for (qsizetype nAt = 0; nAt < bytes.size(); nAt += nPerRow) {
        const QByteArray row = bytes.mid(nAt, nPerRow);
        QString hex;
        QString chars;
        for (qsizetype i = 0; i < nPerRow; ++i) {
            if (i < row.size()) {
                const auto c = static_cast<unsigned char>(row[i]);
                hex += QStringLiteral("%1 ").arg(c, 2, 16, QLatin1Char('0'));
                chars += (c >= 0x20 && c < 0x7F) ? QChar(c) : QChar(u'.');
            } else {
                hex += QStringLiteral("   ");
            }
            if (i == nPerRow / 2 - 1)
                hex += u' ';
        }
        rows.push_back({QStringLiteral("%1").arg(nOffset + static_cast<std::uint64_t>(nAt), 8, 16, QLatin1Char('0')),
                        hex + u' ' + chars});
    }
    return rows;
}

std::vector<CEntryTextView::CRow> CEntryTextView::WindowedTextRows(std::uint64_t nStart, int nCount)
{
    // At the bottom the window ends with the entry, so that its last lines
    // fill the view rather than the last step's.
    const auto nWindowBytes = static_cast<std::uint64_t>(nCount) * kWindowedLineBytes;
    const bool bAtEnd = nStart > 0 && verticalScrollBar()->value() == verticalScrollBar()->maximum();
    if (bAtEnd)
        nStart = m_reader.Length() > nWindowBytes ? m_reader.Length() - nWindowBytes : 0;
    const QByteArray window = m_reader.Read(nStart, static_cast<std::size_t>(nWindowBytes));
    std::vector<CRow> rows;
    qsizetype nAt = 0;
    // Away from the start the window begins inside a line: show from the
    // next one, unless the line is longer than the window.
    if (nStart > 0) {
        const qsizetype nBreak = window.indexOf('\n');
        if (nBreak >= 0 && nBreak + 1 < window.size())
            nAt = nBreak + 1;
    }
    while (nAt < window.size()) {
        qsizetype nEnd = window.indexOf('\n', nAt);
        if (nEnd < 0 || nEnd - nAt > static_cast<qsizetype>(kWindowedLineBytes))
            nEnd = std::min(window.size(), nAt + static_cast<qsizetype>(kWindowedLineBytes));
        QByteArrayView line(window.constData() + nAt, nEnd - nAt);
        if (line.endsWith('\r'))
            line.chop(1);
        rows.push_back({QStringLiteral("@%1").arg(nStart + static_cast<std::uint64_t>(nAt), 0, 16),
                        ExpandTabs(DecodeText(line, m_encoding))});
        nAt = nEnd < window.size() && window[nEnd] == '\n' ? nEnd + 1 : nEnd;
        if (!bAtEnd && static_cast<int>(rows.size()) == nCount)
            break;
    }
    if (bAtEnd && static_cast<int>(rows.size()) > nCount)
        rows.erase(rows.begin(), rows.end() - nCount);
    return rows;
}

std::vector<CEntryTextView::CRow> CEntryTextView::RowsOnScreen()
{
    const int nFirst = verticalScrollBar()->value();
    const int nCount = VisibleRowCount();
    switch (m_mode) {
    case Mode::empty:
        return {};
    case Mode::hex:
        return HexRows(nFirst, nCount);
    case Mode::text:
        break;
    }
    if (m_bWindowed)
        return WindowedTextRows(static_cast<std::uint64_t>(nFirst) * kWindowStep, nCount);
    std::vector<CRow> rows;
    for (int nLine = nFirst; nLine < m_lines.size() && nLine < nFirst + nCount; ++nLine)
        rows.push_back({QString::number(nLine + 1), m_lines[nLine]});
    return rows;
}

void CEntryTextView::resizeEvent(QResizeEvent* pEvent)
{
    QAbstractScrollArea::resizeEvent(pEvent);
    UpdateScrollBars();
}

void CEntryTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    const std::vector<CRow> rows = RowsOnScreen();
    const QFontMetrics metrics = fontMetrics();
    int nGutterChars = m_mode == Mode::text && !m_bWindowed ? static_cast<int>(QString::number(m_lines.size()).size())
                                                             : 0;
    for (const CRow& row : rows)
        nGutterChars = std::max(nGutterChars, static_cast<int>(row.gutter.size()));
    const int nGutter = metrics.horizontalAdvance(u'0') * nGutterChars + 2 * kGutterPadding;
    painter.fillRect(QRect(0, 0, nGutter, viewport()->height()), palette().alternateBase());
    const int nLineHeight = RowHeight();
    const int nTextLeft = nGutter + kGutterPadding - horizontalScrollBar()->value();
    int nY = 0;
    for (const CRow& row : rows) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(QRect(0, nY, nGutter - kGutterPadding, nLineHeight), Qt::AlignRight | Qt::AlignVCenter,
                         row.gutter);
        painter.setPen(palette().color(QPalette::Text));
        painter.setClipRect(QRect(nGutter, 0, viewport()->width() - nGutter, viewport()->height()));
        painter.drawText(QPoint(nTextLeft, nY + metrics.ascent()), row.text);
        painter.setClipping(false);
        nY += nLineHeight;
    }
}

}  // namespace vantor
