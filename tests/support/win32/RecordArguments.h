#pragma once

// For the small Windows programs of the tests: writes the arguments the program received, split as
// CommandLineToArgvW splits its command line, one per line in UTF-8, to the file named by an environment variable.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

#include <shellapi.h>

namespace quorvel::test_programs {

inline std::string utf8(const wchar_t* text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), bytes, nullptr, nullptr);
    return result;
}

inline void recordArguments(const wchar_t* variable)
{
    const wchar_t* path = _wgetenv(variable);
    if (!path)
        return;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (FILE* file = _wfopen(path, L"wb")) {
        for (int i = 1; i < count; ++i)
            std::fprintf(file, "%s\n", utf8(arguments[i]).c_str());
        std::fclose(file);
    }
    LocalFree(arguments);
}

// Stays for the milliseconds an environment variable names, so a process snapshot can see the program.
inline void stayAsAsked(const wchar_t* variable)
{
    if (const wchar_t* stay = _wgetenv(variable))
        Sleep(DWORD(std::wcstoul(stay, nullptr, 10)));
}

} // namespace quorvel::test_programs
