// A small Windows program for the tests of the Win32 layer: writes the arguments it received, split as
// CommandLineToArgvW splits its command line, one per line in UTF-8, to the file named by QUORVEL_RECORD_FILE;
// then stays for QUORVEL_RECORD_STAY_MS milliseconds so a process snapshot can see it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

#include <shellapi.h>

namespace {

std::string utf8(const wchar_t* text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), bytes, nullptr, nullptr);
    return result;
}

} // namespace

int main()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (const wchar_t* path = _wgetenv(L"QUORVEL_RECORD_FILE")) {
        if (FILE* file = _wfopen(path, L"wb")) {
            for (int i = 1; i < count; ++i)
                std::fprintf(file, "%s\n", utf8(arguments[i]).c_str());
            std::fclose(file);
        }
    }
    LocalFree(arguments);
    if (const wchar_t* stay = _wgetenv(L"QUORVEL_RECORD_STAY_MS"))
        Sleep(DWORD(std::wcstoul(stay, nullptr, 10)));
    return 0;
}
