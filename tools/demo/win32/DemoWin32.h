#pragma once

// What the Windows demo programs share: one owner for a file handle, the program's own path, UTF-8 and UTF-16
// texts, and appending a line to a record file.
#include <string>
#include <string_view>

#include <windows.h>

namespace quorvel::demo {

// Closes the handle it owns.
class File
{
public:
    explicit File(HANDLE handle) : m_handle(handle) {}
    ~File()
    {
        if (valid())
            CloseHandle(m_handle);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

inline std::wstring ownPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

inline std::string utf8(std::wstring_view text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), result.data(), bytes, nullptr, nullptr);
    return result;
}

inline std::wstring wide(std::string_view text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring result(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), result.data(), length);
    return result;
}

// Appends the bytes to the file, made when missing; a demo program that cannot record still runs.
inline void appendToFile(const std::wstring& path, const std::string& bytes)
{
    File file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
    DWORD written = 0;
    if (file.valid())
        WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

} // namespace quorvel::demo
