#include "platform/SystemInfo.h"

#include <windows.h>

namespace quorvel::platform {

namespace {

// A text value of HKEY_LOCAL_MACHINE, read only. A missing key or value is an empty text; any other failure gives
// an empty text and the system's message in `error`.
QString machineText(const wchar_t* key, const wchar_t* name, QString& error)
{
    wchar_t buffer[512] = {};
    DWORD bytes = sizeof buffer - sizeof(wchar_t); // room for a terminating zero the value may lack
    const LSTATUS status = RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, buffer, &bytes);
    if (status == ERROR_FILE_NOT_FOUND)
        return {};
    if (status != ERROR_SUCCESS) {
        wchar_t* message = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, DWORD(status), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
        error = message ? QString::fromWCharArray(message).trimmed() : QStringLiteral("error %1").arg(status);
        LocalFree(message);
        return {};
    }
    return QString::fromWCharArray(buffer);
}

} // namespace

QString windowsProductName(QString* error)
{
    // Windows NT keeps the name under "Windows NT"; the other key is where the old releases kept it.
    QString failure;
    QString name = machineText(L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"ProductName", failure);
    if (name.isEmpty() && failure.isEmpty())
        name = machineText(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", L"ProductName", failure);
    if (error)
        *error = failure;
    return failure.isEmpty() ? name : QString();
}

} // namespace quorvel::platform
