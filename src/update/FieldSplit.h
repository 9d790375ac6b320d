#pragma once

#include <QStringList>
#include <QStringView>

namespace quorvel {

// Cuts a web-service answer into its fields: ";" or any run of blanks and control characters separates fields,
// a field opened by a double quote runs to its closing quote ("" inside stands for one), two ";" in a row give an
// empty field and a ";" at the very end adds a final empty one. The version answer and the link list share it.
QStringList splitFields(QStringView text);

} // namespace quorvel
