#pragma once

#include <QString>
#include <functional>

namespace quorvel {

namespace platform {
class Processes;
class Shell;
} // namespace platform

// Finding, ending and starting programs by executable file name, as the launcher does before it starts a product
// and at its own start.
class ProcessControl
{
public:
    using Pause = std::function<void(unsigned mseconds)>;

    ProcessControl(platform::Processes& processes, platform::Shell& shell, Pause pause);

    // True when another process is named procname or its companion (letter case ignored); when terminate is set
    // they are also ended. The calling process is never touched.
    bool checkProcess(const QString& procname, bool terminate);

    // Starts a file or web address through the shell with the given parameters. A file's running copies are ended
    // first (two tries, a second apart) and hideWindow is called before the start. An empty target does nothing.
    void exec(const QString& target, const QString& parameters, const std::function<void()>& hideWindow);

private:
    platform::Processes& m_processes;
    platform::Shell& m_shell;
    Pause m_pause;
};

// The parameter text handed to every started product: argument 2, the quoted argument 3 and argument 4, joined
// by blanks where present.
QString forwardedParameters(const QString& startParam2, const QString& startParam3, const QString& startParam4);

} // namespace quorvel
