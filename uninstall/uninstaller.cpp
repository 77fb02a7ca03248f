#include "uninstaller.h"

#include "uninstall_prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace vantor {

namespace {

QSettings OpenUserSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganisation),
                     QString::fromLatin1(kSettingsApplication));
}

#ifndef Q_OS_WIN
// A link whose target has gone is still an entry to remove.
bool EntryExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
#endif

}  // namespace

QString SettingsLocation()
{
    return OpenUserSettings().fileName();
}

CRemovalResult RemoveSettings()
{
    const QString strLocation = SettingsLocation();
    QString strFailure;
#ifdef Q_OS_WIN
    {
        QSettings settings = OpenUserSettings();
        // Qt deletes the key itself, with everything below it, when a
        // cleared object goes away.
        settings.clear();
        settings.sync();
    }
#else
    // Only the file: the organisation's folder may hold other programs'
    // settings.
    if (EntryExists(strLocation)) {
        QFile file(strLocation);
        if (!file.remove())
            strFailure = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(strLocation), file.errorString());
    }
#endif

    // Look again rather than trusting the removal's answer.
#ifdef Q_OS_WIN
    // From the parent key: opening Vantor's key itself would create it again.
    QSettings software(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat);
    software.beginGroup(QString::fromLatin1(kSettingsOrganisation));
    const bool bGone = !software.childGroups().contains(QString::fromLatin1(kSettingsApplication));
#else
    QSettings settings = OpenUserSettings();
    settings.setFallbacksEnabled(false);
    const bool bGone = settings.allKeys().isEmpty() && !EntryExists(strLocation);
#endif
    if (bGone)
        return {true, QString()};
    if (strFailure.isEmpty())
        strFailure = QStringLiteral("%1 is still there.").arg(QDir::toNativeSeparators(strLocation));
    return {false, strFailure};
}

int RunUninstall(IUninstallPrompt& prompt)
{
    if (!prompt.AskYesNo(QStringLiteral("This will remove all Vantor settings from the registry.  Continue?")))
        return 0;
    const CRemovalResult result = RemoveSettings();
    if (!result.bRemoved) {
        prompt.ShowError(QStringLiteral("Vantor's settings could not be removed.\n") + result.strReason);
        return 1;
    }
    prompt.Inform(QStringLiteral("Vantor's settings have been removed from the registry."));
    return 0;
}

}  // namespace vantor
