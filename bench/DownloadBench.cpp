// Downloads one address with the launcher's download worker into a file and prints the seconds it took, the
// resident memory before the transfer and the peak during it (KiB).
// Usage: bench_download URL DEST_FOLDER FILE_NAME
#include "download/DownloadChannel.h"
#include "download/TDLThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <memory>

namespace {

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
long statusKib(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The peak so far becomes the current size, so the next peak read is the transfer's own.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s URL DEST_FOLDER FILE_NAME\n", argv[0]);
        return 2;
    }
    // No dialog listens: the worker's reports go nowhere, as after a dialog has closed.
    auto channel = std::make_shared<quorvel::DownloadChannel>(nullptr);
    quorvel::TDLThread worker(channel);
    worker.remoteFile = QString::fromLocal8Bit(argv[1]);
    worker.destDir = QString::fromLocal8Bit(argv[2]) + u'/';
    worker.destFile = QString::fromLocal8Bit(argv[3]);

    resetPeak();
    const long before = statusKib("VmRSS");
    QElapsedTimer clock;
    clock.start();
    worker.start();
    worker.wait();
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("%.3f %ld %ld\n", seconds, before, statusKib("VmHWM"));
    return 0;
}
