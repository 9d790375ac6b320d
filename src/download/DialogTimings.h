#pragma once

namespace quorvel {

// The download dialog's waits as shipped; tests shorten them.
struct DialogTimings
{
    int monitorTickMs = 1000;
    int timeoutMs = 1800000;
    unsigned installPollMs = 1000;
    // A worker that has received nothing for this long (the HTTP client's stall time) is given up at a stall
    // restart; one still receiving goes on.
    int workerSilenceMs = 60000;
};

} // namespace quorvel
