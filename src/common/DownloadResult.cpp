#include "common/DownloadResult.h"

namespace quorvel {

QString outcomeText(TDLResult result)
{
    switch (result) {
    case TDLResult::drWorking:
        return QStringLiteral("working");
    case TDLResult::drDownloaded:
        return QStringLiteral("downloaded");
    case TDLResult::drSucess:
        return QStringLiteral("sucess"); // sic: the products' tools compare this exact text
    case TDLResult::drFail:
        return QStringLiteral("fail");
    case TDLResult::drUnzipFail:
        return QStringLiteral("unzipfail");
    case TDLResult::drExecuted:
        return QStringLiteral("executed");
    case TDLResult::drNone:
        break;
    }
    return {};
}

} // namespace quorvel
