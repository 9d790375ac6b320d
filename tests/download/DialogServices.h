#pragma once

#include "common/ActivityLog.h"
#include "common/LauncherState.h"
#include "download/Tfrmdl.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QTemporaryDir>

namespace quorvel::fakes {

// What a download dialog needs from the launcher, with the per-user folder in a fresh temporary folder.
struct DialogServices
{
    QTemporaryDir dir;
    LauncherState state;
    FakePlatform fake;
    FakeFolders& folders = fake.folders;
    platform::Platform& platform = fake.platform;
    FakeInput input;
    ActivityLog log{[this] { return dir.path(); }};

    // In the system's own form, as the platform gives it.
    DialogServices() { folders.roaming = QDir::toNativeSeparators(dir.path()); }

    Tfrmdl::Services services() { return {state, platform, input, log}; }
};

} // namespace quorvel::fakes
