#pragma once

#include <QString>

namespace quorvel {

// The outcome of a download and install, as the download dialog reports it to the launcher.
enum class TDLResult
{
    drNone = 0,
    drWorking = 1,
    drDownloaded = 2,
    drSucess = 3,
    drFail = 4,
    drUnzipFail = 5,
    drExecuted = 6,
};

// The outcome text the launcher reads back ("working", "downloaded", "sucess", "fail", "unzipfail", "executed");
// empty for drNone, which leaves the earlier text in place.
QString outcomeText(TDLResult result);

} // namespace quorvel
