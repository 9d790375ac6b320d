#pragma once

#include <QJsonArray>

namespace quorvel::demo {

// The launcher's product table as JSON, so the demo content follows the launcher.
QJsonArray catalogueAsJson();

} // namespace quorvel::demo
