#pragma once

#include <QString>
#include <QStringList>

namespace quorvel::platform::linux_proc {

// The executable file name of a process, judged the way Windows would report it: the program file it was started
// from. A script started through its "#!" line runs the interpreter, so its own name is found in the command line.
//   exeLink: the target of /proc/PID/exe; comm: /proc/PID/comm without its line end; cmdline: the NUL-separated
//   entries of /proc/PID/cmdline.
QString resolveProcessName(const QString& exeLink, const QString& comm, const QStringList& cmdline);

} // namespace quorvel::platform::linux_proc
