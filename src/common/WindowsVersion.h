#pragma once

#include "common/QtCompat.h"

#include <QString>
#include <functional>

namespace quorvel {

// Which build of a product the machine needs: current Windows releases get the ordinary archives, older ones the
// "_w7" builds and the browser application on runtime 109.
namespace windows_version {

// The product name reader of the registry; it reports a failure through its argument.
using ProductNameReader = std::function<QString(QString* error)>;

// The override file in the data folder that stands in for the product name when present.
inline constexpr QLatin1StringView kOverrideFile("winversion.ini");

// The override file's lines, each followed by CR LF, when it exists; else the registry's product name. Failures are
// logged through `log` as "wve " + message and give the empty name.
QString winversion(const QString& dataFolder, const ProductNameReader& readProductName,
                   const std::function<void(const QString&)>& log);

// True when the name is known and carries none of the markers of current releases.
bool isOldWindowsName(const QString& name);

QString bool2str(bool value);

} // namespace windows_version

} // namespace quorvel
