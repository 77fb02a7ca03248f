#include "profile.h"

#include <QSettings>

namespace vantor {

namespace {

QString KeyPath(const QString& section, const QString& key)
{
    return section + u'/' + key;
}

QSettings OpenSettings()
{
    return QSettings(QStringLiteral("Tessamont"), QStringLiteral("Vantor"));
}

}  // namespace

int GetProfileInt(const QString& section, const QString& key, int nDefault)
{
    const QVariant value = OpenSettings().value(KeyPath(section, key));
    if (!value.isValid())
        return nDefault;
    bool bOk = false;
    const int nValue = value.toInt(&bOk);
    return bOk ? nValue : nDefault;
}

QString GetProfileString(const QString& section, const QString& key, const QString& strDefault)
{
    const QVariant value = OpenSettings().value(KeyPath(section, key));
    return value.isValid() ? value.toString() : strDefault;
}

void WriteProfileInt(const QString& section, const QString& key, int nValue)
{
    OpenSettings().setValue(KeyPath(section, key), nValue);
}

void WriteProfileString(const QString& section, const QString& key, const QString& value)
{
    OpenSettings().setValue(KeyPath(section, key), value);
}

void DeleteProfileValue(const QString& section, const QString& key)
{
    OpenSettings().remove(KeyPath(section, key));
}

}  // namespace vantor
