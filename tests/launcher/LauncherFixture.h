#pragma once

#include "common/ActivityLog.h"
#include "common/QtCompat.h"
#include "launcher/Tfrmprinc.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

namespace quorvel::fakes {

// The main window on fake system services, with its timers stopped so tests drive the handlers themselves.
struct Launcher
{
    QTemporaryDir dataHome;
    FakePlatform fake;
    FakeInput input;
    ActivityLog log{[this] { return dataHome.path(); }};
    QStringList launched; // senders handed to the launch decision
    std::unique_ptr<Tfrmprinc> window;

    explicit Launcher(const QStringList& arguments, bool shiftHeld = false)
    {
        input.shift = shiftHeld;
        // Named as on Windows, where the companion's name is the program's with "c" before ".exe".
        fake.folders.ownExe = QDir::toNativeSeparators(QStringLiteral("/opt/Quorvel/quorvel.exe"));
        fake.processes.self = 100;
        fake.processes.running = {
            {100, "quorvel.exe"}, {200, "quorvel.exe"}, {201, "quorvelc.exe"}, {300, "quorface.exe"}};
        window = std::make_unique<Tfrmprinc>(
            Tfrmprinc::Services{fake.platform, input, log, [](const QString&) { return QString(); }}, arguments);
        window->setLaunchOverride([this](QObject* sender) { launched.append(sender->objectName()); });
        // The tests drive the handlers themselves.
        for (QTimer* timer : window->findChildren<QTimer*>())
            timer->stop();
    }

    QWidget* element(const char* name) const { return window->findChild<QWidget*>(QLatin1StringView(name)); }
    QTimer* timer(const char* name) const { return window->findChild<QTimer*>(QLatin1StringView(name)); }
};

} // namespace quorvel::fakes
