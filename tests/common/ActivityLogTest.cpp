#include "common/ActivityLog.h"

#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

using quorvel::ActivityLog;

namespace {

const QDateTime kMarch7{QDate(2026, 3, 7), QTime(9, 5, 3)};

struct LogFixture
{
    QTemporaryDir root;
    QString folder = root.path() + QStringLiteral("/Quorvel");
    int folderQueries = 0;
    ActivityLog log{[this] {
                        ++folderQueries;
                        QDir().mkpath(folder);
                        return folder;
                    },
                    [] { return kMarch7; }};

    QByteArray fileBytes() const
    {
        QFile file(folder + QStringLiteral("/log.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST(ActivityLog, LineFormat)
{
    EXPECT_EQ(ActivityLog::formatLine(kMarch7, QStringLiteral("Application start")),
              QStringLiteral("07/03/2026 09:05:03 Application start"));
    EXPECT_EQ(ActivityLog::formatLine(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), QString()),
              QStringLiteral("31/12/2026 23:59:59 "));
}

TEST(ActivityLog, SilentWithoutDebugMode)
{
    LogFixture f;
    QStringList memo;
    f.log.setMemoSink([&memo](const QString& line) { memo.append(line); });
    f.log.writeLog(QStringLiteral("Application start"));
    EXPECT_EQ(f.folderQueries, 0);
    EXPECT_FALSE(QDir(f.folder).exists());
    EXPECT_TRUE(memo.isEmpty());
}

TEST(ActivityLog, FileHoldsOnlyTheNewestLineWhileTheMemoKeepsAll)
{
    LogFixture f;
    f.log.setDebugMode(true);
    f.log.writeLog(QStringLiteral("first"));
    EXPECT_EQ(f.fileBytes(), QByteArray("07/03/2026 09:05:03 first\r\n"));

    QStringList memo;
    f.log.setMemoSink([&memo](const QString& line) { memo.append(line); });
    f.log.writeLog(QStringLiteral("second"));
    f.log.writeLog(QStringLiteral("third"));
    EXPECT_EQ(f.fileBytes(), QByteArray("07/03/2026 09:05:03 third\r\n"));
    EXPECT_EQ(memo,
              QStringList({QStringLiteral("07/03/2026 09:05:03 second"), QStringLiteral("07/03/2026 09:05:03 third")}));

    f.log.setMemoSink(nullptr); // the dialog closed
    f.log.writeLog(QStringLiteral("fourth"));
    EXPECT_EQ(memo.size(), 2);
}

TEST(ActivityLog, UnwritableLogFileIsIgnored)
{
    // A folder in the file's place cannot be written by anyone, root included.
    LogFixture f;
    f.log.setDebugMode(true);
    QDir().mkpath(f.folder + QStringLiteral("/log.txt"));
    f.log.writeLog(QStringLiteral("lost"));
    EXPECT_TRUE(QFileInfo(f.folder + QStringLiteral("/log.txt")).isDir());
    EXPECT_TRUE(QDir(f.folder).entryList(QDir::Files).isEmpty()); // no stray temporary file left
}

TEST(ActivityLog, MissingFolderIsIgnored)
{
    QTemporaryDir root;
    ActivityLog log([&root] { return root.path() + QStringLiteral("/no/such/folder"); });
    log.setDebugMode(true);
    log.writeLog(QStringLiteral("nowhere")); // must simply return
    EXPECT_FALSE(QFile::exists(root.path() + QStringLiteral("/no/such/folder/log.txt")));
}

TEST(ActivityLog, ConcurrentWritersLeaveOneWholeLine)
{
    LogFixture f;
    f.log.setDebugMode(true);
    std::mutex memoMutex;
    QStringList memo;
    f.log.setMemoSink([&](const QString& line) {
        std::lock_guard lock(memoMutex);
        memo.append(line);
    });

    constexpr int kThreads = 4;
    constexpr int kLines = 50;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&f, t] {
            for (int i = 0; i < kLines; ++i)
                f.log.writeLog(QStringLiteral("writer %1 line %2 %3").arg(t).arg(i).arg(QString(200, u'x')));
        });
    }
    for (std::thread& writer : writers)
        writer.join();

    const QByteArray bytes = f.fileBytes();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 1);
    EXPECT_TRUE(bytes.startsWith("07/03/2026 09:05:03 writer "));
    EXPECT_EQ(memo.size(), kThreads * kLines);
}

TEST(ActivityLog, GlobalWriteLogIsANoOpUntilInstalled)
{
    LogFixture f;
    f.log.setDebugMode(true);
    quorvel::writeLog(QStringLiteral("before"));
    EXPECT_EQ(f.fileBytes(), QByteArray());
    quorvel::installActivityLog(&f.log);
    quorvel::writeLog(QStringLiteral("after"));
    quorvel::installActivityLog(nullptr);
    EXPECT_EQ(f.fileBytes(), QByteArray("07/03/2026 09:05:03 after\r\n"));
}
