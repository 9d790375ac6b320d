// A stand-in for any product of the suite in the Windows demo. Its version resource, stamped by make_demo.py, says
// which product (FileDescription) and which version (FileVersion) it is, so the launcher reads a real version from
// it. It shows a window titled with both and records each start in "<file>.starts" beside it: one line with the
// arguments, separated by tabs.
#include "DemoWin32.h"

#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>

#include <shellapi.h>

using namespace quorvel::demo;

namespace {

std::wstring versionText(const std::wstring& path, const wchar_t* key)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return {};
    const std::wstring query = std::wstring(L"\\StringFileInfo\\041604B0\\") + key;
    wchar_t* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
        return {};
    return std::wstring(text, wcsnlen(text, length));
}

std::vector<std::wstring> arguments()
{
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> result;
    for (int i = 1; list && i < count; ++i)
        result.emplace_back(list[i]);
    LocalFree(list);
    return result;
}

void recordStart(const std::wstring& program, const std::vector<std::wstring>& args)
{
    std::wstring line;
    for (std::size_t i = 0; i < args.size(); ++i)
        line += (i == 0 ? L"" : L"\t") + args[i];
    appendToFile(program + L".starts", utf8(line + L"\n"));
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const std::wstring program = ownPath();
    const std::vector<std::wstring> args = arguments();
    recordStart(program, args);
    const std::wstring title = versionText(program, L"FileDescription") + L" " + versionText(program, L"FileVersion");

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"QuorvelDemoProduct";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(windowClass.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 480, 160, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    std::wstring text = title + L"\r\nProduto de demonstração.\r\n";
    if (args.empty()) {
        text += L"Sem argumentos.";
    } else {
        text += L"Argumentos:";
        for (const std::wstring& arg : args)
            text += L" " + arg;
    }
    CreateWindowW(L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, 12, 12, 440, 90, window, nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
