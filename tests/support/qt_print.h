// Lets GoogleTest print Qt's strings as text in failure messages instead of
// as arrays of two-byte objects.
#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* pOut)
{
    *pOut << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* pOut)
{
    *pOut << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *pOut << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
    *pOut << '}';
}
