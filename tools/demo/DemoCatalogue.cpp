#include "DemoCatalogue.h"

#include "launch/Catalogue.h"

#include <QJsonObject>

namespace quorvel::demo {

QJsonArray catalogueAsJson()
{
    QJsonArray rows;
    for (const CatalogueRow& row : catalogue::rows()) {
        rows.append(QJsonObject{
            {QStringLiteral("key"), QString(row.key)},
            {QStringLiteral("displayWord"), QString(row.displayWord)},
            {QStringLiteral("caption"), QString(row.caption)},
            {QStringLiteral("archive"), QString(row.archive)},
            {QStringLiteral("file"), QString(row.file)},
            {QStringLiteral("installFolder"), QString(row.installFolder)},
            {QStringLiteral("versionField"), int(row.versionSlot)},
            {QStringLiteral("argumentWord"), QString(row.argumentWord)},
        });
    }
    return rows;
}

} // namespace quorvel::demo
