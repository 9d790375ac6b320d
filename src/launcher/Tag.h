#pragma once

#include <QObject>
#include <QVariant>

namespace quorvel {

// Window elements carry a numeric tag; the reveal shows the elements whose tag is not 0.
inline constexpr const char* kTagProperty = "tag";

inline int tagOf(const QObject* object)
{
    return object->property(kTagProperty).toInt();
}

inline void setTag(QObject* object, int tag)
{
    object->setProperty(kTagProperty, tag);
}

} // namespace quorvel
