// How the views turn what the engine holds into what users read: entry
// names (raw bytes in the pak) as text, sizes and totals, disk paths.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vantor {

// A name from the pak as it is shown: UTF-8 where the bytes are valid UTF-8,
// else Latin-1, so that every byte shows as some character. The views keep
// the raw bytes beside the text for every engine call.
QString DecodeName(std::string_view raw);

// Names ordered as users expect: letter case ignored. Names that differ
// only in case (the pak tells them apart) are then ordered by their exact
// text, so that their order does not depend on the directory's.
int CompareNames(const QString& a, const QString& b);

// The size column of a file row: its kilobytes and "KB".
QString FormatSizeKB(qint64 nKB);

// A total of kilobytes: "%dKB" up to 999, above that "%.1fMB" counted in
// thousands (1500 KB show as 1.5MB).
QString FormatTotalKB(qint64 nKB);

// Disk paths between Qt's text and the bytes the engine opens.
std::string ToDiskBytes(const QString& path);
QString FromDiskBytes(const std::string& path);

}  // namespace vantor
