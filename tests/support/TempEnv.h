#pragma once

#include <QByteArray>

// Sets an environment variable for the lifetime of the object and restores the earlier value afterwards.
class TempEnv
{
public:
    TempEnv(const char* name, const QByteArray& value)
        : m_name(name), m_hadValue(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~TempEnv()
    {
        if (m_hadValue)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    TempEnv(const TempEnv&) = delete;
    TempEnv& operator=(const TempEnv&) = delete;

private:
    const char* m_name;
    bool m_hadValue;
    QByteArray m_old;
};
