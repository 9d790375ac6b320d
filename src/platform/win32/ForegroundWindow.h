#pragma once

#include <QString>

namespace quorvel::platform {

// The title of the window in the foreground, whichever program owns it; empty when there is none.
QString foregroundWindowTitle();

} // namespace quorvel::platform
