#pragma once

#include <QList>

class QWidget;

namespace quorvel {

// Creates every element of the main window, named, placed and tagged, in the window's component order (the reveal
// and the name lookups walk that order). Elements with a non-zero tag start hidden.
QList<QWidget*> buildMainWindowElements(QWidget* form);

} // namespace quorvel
