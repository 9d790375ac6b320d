#include "platform/win32/Win32Processes.h"

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <tlhelp32.h>

namespace quorvel::platform {

std::vector<ProcessEntry> Win32Processes::snapshot() const
{
    std::vector<ProcessEntry> entries;
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return entries;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        entries.push_back({entry.th32ProcessID, QString::fromWCharArray(entry.szExeFile)});
    return entries;
}

std::uint32_t Win32Processes::currentProcessId() const
{
    return GetCurrentProcessId();
}

void Win32Processes::terminate(std::uint32_t pid)
{
    if (const UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid)); process)
        TerminateProcess(process.get(), 0);
}

} // namespace quorvel::platform
