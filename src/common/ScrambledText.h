#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <string_view>

// Texts that must not stand in the program file as plain text are scrambled at compile time; only the scrambled
// code units reach the binary, and dcp() restores them where they are used.
namespace quorvel::scrambling {

inline constexpr std::u16string_view kFirstMarker = u"&q!w#+%r@m";
inline constexpr std::u16string_view kSecondMarker = u"t418pw;j";

constexpr char16_t shift(char16_t unit, std::size_t position)
{
    return static_cast<char16_t>((unit + position + 3) % 65536);
}

constexpr char16_t unshift(char16_t unit, std::size_t position)
{
    return static_cast<char16_t>((unit + 65536 - (position + 3) % 65536) % 65536);
}

// A scrambled text with a copy of each marker mixed in, as the stored texts carry them.
template <std::size_t N>
struct ScrambledText
{
    static constexpr std::size_t kSize = N + kFirstMarker.size() + kSecondMarker.size();
    std::array<char16_t, kSize> units{};

    // Not fromUtf16: that would take a leading U+FEFF or U+FFFE for a byte-order mark and drop it.
    QString text() const
    {
        return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(kSize));
    }
};

// Usage: static constexpr auto kText = scrambling::scramble(u"plain"); ... dcp(kText.text())
template <std::size_t M>
consteval ScrambledText<M - 1> scramble(const char16_t (&plain)[M])
{
    constexpr std::size_t n = M - 1;
    ScrambledText<n> result;
    std::size_t out = 0;
    for (char16_t c : kFirstMarker)
        result.units[out++] = c;
    for (std::size_t i = 0; i < n; ++i) {
        if (i == n / 2) {
            for (char16_t c : kSecondMarker)
                result.units[out++] = c;
        }
        result.units[out++] = shift(plain[i], i);
    }
    if (n == 0) {
        for (char16_t c : kSecondMarker)
            result.units[out++] = c;
    }
    return result;
}

} // namespace quorvel::scrambling
