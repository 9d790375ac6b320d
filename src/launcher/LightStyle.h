#pragma once

class QApplication;

namespace quorvel {

// A plain light look on every system, whatever theme the desktop uses: Fusion with a light palette. The program
// and the window tests share it, so the tests see the windows as users do.
void applyLightStyle(QApplication& app);

} // namespace quorvel
