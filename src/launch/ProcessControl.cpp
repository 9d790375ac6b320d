#include "launch/ProcessControl.h"

#include "common/QtCompat.h"
#include "launch/Catalogue.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/Shell.h"

namespace quorvel {

namespace {
constexpr int kTerminateTries = 2;
constexpr unsigned kTerminateSettleMs = 1000;
} // namespace

ProcessControl::ProcessControl(platform::Processes& processes, platform::Shell& shell, Pause pause)
    : m_processes(processes), m_shell(shell), m_pause(std::move(pause))
{}

bool ProcessControl::checkProcess(const QString& procname, bool terminate)
{
    if (procname.isEmpty())
        return false;
    QString unquoted = procname;
    unquoted.remove(u'"').remove(u'\'');
    const QString targetA = asciiUpper(unquoted);
    // Quotes stay here, so a quoted name finds its program but never its companion.
    const QString targetB = asciiUpper(platform::companionFileName(procname));

    const std::uint32_t self = m_processes.currentProcessId();
    bool found = false;
    for (const platform::ProcessEntry& entry : m_processes.snapshot()) {
        if (entry.pid == self)
            continue;
        const QString name = asciiUpper(platform::fileNamePart(entry.exeName));
        if (name == targetA) {
            if (terminate)
                m_processes.terminate(entry.pid);
            found = true;
        }
        if (name == targetB) {
            if (terminate)
                m_processes.terminate(entry.pid);
            found = true;
        }
    }
    return found;
}

void ProcessControl::exec(const QString& target, const QString& parameters, const std::function<void()>& hideWindow)
{
    if (target.isEmpty())
        return;
    // Anything mentioning http is taken for a web address: no running copy to end, and the window stays.
    if (!target.contains(QLatin1StringView("http"))) {
        const QString name = platform::fileNamePart(target);
        for (int attempt = 0; attempt < kTerminateTries; ++attempt) {
            if (!checkProcess(name, true))
                break;
            m_pause(kTerminateSettleMs);
        }
        if (hideWindow)
            hideWindow();
    }
    m_shell.open(target, parameters);
}

QString forwardedParameters(const QString& startParam2, const QString& startParam3, const QString& startParam4)
{
    QString parameters;
    if (!startParam2.isEmpty())
        parameters = startParam2;
    if (!startParam3.isEmpty())
        parameters += u' ' + startParam3;
    if (!startParam4.isEmpty())
        parameters += u' ' + startParam4;
    return parameters;
}

} // namespace quorvel
