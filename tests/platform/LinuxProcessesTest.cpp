#include "platform/linux/LinuxProcesses.h"

#include "platform/linux/LinuxFolders.h"
#include "platform/linux/ProcessName.h"
#include "support/QtPrinters.h"
#include "support/TempEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

using namespace quorvel::platform;

TEST(ProcessName, ResolvesTheProgramFileName)
{
    const struct
    {
        const char* exe;
        const char* comm;
        QStringList cmdline;
        const char* expected;
    } cases[] = {
        {"/opt/Quorvel Face/quorface.exe", "quorface.exe", {"/opt/Quorvel Face/quorface.exe"}, "quorface.exe"},
        // comm keeps 15 characters only.
        {"/x/quorvel-long-program-name",
         "quorvel-long-pr",
         {"/x/quorvel-long-program-name"},
         "quorvel-long-program-name"},
        // The program file was replaced while running.
        {"/x/quorvel (deleted)", "quorvel", {"/x/quorvel"}, "quorvel"},
        // A script started through its #! line: exe is the interpreter, the name comes from the command line.
        {"/usr/bin/dash", "quorfacec.exe", {"/bin/sh", "/tmp/a b/quorfacec.exe", "arg"}, "quorfacec.exe"},
        {"/usr/bin/bash", "quorvel-script-", {"bash", "/t/quorvel-script-long.sh"}, "quorvel-script-long.sh"},
        // Nothing fits: comm it is.
        {"/usr/bin/python3.11", "worker", {"python3", "-c", "pass"}, "worker"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(linux_proc::resolveProcessName(QString::fromUtf8(c.exe), QString::fromUtf8(c.comm), c.cmdline),
                  QString::fromUtf8(c.expected))
            << c.exe;
    }
}

namespace {

// A child process started under a chosen program file name, killed when the test ends.
class NamedChild
{
public:
    NamedChild(const QString& program)
    {
        m_process.setProgram(program);
        m_process.setArguments({QStringLiteral("30")});
        m_process.start();
        m_process.waitForStarted();
    }
    ~NamedChild()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    std::uint32_t pid() const { return static_cast<std::uint32_t>(m_process.processId()); }
    bool running() const { return m_process.state() == QProcess::Running; }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

bool snapshotHas(const LinuxProcesses& processes, std::uint32_t pid, const QString& name)
{
    for (const ProcessEntry& entry : processes.snapshot()) {
        if (entry.pid == pid)
            return entry.exeName == name;
    }
    return false;
}

} // namespace

TEST(LinuxProcesses, SnapshotNamesRealProgramsAndScriptsAndTerminatesThem)
{
    QTemporaryDir dir;
    // A copy of a real program under a product's file name.
    const QString program = dir.filePath(QStringLiteral("quorface.exe"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    // A script runs its interpreter; its own name is found in the command line.
    const QString waitingScript = dir.filePath(QStringLiteral("quorvel-long-script.sh"));
    {
        QFile file(waitingScript);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nsleep \"$1\"\nexit 0\n");
    }
    QFile::setPermissions(waitingScript, QFile::permissions(waitingScript) | QFileDevice::ExeOwner);

    NamedChild face(program);
    NamedChild scripted(waitingScript);
    ASSERT_TRUE(face.running());
    ASSERT_TRUE(scripted.running());

    LinuxProcesses processes;
    EXPECT_TRUE(snapshotHas(processes, face.pid(), QStringLiteral("quorface.exe")));
    EXPECT_TRUE(snapshotHas(processes, scripted.pid(), QStringLiteral("quorvel-long-script.sh")));
    EXPECT_TRUE(snapshotHas(processes, processes.currentProcessId(),
                            QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).fileName()));

    processes.terminate(face.pid());
    EXPECT_TRUE(face.process().waitForFinished(5000));
    EXPECT_EQ(face.process().exitStatus(), QProcess::CrashExit); // SIGKILL

    // Values that would address process groups or everything are refused.
    processes.terminate(0);
    processes.terminate(0xFFFFFFFFu);
    EXPECT_TRUE(scripted.running());
}

TEST(LinuxFolders, FollowTheEnvironment)
{
    LinuxFolders folders;
    {
        TempEnv data("XDG_DATA_HOME", "/tmp/data-home");
        TempEnv programs("QUORVEL_PROGRAM_FILES", "/tmp/programs/");
        EXPECT_EQ(folders.roamingAppData(), QStringLiteral("/tmp/data-home"));
        EXPECT_EQ(folders.programFiles(), QStringLiteral("/tmp/programs"));
    }
    {
        TempEnv data("XDG_DATA_HOME", "");
        TempEnv programs("QUORVEL_PROGRAM_FILES", "");
        EXPECT_EQ(folders.roamingAppData(), QDir::homePath() + QStringLiteral("/.local/share"));
        EXPECT_EQ(folders.programFiles(), QStringLiteral("/opt"));
    }
    EXPECT_TRUE(QFileInfo(folders.ownExecutablePath()).isExecutable());
}
