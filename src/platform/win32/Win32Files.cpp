#include "platform/win32/Win32Files.h"

#include <windows.h>

namespace quorvel::platform {

namespace {

// The attributes without opening the file; false when they cannot be read.
bool attributes(const QString& path, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return !path.isEmpty() &&
           GetFileAttributesExW(reinterpret_cast<const wchar_t*>(path.utf16()), GetFileExInfoStandard, &data);
}

} // namespace

bool Win32Files::exists(const QString& path) const
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return attributes(path, data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::int64_t Win32Files::size(const QString& path) const
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!attributes(path, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return (std::int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Win32Files::remove(const QString& path)
{
    if (!path.isEmpty())
        DeleteFileW(reinterpret_cast<const wchar_t*>(path.utf16()));
}

} // namespace quorvel::platform
