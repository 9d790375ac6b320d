#include "platform/FileVersionResource.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include <windows.h>

namespace quorvel::platform {

std::optional<QString> systemFileVersion(const QString& path)
{
    const auto* file = reinterpret_cast<const wchar_t*>(path.utf16());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0)
        return QString();
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(file, 0, size, block.data()))
        return QString();

    // Only the first translation is asked for its FileVersion: language in the low, code page in the high half.
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < sizeof(DWORD))
        return QString();
    DWORD translation = 0;
    std::memcpy(&translation, value, sizeof translation);
    const auto hex4 = [](DWORD part) { return QString::number(part, 16).toUpper().rightJustified(4, u'0'); };
    const QString key = QStringLiteral("\\StringFileInfo\\") + hex4(translation & 0xffff) + hex4(translation >> 16) +
                        QStringLiteral("\\FileVersion");
    if (!VerQueryValueW(block.data(), reinterpret_cast<const wchar_t*>(key.utf16()), &value, &length) || length == 0)
        return QString();
    // The length counts characters, the terminating zero perhaps among them; the text ends at the first zero.
    const auto* text = static_cast<const wchar_t*>(value);
    return QString::fromWCharArray(text, int(wcsnlen(text, length)));
}

} // namespace quorvel::platform
