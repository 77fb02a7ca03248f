// CFakeShell: shell services with fixed answers, for GUI tests that must not
// depend on the desktop the tests run on.
#pragma once

#include "shell_services.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <vector>

namespace vantor::test {

class CFakeShell : public IShellServices {
public:
    // Type names by lower-case extension ("txt"); other names are "Unknown".
    QHash<QString, QString> m_typeNames;
    // Default applications by MIME type.
    QHash<QString, QString> m_defaultApplications;
    QString m_strTempPath;
    QString m_strPrivateTempPath;

    QString GetTypeName(const QString& fileName) override;
    QIcon GetFileIcon(const QString& fileName) override;
    QIcon GetFolderIcon(FolderIcon which) override;
    QString GetMimeType(const QString& fileName) override;
    QString GetDefaultApplication(const QString& mimeType) override;
    QString GetTempPath() override { return m_strTempPath; }
    QString GetPrivateTempPath() override { return m_strPrivateTempPath; }

    // A drag as the desktop saw it.
    struct Drag {
        QStringList formats;
        QList<QUrl> urls;
        Qt::DropActions actions;
    };
    std::vector<Drag> m_drags;
    // What the receiver does with every drag.
    Qt::DropAction m_dragResult = Qt::IgnoreAction;
    // Runs while the data is still alive, as a receiver would read it.
    std::function<void(const QMimeData&)> m_onDrag;
    // Records the drag and deletes the data, as a finished drag does.
    Qt::DropAction StartDrag(QWidget* pSource, QMimeData* pData, Qt::DropActions actions) override;
};

}  // namespace vantor::test
