// A reader for the freedesktop key-file format of .desktop entries and
// mimeapps.list: groups, keys, escapes and lists as the desktop-entry
// format defines them (QSettings reads these files differently).
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace vantor {

class CDesktopFile {
public:
    // False when the file cannot be read; a file with lines that are not
    // entries is still read, those lines are skipped.
    bool Load(const QString& path);
    void Parse(const QString& text);

    bool HasGroup(const QString& group) const { return m_groups.contains(group); }
    QStringList Keys(const QString& group) const;

    // The value with its escapes (\s \n \t \r \\) decoded; strDefault when
    // the key is absent. Localised keys ("Name[de]") are separate keys.
    QString Value(const QString& group, const QString& key, const QString& strDefault = QString()) const;

    // A ';'-separated list with "\;" standing for a semicolon inside an item;
    // empty items are dropped.
    QStringList ListValue(const QString& group, const QString& key) const;

private:
    QString RawValue(const QString& group, const QString& key) const;

    // Group name → key → raw value. The first occurrence of a group or key
    // wins, so a later duplicate cannot override it.
    QHash<QString, QHash<QString, QString>> m_groups;
    QHash<QString, QStringList> m_keyOrder;
};

}  // namespace vantor
