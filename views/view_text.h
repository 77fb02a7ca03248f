// How the views turn what the engine holds into what users read: entry
// names (raw bytes in the pak) as text, sizes and totals, disk paths.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vantor {

// A name from the pak as it is shown: UTF-8 where the bytes are valid UTF-8,
// else Latin-1, so that every byte shows as some character; made visible
// (VisibleText), and kNoNameText for a name with no bytes. The views keep
// the raw bytes beside the text for every engine call.
QString DecodeName(std::string_view raw);

// What a name or a path shows for text that would mislead: control
// characters as "\xHH" (a line feed would break the row, a carriage return
// hide what came before), and the bidirectional controls as "\uHHHH" (a
// right-to-left override shows "rlo\u202Etxt.exe" as "rloexe.txt").
QString VisibleText(const QString& text);

// Stands for a name that is empty, such as the part after a leading "/".
inline constexpr char16_t kNoNameText[] = u"(no name)";

// Names ordered as users expect: letter case ignored. Names that differ
// only in case (the pak tells them apart) are then ordered by their exact
// text, so that their order does not depend on the directory's.
int CompareNames(const QString& a, const QString& b);

// True for a name DecodeName shows byte for byte: not empty, and all
// printable ASCII. Nearly every name in a pak is one.
bool IsPlainName(std::string_view raw);

// An ASCII letter in lower case, every other byte as it is: how plain
// names compare ignoring case.
inline char FoldAsciiLetter(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// CompareNames' order for two plain names, from their bytes: no text made,
// no Unicode case folding, which made ordering a million rows take seconds.
int ComparePlainNames(std::string_view a, std::string_view b);

// The size column of a file row: its kilobytes and "KB".
QString FormatSizeKB(qint64 nKB);

// A total of kilobytes: "%dKB" up to 999, above that "%.1fMB" counted in
// thousands (1500 KB show as 1.5MB).
QString FormatTotalKB(qint64 nKB);

// Disk paths between Qt's text and the bytes the engine opens, so that
// every path survives the round trip: valid UTF-8 as text, every other byte
// as a lone surrogate U+DC80 to U+DCFF that turns back into the byte. (Qt's
// own QFile::decodeName replaces such bytes, which loses the path.)
std::string ToDiskBytes(const QString& path);
QString FromDiskBytes(std::string_view path);

}  // namespace vantor
