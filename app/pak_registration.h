// The desktop's knowledge of .pak files, kept in line with the settings
// "AssociatePak" and "NewPak": a shared-mime-info package for the type, a
// desktop entry that opens it with Vantor, the icons, and an empty pak in
// the user's templates folder for the file manager's New menu. Everything
// lives under the user's own folders ($XDG_DATA_HOME and the templates
// folder); nothing system-wide is touched. A system-wide installation of the
// same program ($XDG_DATA_DIRS) is not registered a second time per user.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace vantor {

struct RegistrationPaths {
    QString strDataHome;      // $XDG_DATA_HOME, ~/.local/share by default
    QString strTemplatesDir;  // the user's templates folder; empty when the user has turned it off
    QString strProgram;       // absolute path of the program, for the desktop entry
    QStringList systemDataDirs;  // $XDG_DATA_DIRS, /usr/local/share and /usr/share by default

    static RegistrationPaths FromEnvironment();
};

// The templates folder named by $XDG_CONFIG_HOME/user-dirs.dirs, ~/Templates
// when that names none; empty when it is set to the home folder itself,
// which is how a user turns it off.
QString FindTemplatesFolder(const QString& configHome, const QString& home);

// Runs a desktop database tool (update-mime-database …) when it is
// installed. Its result is not awaited: the registration works without it,
// the desktop just notices later.
using ToolRunner = std::function<void(const QString& program, const QStringList& arguments)>;
void RunInstalledToolDetached(const QString& program, const QStringList& arguments);

class CPakRegistration {
public:
    explicit CPakRegistration(RegistrationPaths paths, ToolRunner runTool = RunInstalledToolDetached);

    // Registers when nAssociate is non-zero, with the template only while
    // nNewPak is non-zero as well; turning them off removes nothing an
    // earlier registration wrote. Unchanged files are not rewritten and the
    // tools only run after a change, so a second start costs nothing and a
    // default application the user picked since is left alone. Failures stop
    // the work at that point and are not reported.
    //
    // When a system data folder holds this program's own desktop entry, the
    // package installed it with the type and icons: only the template is
    // written per user, and the per-user type, entry and icons an earlier
    // start wrote are removed, so the user's copies never shadow it.
    void Refresh(int nAssociate, int nNewPak);

    // The desktop entry for this program, as written per user and installed.
    QByteArray DesktopEntryBytes() const;
    bool IsInstalledSystemWide() const;

    QString MimePackagePath() const;
    QString DesktopEntryPath() const;
    QString ProgramIconPath() const;
    QString PakIconPath() const;
    QString TemplatePath() const;

    // The 12 bytes of a pak with no entries: "PACK", directory offset 12,
    // directory length 0.
    static QByteArray EmptyPakBytes();

    // The desktop entry's Exec line for a program path: quoted where the
    // desktop-entry rules need it, then escaped as a key-file string.
    static QString ExecLine(const QString& program);

private:
    void RemoveUserCopies();
    void WriteTemplate(int nNewPak, bool bTemplateIsOurs);

    RegistrationPaths m_paths;
    ToolRunner m_runTool;
};

}  // namespace vantor
