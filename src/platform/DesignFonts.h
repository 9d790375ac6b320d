#pragma once

namespace quorvel::platform {

// Makes the font the windows are designed in, Tahoma, available to the application. Windows has it. Linux has it
// only as Wine's metric-compatible Tahoma (Debian's fonts-wine), which fontconfig does not list: it is registered
// from there when present, so the captions wrap as they do on Windows instead of in a wider stand-in.
// Needs the GUI application object.
void provideDesignFonts();

} // namespace quorvel::platform
