#include "preview_kind.h"

#include <QStringDecoder>

#include <algorithm>
#include <cctype>
#include <string>

namespace vantor {

namespace {

struct CExtensionKind {
    std::string_view extension;
    PreviewKind kind;
};

// Extensions compare ignoring case, as the game's file system does.
constexpr CExtensionKind kExtensions[] = {
    {"cfg", PreviewKind::text},    {"qc", PreviewKind::text},      {"ent", PreviewKind::text},
    {"txt", PreviewKind::text},    {"rc", PreviewKind::text},      {"shader", PreviewKind::text},
    {"lmp", PreviewKind::picture}, {"wad", PreviewKind::picture},  {"bsp", PreviewKind::picture},
    {"mdl", PreviewKind::picture}, {"spr", PreviewKind::picture},  {"wav", PreviewKind::wave},
};

// A control character this far into text is one stray byte in a hundred.
constexpr qsizetype kStrayControlShare = 100;

bool IsTextControl(unsigned char c)
{
    // Tab, line feed, vertical tab, form feed, carriage return, and the old
    // end-of-file mark some editors leave.
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A;
}

}  // namespace

PreviewKind PreviewKindOf(std::string_view entryName)
{
    const std::size_t nSlash = entryName.find_last_of("/\\");
    const std::string_view leaf = nSlash == std::string_view::npos ? entryName : entryName.substr(nSlash + 1);
    const std::size_t nDot = leaf.rfind('.');
    if (nDot == std::string_view::npos)
        return PreviewKind::unknown;
    std::string extension(leaf.substr(nDot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const CExtensionKind& entry : kExtensions) {
        if (entry.extension == extension)
            return entry.kind;
    }
    return PreviewKind::unknown;
}

bool LooksLikeText(QByteArrayView sample)
{
    qsizetype nStray = 0;
    for (const char ch : sample) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0)
            return false;
        if (c < 0x20 && !IsTextControl(c))
            ++nStray;
    }
    return nStray * kStrayControlShare <= sample.size();
}

TextEncoding TextEncodingOf(QByteArrayView sample)
{
    // A multi-byte sequence cut by the sample's end is no reason to give up
    // on UTF-8: drop up to three trailing bytes of an unfinished one.
    qsizetype nEnd = sample.size();
    for (qsizetype nBack = 1; nBack <= 3 && nBack <= sample.size(); ++nBack) {
        const auto c = static_cast<unsigned char>(sample[sample.size() - nBack]);
        if ((c & 0xC0) == 0xC0) {
            const qsizetype nNeeded = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            if (nNeeded > nBack)
                nEnd = sample.size() - nBack;
            break;
        }
        if ((c & 0xC0) != 0x80)
            break;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(sample.first(nEnd));
    return decoder.hasError() ? TextEncoding::latin1 : TextEncoding::utf8;
}

QString DecodeText(QByteArrayView bytes, TextEncoding encoding)
{
    return encoding == TextEncoding::utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

}  // namespace vantor
