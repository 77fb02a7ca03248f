// Every setting the program keeps: its section, key and default, in one
// table. The Options dialog, the views and the frame read and write them
// through it; the settings removal program shares only the key's path.
#pragma once

#include "profile.h"

#include <QString>

namespace vantor {

struct CSetting {
    const char* pszSection;
    const char* pszKey;
    int nDefault;  // for number settings; text settings default to ""
};

namespace setting {

// "Options": what the Options dialog edits.
inline constexpr CSetting kAssociatePak{"Options", "AssociatePak", 1};
inline constexpr CSetting kNewPak{"Options", "NewPak", 1};
inline constexpr CSetting kRecoverOnExit{"Options", "RecoverOnExit", 1};
inline constexpr CSetting kConfirmRecover{"Options", "ConfirmRecover", 1};
inline constexpr CSetting kUseExtractPath{"Options", "UseExtractPath", 0};
inline constexpr CSetting kExtractPath{"Options", "ExtractPath", 0};
inline constexpr CSetting kExtractWarning{"Options", "ExtractWarning", 0};
// The game folder window's engine rules: 0 classic, 1 DarkPlaces.
inline constexpr CSetting kGameProfile{"Options", "GameProfile", 0};
inline constexpr CSetting kConfirmUpdate{"Options", "ConfirmUpdate", 0};
// The palette file the user chose for paks whose game folder has none.
inline constexpr CSetting kPaletteFile{"Options", "PaletteFile", 0};

// "Window size": the frame's placement and the panes. The widths have no
// fixed default: a share of the window when nothing is stored.
inline constexpr CSetting kRect{"Window size", "Rect", 0};
inline constexpr CSetting kIcon{"Window size", "icon", 0};
inline constexpr CSetting kMax{"Window size", "max", 0};
inline constexpr CSetting kTreeWidth{"Window size", "TreeWidth", 0};
inline constexpr CSetting kListWidth{"Window size", "ListWidth", 0};
// The preview pane beside the list: shown or not, and its width.
inline constexpr CSetting kPreview{"Window size", "Preview", 1};
inline constexpr CSetting kPreviewWidth{"Window size", "PreviewWidth", 0};
inline constexpr CSetting kSort{"Window size", "Sort", 0};
inline constexpr CSetting kAscending{"Window size", "Ascending", 1};
inline constexpr const char* kWindowSize = "Window size";
// Column0 to Column2 in "Window size", 0 to 5 in "Mru": numbered keys.
inline QString ColumnKey(int nColumn) { return QStringLiteral("Column%1").arg(nColumn); }
inline constexpr const char* kMru = "Mru";

}  // namespace setting

inline int ReadSetting(const CSetting& s, int nDefault)
{
    return GetProfileInt(QString::fromLatin1(s.pszSection), QString::fromLatin1(s.pszKey), nDefault);
}
inline int ReadSetting(const CSetting& s) { return ReadSetting(s, s.nDefault); }
inline QString ReadSettingText(const CSetting& s)
{
    return GetProfileString(QString::fromLatin1(s.pszSection), QString::fromLatin1(s.pszKey));
}
inline void WriteSetting(const CSetting& s, int nValue)
{
    WriteProfileInt(QString::fromLatin1(s.pszSection), QString::fromLatin1(s.pszKey), nValue);
}
inline void WriteSettingText(const CSetting& s, const QString& value)
{
    WriteProfileString(QString::fromLatin1(s.pszSection), QString::fromLatin1(s.pszKey), value);
}

}  // namespace vantor
