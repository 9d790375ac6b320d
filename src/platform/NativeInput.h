#pragma once

#include "platform/Input.h"

namespace quorvel::platform {

Input& nativeInput();

} // namespace quorvel::platform
