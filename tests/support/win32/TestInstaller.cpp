// Stands in for a product's installer ("instalar.exe") in the real-window test under Wine: records its arguments
// to QUORVEL_INSTALLER_RECORD, puts the program QUORVEL_TEST_PRODUCT names where the vendor's installers put Face
// ("<Program Files as a 32-bit program sees it>\Quorvel Face\quorface.exe") and stays a moment, as installers
// do, so the launcher sees it running.
#include "support/win32/RecordArguments.h"

#include <shlobj.h>

int main()
{
    quorvel::test_programs::recordArguments(L"QUORVEL_INSTALLER_RECORD");
    wchar_t folder[MAX_PATH + 1] = {};
    const wchar_t* product = _wgetenv(L"QUORVEL_TEST_PRODUCT");
    if (!product || FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return 1;
    std::wstring target = std::wstring(folder) + L"\\Quorvel Face";
    CreateDirectoryW(target.c_str(), nullptr);
    target += L"\\quorface.exe";
    if (!CopyFileW(product, target.c_str(), FALSE))
        return 2;
    quorvel::test_programs::stayAsAsked(L"QUORVEL_INSTALLER_STAY_MS");
    return 0;
}
