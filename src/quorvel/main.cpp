#include "common/ActivityLog.h"
#include "common/DataFolder.h"
#include "common/QtCompat.h"
#include "launcher/LightStyle.h"
#include "launcher/Tfrmprinc.h"
#include "platform/DesignFonts.h"
#include "platform/NativeInput.h"
#include "platform/Platform.h"
#include "update/FileVersion.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    quorvel::qtcompat::enableHighDpiScaling<QApplication>();
    QApplication app(argc, argv);
    quorvel::applyLightStyle(app);
    // The message boxes' caption; the windows keep their own titles.
    QApplication::setApplicationName(QStringLiteral("Quorvel Software"));
    // The launcher ends when its main window closes, not when a message box shown over a hidden window does.
    QApplication::setQuitOnLastWindowClosed(false);

    quorvel::platform::Platform& platform = quorvel::platform::nativePlatform();
    quorvel::ActivityLog log([&platform] { return quorvel::appDataFolder(platform.folders); });
    quorvel::installActivityLog(&log);

    int result = 0;
    {
        quorvel::Tfrmprinc frmprinc({platform, quorvel::platform::nativeInput(), log, &quorvel::fileVersion},
                                    app.arguments().mid(1));
        frmprinc.show();
        // No text is drawn before the reveal, so the design font is registered once the window is on screen:
        // registering it starts the font database, which would hold back the window's first appearance.
        QTimer::singleShot(0, &frmprinc, [] { quorvel::platform::provideDesignFonts(); });
        result = app.exec();
    } // the window ends its workers before the log goes away
    quorvel::installActivityLog(nullptr);
    return result;
}
