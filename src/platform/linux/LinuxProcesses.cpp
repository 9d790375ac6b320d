#include "platform/linux/LinuxProcesses.h"

#include "platform/linux/ProcessName.h"

#include <QDir>
#include <QFile>
#include <climits>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace quorvel::platform {

namespace {

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // /proc files report size 0; read until the end. A command line is bounded by the kernel (ARG_MAX).
    return file.readAll();
}

// The raw link text (Qt's own resolution would touch the " (deleted)" marker); empty when unreadable.
QString readLink(const QString& path)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    if (length <= 0)
        return {};
    return QFile::decodeName(QByteArray(buffer, static_cast<qsizetype>(length)));
}

QStringList splitCmdline(const QByteArray& raw)
{
    QStringList entries;
    for (const QByteArray& part : raw.split('\0')) {
        if (!part.isEmpty())
            entries.append(QString::fromLocal8Bit(part));
    }
    return entries;
}

} // namespace

std::vector<ProcessEntry> LinuxProcesses::snapshot() const
{
    std::vector<ProcessEntry> entries;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pidText : pids) {
        bool isNumber = false;
        const uint pid = pidText.toUInt(&isNumber);
        if (!isNumber)
            continue;
        const QString base = QStringLiteral("/proc/") + pidText;
        // Kernel threads have no program file, and other users' processes refuse the link: both are passed over.
        const QString exe = readLink(base + QStringLiteral("/exe"));
        if (exe.isEmpty())
            continue;
        const QString comm = QString::fromLocal8Bit(readSmallFile(base + QStringLiteral("/comm"))).trimmed();
        if (comm.isEmpty())
            continue; // the process ended while we looked
        const QStringList cmdline = splitCmdline(readSmallFile(base + QStringLiteral("/cmdline")));
        entries.push_back({pid, linux_proc::resolveProcessName(exe, comm, cmdline)});
    }
    return entries;
}

std::uint32_t LinuxProcesses::currentProcessId() const
{
    return static_cast<std::uint32_t>(::getpid());
}

void LinuxProcesses::terminate(std::uint32_t pid)
{
    // Never signal a process group or everything (pid 0 or values that wrap to -1).
    if (pid == 0 || pid > static_cast<std::uint32_t>(INT32_MAX))
        return;
    ::kill(static_cast<pid_t>(pid), SIGKILL);
}

} // namespace quorvel::platform
