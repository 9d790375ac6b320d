#include "platform/linux/LinuxShell.h"

#include "platform/CommandLine.h"

#include <QFileInfo>
#include <QProcess>

namespace quorvel::platform {

namespace {

// Detached: own session, no terminal input, same environment and working folder, never waited for. Qt's detached
// start forks twice, so no zombie is left for the process list to find.
void startDetached(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.startDetached();
}

} // namespace

void LinuxShell::open(const QString& target, const QString& parameters)
{
    if (target.isEmpty())
        return;
    // A web address never takes parameters, as the Windows shell ignores them for one.
    if (target.contains(QStringLiteral("://"))) {
        startDetached(QStringLiteral("xdg-open"), {target});
        return;
    }
    const QFileInfo file(target);
    if (file.isFile() && file.isExecutable()) {
        startDetached(file.absoluteFilePath(), splitWindowsArguments(parameters));
        return;
    }
    startDetached(QStringLiteral("xdg-open"), {target});
}

} // namespace quorvel::platform
