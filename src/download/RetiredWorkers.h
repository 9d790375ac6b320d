#pragma once

#include <memory>

namespace quorvel {

class TDLThread;

// Download workers that their dialog no longer listens to. A dialog cancels a worker and hands it over here
// instead of waiting for its transfer to unwind, so the window never blocks on the network. A worker is deleted
// once it has finished; at the application's end the ones still running are cancelled and given a moment.
namespace retired_workers {

// Takes a worker whose channel is detached and whose transfer was cancelled.
void adopt(std::unique_ptr<TDLThread> worker);

// How many handed-over workers have not finished yet.
int running();

} // namespace retired_workers

} // namespace quorvel
