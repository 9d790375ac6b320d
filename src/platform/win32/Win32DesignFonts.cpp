#include "platform/DesignFonts.h"

namespace quorvel::platform {

// Tahoma is a Windows system font.
void provideDesignFonts() {}

} // namespace quorvel::platform
