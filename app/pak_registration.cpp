#include "pak_registration.h"

#include "pak_format.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace vantor {

namespace {

// A base folder from the environment, else its place below the home
// folder; relative values are invalid by the base-directory rules.
QString XdgHome(const char* name, const QString& belowHome)
{
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + belowHome;
}

const QString kMimeType = QStringLiteral("application/x-pak");
const QString kDesktopId = QStringLiteral("vantor.desktop");

QByteArray ReadResource(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

enum class WriteResult { unchanged, written, failed };

WriteResult WriteIfChanged(const QString& path, const QByteArray& bytes)
{
    // A resource that did not load must not turn into an empty file.
    if (bytes.isEmpty())
        return WriteResult::failed;
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return WriteResult::unchanged;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return WriteResult::failed;
    // Written aside and renamed, so the desktop never reads half an entry.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return WriteResult::failed;
    return WriteResult::written;
}

// Only a file that still holds exactly what we put there is ours to
// replace; a user's own file under the same name is left alone.
bool HoldsExactly(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == bytes.size() && file.readAll() == bytes;
}

QByteArray EntryFromTemplate(const QByteArray& execLine)
{
    QByteArray entry = ReadResource(QStringLiteral(":/desktop/vantor.desktop.in"));
    return entry.isEmpty() ? entry : entry.replace("@EXEC@", execLine);
}

// A desktop entry some start of Vantor wrote, for whatever program path:
// the template with the entry's own Exec program put back in.
bool IsOurDesktopEntry(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    static const QByteArray kExec = "\nExec=";
    static const QByteArray kArgument = " %f\n";
    const qsizetype start = bytes.indexOf(kExec);
    const qsizetype end = start < 0 ? -1 : bytes.indexOf(kArgument, start);
    if (end < 0)
        return false;
    const QByteArray execLine = bytes.mid(start + kExec.size(), end - start - kExec.size());
    return bytes == EntryFromTemplate(execLine);
}

// Removes a file only while it holds what we wrote; true when it went.
bool RemoveIf(const QString& path, bool bOurs)
{
    return bOurs && QFile::remove(path);
}

}  // namespace

RegistrationPaths RegistrationPaths::FromEnvironment()
{
    RegistrationPaths paths;
    paths.strDataHome = XdgHome("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    paths.strTemplatesDir = FindTemplatesFolder(XdgHome("XDG_CONFIG_HOME", QStringLiteral("/.config")), QDir::homePath());
    paths.strProgram = QCoreApplication::applicationFilePath();
    // Relative entries are invalid by the base-directory rules.
    const QStringList dataDirs = qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
    for (const QString& dir : dataDirs) {
        if (QDir::isAbsolutePath(dir))
            paths.systemDataDirs.append(QDir::cleanPath(dir));
    }
    if (paths.systemDataDirs.isEmpty())
        paths.systemDataDirs = QStringList{QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return paths;
}

QString FindTemplatesFolder(const QString& configHome, const QString& home)
{
    QString folder = home + QStringLiteral("/Templates");
    QFile file(configHome + QStringLiteral("/user-dirs.dirs"));
    if (file.open(QIODevice::ReadOnly)) {
        // Shell-style lines: XDG_TEMPLATES_DIR="$HOME/Templates".
        for (const QByteArray& rawLine : file.readAll().split('\n')) {
            const QString line = QString::fromUtf8(rawLine).trimmed();
            if (!line.startsWith(QStringLiteral("XDG_TEMPLATES_DIR=")))
                continue;
            QString value = line.mid(line.indexOf(u'=') + 1).trimmed();
            if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
                value = value.mid(1, value.size() - 2);
            if (value.startsWith(QStringLiteral("$HOME")))
                value = home + value.mid(5);
            else if (!QDir::isAbsolutePath(value))
                continue;
            folder = value;
        }
    }
    return QDir::cleanPath(folder) == QDir::cleanPath(home) ? QString() : QDir::cleanPath(folder);
}

void RunInstalledToolDetached(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (!path.isEmpty())
        QProcess::startDetached(path, arguments);
}

CPakRegistration::CPakRegistration(RegistrationPaths paths, ToolRunner runTool)
    : m_paths(std::move(paths)), m_runTool(std::move(runTool))
{
}

QString CPakRegistration::MimePackagePath() const
{
    return m_paths.strDataHome + QStringLiteral("/mime/packages/vantor.xml");
}

QString CPakRegistration::DesktopEntryPath() const
{
    return m_paths.strDataHome + QStringLiteral("/applications/") + kDesktopId;
}

QString CPakRegistration::ProgramIconPath() const
{
    return m_paths.strDataHome + QStringLiteral("/icons/hicolor/scalable/apps/vantor.svg");
}

QString CPakRegistration::PakIconPath() const
{
    return m_paths.strDataHome + QStringLiteral("/icons/hicolor/scalable/mimetypes/vantor-pak.svg");
}

QString CPakRegistration::TemplatePath() const
{
    return m_paths.strTemplatesDir.isEmpty() ? QString() : m_paths.strTemplatesDir + QStringLiteral("/Quake Pak.pak");
}

QByteArray CPakRegistration::EmptyPakBytes()
{
    const PakHeaderBytes bytes = EncodeHeader(EmptyPakHeader());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QString CPakRegistration::ExecLine(const QString& program)
{
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument = program;
    argument.replace(u'%', QStringLiteral("%%"));
    const bool bQuote = std::any_of(argument.cbegin(), argument.cend(),
                                    [](QChar c) { return kReserved.contains(c); });
    if (bQuote) {
        QString quoted = QStringLiteral("\"");
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        argument = quoted + u'"';
    }
    // The Exec value is itself a key-file string, whose own escape is the
    // backslash: each one the quoting produced must be doubled again.
    argument.replace(u'\\', QStringLiteral("\\\\"));
    return argument;
}

QByteArray CPakRegistration::DesktopEntryBytes() const
{
    return EntryFromTemplate(ExecLine(m_paths.strProgram).toUtf8());
}

bool CPakRegistration::IsInstalledSystemWide() const
{
    const QByteArray entry = DesktopEntryBytes();
    return std::any_of(m_paths.systemDataDirs.cbegin(), m_paths.systemDataDirs.cend(), [&](const QString& dir) {
        return HoldsExactly(dir + QStringLiteral("/applications/") + kDesktopId, entry);
    });
}

void CPakRegistration::RemoveUserCopies()
{
    const bool bMime = RemoveIf(MimePackagePath(), HoldsExactly(MimePackagePath(), ReadResource(QStringLiteral(":/desktop/vantor-mime.xml"))));
    const bool bDesktop = RemoveIf(DesktopEntryPath(), IsOurDesktopEntry(DesktopEntryPath()));
    RemoveIf(ProgramIconPath(), HoldsExactly(ProgramIconPath(), ReadResource(QStringLiteral(":/icons/vantor.svg"))));
    RemoveIf(PakIconPath(), HoldsExactly(PakIconPath(), ReadResource(QStringLiteral(":/icons/vantor-pak.svg"))));
    if (bMime)
        m_runTool(QStringLiteral("update-mime-database"), {m_paths.strDataHome + QStringLiteral("/mime")});
    if (bDesktop)
        m_runTool(QStringLiteral("update-desktop-database"), {m_paths.strDataHome + QStringLiteral("/applications")});
}

void CPakRegistration::WriteTemplate(int nNewPak, bool bTemplateIsOurs)
{
    const QString templatePath = TemplatePath();
    if (nNewPak != 0 && !templatePath.isEmpty() && (bTemplateIsOurs || !QFileInfo::exists(templatePath)))
        WriteIfChanged(templatePath, EmptyPakBytes());
}

void CPakRegistration::Refresh(int nAssociate, int nNewPak)
{
    // Looked at before anything is written: only a template that was ours
    // when we came may be replaced.
    const QString templatePath = TemplatePath();
    const bool bTemplateIsOurs = !templatePath.isEmpty() && HoldsExactly(templatePath, EmptyPakBytes());

    // Turning the options off leaves an existing registration in place.
    if (nAssociate == 0)
        return;
    if (m_paths.strProgram.isEmpty())
        return;

    if (IsInstalledSystemWide()) {
        RemoveUserCopies();
        WriteTemplate(nNewPak, bTemplateIsOurs);
        return;
    }

    const WriteResult mime = WriteIfChanged(MimePackagePath(), ReadResource(QStringLiteral(":/desktop/vantor-mime.xml")));
    if (mime == WriteResult::failed)
        return;
    const WriteResult desktop = WriteIfChanged(DesktopEntryPath(), DesktopEntryBytes());
    if (desktop == WriteResult::failed)
        return;
    if (WriteIfChanged(ProgramIconPath(), ReadResource(QStringLiteral(":/icons/vantor.svg"))) == WriteResult::failed ||
        WriteIfChanged(PakIconPath(), ReadResource(QStringLiteral(":/icons/vantor-pak.svg"))) == WriteResult::failed)
        return;

    WriteTemplate(nNewPak, bTemplateIsOurs);

    if (mime == WriteResult::written)
        m_runTool(QStringLiteral("update-mime-database"), {m_paths.strDataHome + QStringLiteral("/mime")});
    if (desktop == WriteResult::written) {
        m_runTool(QStringLiteral("update-desktop-database"), {m_paths.strDataHome + QStringLiteral("/applications")});
        m_runTool(QStringLiteral("xdg-mime"), {QStringLiteral("default"), kDesktopId, kMimeType});
    }
}

}  // namespace vantor
