#pragma once

#include "update/LauncherVersion.h"

#include <QString>

namespace quorvel {

// Whether an installed product is current: versions are compared as texts without their points, the installed one
// cut to three characters (and, for the browser application "Nav", to its first three characters first).
bool isProductCurrent(const QString& installed, const QString& latest, const QString& displayWord);

// Whether the service's launcher version asks for a self-update: it differs from ours and is not a smaller number
// once the points are removed. An empty version never does.
bool launcherUpdateNeeded(const QString& latestLauncherVersion);

} // namespace quorvel
