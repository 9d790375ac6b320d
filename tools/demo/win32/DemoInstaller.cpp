// The installer of a Windows demo product ("instalar.exe", or the browser application's program installer).
// make_demo.py appends what it installs to a copy of this program: the payload, then the text
// "FOLDER\nFILE\nSTART\nLABEL" (FOLDER under the Program Files folder as a 32-bit program sees it, START "1" to
// start the installed program), then the payload's and the text's sizes as two 32-bit numbers and the marker
// "QVDEMO1". It installs the payload as FOLDER\FILE, appends "LABEL: ARGUMENTS" to "instalar.log" in the Program
// Files folder, starts the program when asked and stays a moment, as installers do, so the launcher sees it run.
#include "DemoWin32.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include <shlobj.h>

using namespace quorvel::demo;

namespace {

constexpr char kMarker[8] = "QVDEMO1";

bool readAt(HANDLE file, std::int64_t offset, void* buffer, DWORD size)
{
    LARGE_INTEGER position;
    position.QuadPart = offset;
    DWORD read = 0;
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && ReadFile(file, buffer, size, &read, nullptr) &&
           read == size;
}

// Copies the payload in pieces to a new file beside the target and moves it into place.
bool installPayload(HANDLE self, std::int64_t offset, std::uint32_t size, const std::wstring& target)
{
    const std::wstring partial = target + L".part";
    {
        File out(
            CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out.valid())
            return false;
        std::vector<char> buffer(64 * 1024);
        for (std::uint32_t done = 0; done < size;) {
            const DWORD piece = DWORD(std::min<std::uint64_t>(buffer.size(), size - done));
            DWORD written = 0;
            if (!readAt(self, offset + done, buffer.data(), piece) ||
                !WriteFile(out.get(), buffer.data(), piece, &written, nullptr) || written != piece)
                return false;
            done += piece;
        }
    }
    return MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR parameters, int)
{
    File self(CreateFileW(ownPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER fileSize;
    if (!self.valid() || !GetFileSizeEx(self.get(), &fileSize))
        return 1;
    struct
    {
        std::uint32_t payloadSize;
        std::uint32_t textSize;
        char marker[8];
    } trailer;
    const std::int64_t trailerAt = fileSize.QuadPart - std::int64_t(sizeof trailer);
    if (trailerAt < 0 || !readAt(self.get(), trailerAt, &trailer, sizeof trailer) ||
        std::memcmp(trailer.marker, kMarker, sizeof kMarker) != 0 ||
        std::int64_t(trailer.payloadSize) + trailer.textSize > trailerAt)
        return 2; // nothing appended: not a demo installer
    const std::int64_t textAt = trailerAt - trailer.textSize;
    const std::int64_t payloadAt = textAt - trailer.payloadSize;
    std::string text(trailer.textSize, '\0');
    if (!readAt(self.get(), textAt, text.data(), trailer.textSize))
        return 3;
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (fields.size() != 4)
        return 3;

    wchar_t programFiles[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, programFiles)))
        return 4;
    const std::wstring folder = std::wstring(programFiles) + L"\\" + wide(fields[0]);
    if (SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS &&
        GetLastError() != ERROR_ALREADY_EXISTS && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return 5;
    const std::wstring target = folder + L"\\" + wide(fields[1]);
    appendToFile(std::wstring(programFiles) + L"\\instalar.log",
                 fields[3] + ": " + utf8(parameters ? parameters : L"") + "\r\n");
    if (!installPayload(self.get(), payloadAt, trailer.payloadSize, target))
        return 6;
    if (fields[2] == "1")
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
    Sleep(2000);
    return 0;
}
