#include "platform/linux/LinuxShell.h"

#include "support/QtPrinters.h"
#include "support/TempEnv.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using quorvel::platform::LinuxShell;

namespace {

void writeScript(const QString& path, const QByteArray& body)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
}

// Detached starts return before the program has run; wait for its record.
QByteArray waitForFile(const QString& path)
{
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray content = file.readAll();
            if (content.endsWith("END\n"))
                return content;
        }
        QThread::msleep(20);
    }
    return {};
}

} // namespace

TEST(LinuxShell, StartsProgramsWithWindowsStyleArgumentsAndHandsTheRestToXdgOpen)
{
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("record.txt"));
    // Each argument on its own line, then whether standard input is the null device.
    const QByteArray recorder = "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '" + record.toUtf8() +
                                "'\n[ \"$(readlink /proc/self/fd/0)\" = /dev/null ] && echo NULLIN >> '" +
                                record.toUtf8() + "'\necho END >> '" + record.toUtf8() + "'\n";
    const QString product = dir.filePath(QStringLiteral("quorface.exe"));
    writeScript(product, recorder);

    LinuxShell shell;
    shell.open(product, QStringLiteral("a \"b c\" d"));
    EXPECT_EQ(waitForFile(record), QByteArray("[a]\n[b c]\n[d]\nNULLIN\nEND\n"));
    QFile::remove(record);

    shell.open(product, QStringLiteral(" \"\""));
    EXPECT_EQ(waitForFile(record), QByteArray("[]\nNULLIN\nEND\n"));
    QFile::remove(record);

    // Addresses and files that are not programs go to xdg-open, found through PATH, without parameters.
    writeScript(dir.filePath(QStringLiteral("xdg-open")), recorder);
    TempEnv path("PATH", dir.path().toUtf8() + ':' + qgetenv("PATH"));
    shell.open(QStringLiteral("https://www.example.test/registrar"), QStringLiteral("x y"));
    EXPECT_EQ(waitForFile(record), QByteArray("[https://www.example.test/registrar]\nNULLIN\nEND\n"));
    QFile::remove(record);

    const QString document = dir.filePath(QStringLiteral("leia-me.txt"));
    QFile(document).open(QIODevice::WriteOnly);
    shell.open(document, QStringLiteral("x"));
    EXPECT_EQ(waitForFile(record), QByteArray("[" + document.toUtf8() + "]\nNULLIN\nEND\n"));
}
