#pragma once

#include <QString>
#include <mutex>

namespace quorvel {

// A text written by one thread and read by another; readers always get a complete text.
class SharedText
{
public:
    QString get() const
    {
        std::lock_guard lock(m_mutex);
        return m_text;
    }

    void set(const QString& text)
    {
        std::lock_guard lock(m_mutex);
        m_text = text;
    }

private:
    mutable std::mutex m_mutex;
    QString m_text;
};

} // namespace quorvel
