#include "platform/win32/Win32Folders.h"

#include <vector>

#include <windows.h>

#include <shlobj.h>

namespace quorvel::platform {

namespace {

QString specialFolder(int csidl)
{
    wchar_t path[MAX_PATH + 1] = {}; // 261 characters, as the shell writes at most MAX_PATH and a zero
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return QString::fromWCharArray(path);
}

} // namespace

QString Win32Folders::roamingAppData() const
{
    return specialFolder(CSIDL_APPDATA);
}

QString Win32Folders::programFiles() const
{
    // Program Files as a 32-bit program sees it: the products' installers are such programs and put the products
    // there ("C:\Program Files (x86)" on 64-bit Windows, "C:\Program Files" on 32-bit Windows).
    QString folder = specialFolder(CSIDL_PROGRAM_FILESX86);
    while (folder.endsWith(u'\\'))
        folder.chop(1);
    return folder;
}

QString Win32Folders::ownExecutablePath() const
{
    // Long paths need more than MAX_PATH: grow until the name fits.
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return QString::fromWCharArray(buffer.data(), int(length));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace quorvel::platform
