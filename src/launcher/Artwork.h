#pragma once

namespace quorvel {

// Makes the compiled-in artwork available; call before loading a picture. The resource lives in a static library,
// where nothing else refers to it. Safe to call any number of times.
void registerArtwork();

} // namespace quorvel
