#include "common/LatestVersions.h"
#include "download/LinkList.h"
#include "update/FieldSplit.h"
#include "update/VersionAnswer.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// Any answer body, as the service could send it: split it and read it both ways.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString body = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList fields = quorvel::splitFields(body);

    // No field can hold more than the body did, and unquoted splitting never invents characters.
    qsizetype total = 0;
    for (const QString& field : fields)
        total += field.size();
    if (total > body.size())
        __builtin_trap();

    quorvel::LatestVersions latest;
    std::atomic<bool> showWhats{true};
    quorvel::version_answer::storeFields(fields, latest, showWhats);
    if (const auto ad = quorvel::version_answer::advertisement(body); ad && ad->link.size() > body.size())
        __builtin_trap();
    quorvel::link_list::readLinks(fields);
    return 0;
}
