#pragma once

#include <QList>
#include <QString>
#include <utility>

class QLabel;
class QWidget;

namespace quorvel {

struct MainWindowElements
{
    QList<QWidget*> components; // in the window's component order (the reveal and the name lookups walk it)

    // Held back until the window is on screen (showOnScreenParts): a caption's text and a shown element announce
    // themselves to the accessibility layer, and starting that layer (a D-Bus connection on Linux) before the
    // window maps would delay its first appearance. Nothing of either is drawn before then.
    QList<std::pair<QLabel*, QString>> captionTexts;
    QWidget* loadingPanel = nullptr;
};

// Creates every element of the main window, named, placed and tagged. Elements with a non-zero tag start hidden.
MainWindowElements buildMainWindowElements(QWidget* form);

// Gives the captions their texts and shows the loading panel, once: when the window first appears, or at the reveal
// if that comes first.
void showOnScreenParts(MainWindowElements& elements);

} // namespace quorvel
