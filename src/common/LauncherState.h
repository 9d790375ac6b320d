#pragma once

#include "common/DownloadResult.h"
#include "common/LatestVersions.h"
#include "common/SharedText.h"

#include <QPointer>
#include <QString>
#include <atomic>

namespace quorvel {

class Tfrmdl;

// The values the launcher's parts share for the life of the process. Everything is used on the window's thread
// except the fields that worker threads write, which are thread-safe types.
struct LauncherState
{
    QString lang;
    QString startSoft;   // argument 1: product word to open automatically
    QString startParam2; // arguments 2 to 4, forwarded to every started product;
    QString startParam3; // argument 3 wrapped in double quotes, so never empty
    QString startParam4;
    bool debugMode = false;
    std::atomic<bool> showWhats{false}; // false lets the reveal hide the Messages tile
    QString currentSoft;                // suffix of the selected tile, empty when none
    QPointer<QObject> lastHover;
    LatestVersions latest;
    SharedText adLink;
    QString launchVersion; // latest version of the product being installed or updated
    SharedText dlOutcome;  // text of the last download outcome; only setDlResult writes it
    std::atomic<TDLResult> dlResultCode{TDLResult::drNone};
    QPointer<Tfrmdl> frmdl; // the open download dialog, null when none is open
};

} // namespace quorvel
