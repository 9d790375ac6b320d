#pragma once

#include "common/QtCompat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable failure messages for Qt texts in GoogleTest assertions.
inline std::ostream& operator<<(std::ostream& os, const QString& text)
{
    return os << '"' << text.toStdString() << '"';
}

inline std::ostream& operator<<(std::ostream& os, QLatin1StringView text)
{
    return os << '"' << std::string_view(text.data(), static_cast<std::size_t>(text.size())) << '"';
}

inline std::ostream& operator<<(std::ostream& os, const QStringList& list)
{
    os << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        os << (i ? ", " : "") << list.at(i);
    return os << '}';
}

inline std::ostream& operator<<(std::ostream& os, const QByteArray& bytes)
{
    return os << '"' << bytes.toStdString() << '"';
}
