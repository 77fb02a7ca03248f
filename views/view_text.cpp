#include "view_text.h"

#include "utf8.h"

#include <QStringDecoder>

#include <algorithm>

namespace vantor {

namespace {

bool IsBidiControl(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool IsControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

QString DecodeText(std::string_view raw)
{
    const auto nLength = static_cast<qsizetype>(raw.size());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(raw.data(), nLength));
    if (!decoder.hasError())
        return text;
    return QString::fromLatin1(raw.data(), nLength);
}

}  // namespace

QString DecodeName(std::string_view raw)
{
    if (raw.empty())
        return QString::fromUtf16(kNoNameText);
    // Nearly every name is plain printable ASCII; skip the decoder and the
    // checks for those.
    if (IsPlainName(raw))
        return QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()));
    return VisibleText(DecodeText(raw));
}

QString VisibleText(const QString& text)
{
    const bool bClean = std::none_of(text.begin(), text.end(), [](QChar c) {
        return IsControl(c.unicode()) || IsBidiControl(c.unicode());
    });
    if (bClean)
        return text;
    QString shown;
    shown.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (IsControl(c.unicode()))
            shown += QString::asprintf("\\x%02X", c.unicode());
        else if (IsBidiControl(c.unicode()))
            shown += QString::asprintf("\\u%04X", c.unicode());
        else
            shown += c;
    }
    return shown;
}

int CompareNames(const QString& a, const QString& b)
{
    const int nResult = a.compare(b, Qt::CaseInsensitive);
    return nResult != 0 ? nResult : a.compare(b, Qt::CaseSensitive);
}

bool IsPlainName(std::string_view raw)
{
    return !raw.empty() && std::all_of(raw.begin(), raw.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

int ComparePlainNames(std::string_view a, std::string_view b)
{
    // Qt folds ASCII letters to lower case before comparing, and UTF-16
    // code units of ASCII order as its bytes do.
    const std::size_t nCommon = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < nCommon; ++i) {
        const char ca = FoldAsciiLetter(a[i]);
        const char cb = FoldAsciiLetter(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int nExact = a.compare(b);
    return nExact < 0 ? -1 : nExact > 0 ? 1 : 0;
}

QString FormatSizeKB(qint64 nKB)
{
    return QString::number(nKB) + QStringLiteral("KB");
}

QString FormatTotalKB(qint64 nKB)
{
    if (nKB <= 999)
        return FormatSizeKB(nKB);
    return QString::asprintf("%.1fMB", static_cast<double>(nKB) * 0.001);
}

std::string ToDiskBytes(const QString& path)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(path.size()));
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (c >= 0xDC80 && c <= 0xDCFF && (i == 0 || !QChar::isHighSurrogate(path[i - 1].unicode()))) {
            bytes += static_cast<char>(c - 0xDC00);
            continue;
        }
        // Everything else, pairs included, as UTF-8.
        qsizetype nRun = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < path.size() && QChar::isLowSurrogate(path[i + 1].unicode()))
            nRun = 2;
        bytes += QStringView(path).mid(i, nRun).toUtf8().toStdString();
        i += nRun - 1;
    }
    return bytes;
}

QString FromDiskBytes(std::string_view path)
{
    QString text;
    text.reserve(static_cast<qsizetype>(path.size()));
    for (std::size_t at = 0; at < path.size();) {
        const Utf8Char c = DecodeUtf8(path, at);
        if (c.length == 0) {
            text += QChar(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(path[at])));
            ++at;
            continue;
        }
        if (c.code < 0x80)
            text += QChar(static_cast<char16_t>(c.code));
        else
            text += QString::fromUtf8(path.data() + at, static_cast<qsizetype>(c.length));
        at += c.length;
    }
    return text;
}

}  // namespace vantor
