#pragma once

#include <QString>

namespace quorvel {

// Turns a text kept scrambled in the program back into plain text: both marker texts are removed, then each
// 16-bit code unit is shifted back by its position + 3.
QString dcp(const QString& ent);

} // namespace quorvel
