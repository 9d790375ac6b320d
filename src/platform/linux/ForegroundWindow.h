#pragma once

#include <QString>

namespace quorvel::platform {

// The name of the X11 window that holds the input focus, or of the window manager's active window when the focus
// is nowhere in particular; the nearest named ancestor counts. Empty without an X display.
QString foregroundWindowTitle();

} // namespace quorvel::platform
