// The program's settings, addressed by section and key as profile calls
// address them, over QSettings("Tessamont", "Vantor"): a registry key on
// Windows, ~/.config/Tessamont/Vantor.conf on Linux. Nothing is cached:
// every caller reads what it needs when it runs.
#pragma once

#include <QString>

namespace vantor {

// nDefault when the value is absent or not an integer.
int GetProfileInt(const QString& section, const QString& key, int nDefault);
// strDefault when the value is absent.
QString GetProfileString(const QString& section, const QString& key, const QString& strDefault = QString());

void WriteProfileInt(const QString& section, const QString& key, int nValue);
void WriteProfileString(const QString& section, const QString& key, const QString& value);
void DeleteProfileValue(const QString& section, const QString& key);

}  // namespace vantor
