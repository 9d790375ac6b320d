#pragma once

#include <QString>

class QObject;
class QWidget;

namespace quorvel {

struct LauncherState;

namespace platform {
class Files;
class Folders;
class Input;
} // namespace platform

// The grid of product tiles under the logo: its layout on a scaled window, the Messages tile that hides when that
// product is missing, and the selection that follows the mouse and the arrow keys. Works on the main window's
// elements by name.
class TileGrid
{
public:
    struct Services
    {
        QWidget& form;
        LauncherState& state;
        const platform::Folders& folders;
        const platform::Files& files;
        platform::Input& input;
    };

    explicit TileGrid(Services services);

    // Window creation steps, in this order.
    void centerLogo();
    void centraliza();
    void adjustBarAt125();

    // How much the footer was scaled from its designed size, with the user's decimal separator ("1", "1,25").
    QString scaleFactor() const;

    // false hides the Messages tile (unless that product is installed); true shows it again.
    void dshz(bool ent);

    void resetLabels(QObject* sender);
    void focusSoft(QObject* sender, bool moveMouse);
    void setSoft(int n);

    // True while the grid itself hides, shows or moves the selection frame. The toolkit reports the pointer
    // entering whatever the frame uncovers; those are not the user's hovers and must not undo the selection.
    bool isChangingSelection() const { return m_changingSelection > 0; }

private:
    QWidget* element(const QString& name) const;

    Services m_services;
    int m_changingSelection = 0;
};

} // namespace quorvel
