#include "desktop_file.h"

#include <QFile>

namespace vantor {

namespace {

QString Unescape(QStringView raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
        case 's': out += u' '; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'r': out += u'\r'; break;
        case '\\': out += u'\\'; break;
        case ';': out += u';'; break;
        default:
            out += u'\\';
            out += next;
            break;
        }
    }
    return out;
}

}  // namespace

bool CDesktopFile::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Parse(QString::fromUtf8(file.readAll()));
    return true;
}

void CDesktopFile::Parse(const QString& text)
{
    QString group;
    bool bSkipGroup = true;  // entries before the first header belong to no group
    const QStringList lines = text.split(u'\n');
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = line.mid(1, line.size() - 2);
            bSkipGroup = m_groups.contains(group);
            if (!bSkipGroup)
                m_groups.insert(group, {});
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (bSkipGroup || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        auto& entries = m_groups[group];
        if (entries.contains(key))
            continue;
        entries.insert(key, line.mid(equals + 1).trimmed());
        m_keyOrder[group].append(key);
    }
}

QStringList CDesktopFile::Keys(const QString& group) const
{
    return m_keyOrder.value(group);
}

QString CDesktopFile::RawValue(const QString& group, const QString& key) const
{
    return m_groups.value(group).value(key);
}

QString CDesktopFile::Value(const QString& group, const QString& key, const QString& strDefault) const
{
    const auto groupIt = m_groups.constFind(group);
    if (groupIt == m_groups.cend() || !groupIt->contains(key))
        return strDefault;
    return Unescape(groupIt->value(key));
}

QStringList CDesktopFile::ListValue(const QString& group, const QString& key) const
{
    // Split at the separators first, on the raw text, so that an escaped
    // backslash before a ';' cannot turn that ';' into part of an item.
    const QString raw = RawValue(group, key);
    QStringList items;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= raw.size(); ++i) {
        if (i + 1 < raw.size() && raw[i] == u'\\') {
            ++i;
            continue;
        }
        if (i == raw.size() || raw[i] == u';') {
            const QString item = Unescape(QStringView(raw).mid(start, i - start));
            if (!item.isEmpty())
                items.append(item);
            start = i + 1;
        }
    }
    return items;
}

}  // namespace vantor
