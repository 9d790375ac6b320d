#pragma once

#include "common/ActivityLog.h"
#include "common/QtCompat.h"
#include "launcher/Tfrmprinc.h"
#include "support/FakePlatform.h"

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
        fake.processes.self = 100;
        fake.processes.running = {{100, "quorvel"}, {200, "quorvel"}, {201, "quorvelc"}, {300, "quorface.exe"}};
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
