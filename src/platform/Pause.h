#pragma once

namespace quorvel::platform {

// A pause that keeps the calling thread's events flowing: timers fire, input and repaints are handled, and it
// returns once the time has passed however many events keep arriving. Callers must expect re-entry: any handler
// may run inside it. It ends early when the application is quitting.
void sleepapm(unsigned mseconds);

} // namespace quorvel::platform
