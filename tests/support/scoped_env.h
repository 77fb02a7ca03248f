// Sets an environment variable for the life of one object and puts back
// what was there before.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace vantor::test {

class ScopedEnv {
public:
    ScopedEnv(const char* pszName, const QByteArray& value)
        : m_pszName(pszName), m_old(qgetenv(pszName)), m_bWasSet(qEnvironmentVariableIsSet(pszName))
    {
        qputenv(pszName, value);
    }
    ~ScopedEnv()
    {
        if (m_bWasSet)
            qputenv(m_pszName, m_old);
        else
            qunsetenv(m_pszName);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_pszName;
    QByteArray m_old;
    bool m_bWasSet;
};

}  // namespace vantor::test
