#pragma once

// The one place where Qt 6 (the Linux build) and Qt 5.15 (the Windows build, the last Qt that starts on Windows 7
// and 8.1) differ for this code. Everything else is written once against the names used here; each item says what
// Qt 5 lacks. Behaviour is the same on both: the text-encoding tests run against both builds.

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QtGlobal>
#include <cstring>
#include <optional>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QStringDecoder>
#include <QStringEncoder>
#else
#include <QLatin1String>
#include <QTextCodec>
#endif

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)

// Qt 5 calls the Latin-1 view QLatin1String (Qt 6 keeps that name as well).
using QLatin1StringView = QLatin1String;

// Qt 5 has no byte view. This one has what the code uses: a pointer and a length, no ownership.
class QByteArrayView
{
public:
    constexpr QByteArrayView() = default;
    constexpr QByteArrayView(const char* data, qsizetype size) : m_data(data), m_size(size) {}
    QByteArrayView(const char* text) : m_data(text), m_size(text ? qsizetype(std::strlen(text)) : 0) {}
    QByteArrayView(const QByteArray& bytes) : m_data(bytes.constData()), m_size(bytes.size()) {}

    constexpr const char* data() const { return m_data; }
    constexpr const char* constData() const { return m_data; }
    constexpr qsizetype size() const { return m_size; }
    constexpr bool isEmpty() const { return m_size == 0; }
    constexpr char at(qsizetype i) const { return m_data[i]; }
    constexpr char operator[](qsizetype i) const { return m_data[i]; }

    constexpr QByteArrayView sliced(qsizetype pos) const { return {m_data + pos, m_size - pos}; }
    constexpr QByteArrayView sliced(qsizetype pos, qsizetype n) const { return {m_data + pos, n}; }
    constexpr void truncate(qsizetype n) { m_size = n; }
    qsizetype indexOf(char c) const
    {
        const void* at = m_size ? std::memchr(m_data, c, size_t(m_size)) : nullptr;
        return at ? static_cast<const char*>(at) - m_data : -1;
    }
    qsizetype lastIndexOf(char c) const
    {
        for (qsizetype i = m_size - 1; i >= 0; --i) {
            if (m_data[i] == c)
                return i;
        }
        return -1;
    }
    bool startsWith(QByteArrayView other) const
    {
        return other.m_size <= m_size && std::memcmp(m_data, other.m_data, size_t(other.m_size)) == 0;
    }
    QByteArray toByteArray() const { return QByteArray(m_data, int(m_size)); }

    friend bool operator==(QByteArrayView a, QByteArrayView b)
    {
        return a.m_size == b.m_size && (a.m_size == 0 || std::memcmp(a.m_data, b.m_data, size_t(a.m_size)) == 0);
    }
    friend bool operator!=(QByteArrayView a, QByteArrayView b) { return !(a == b); }

private:
    const char* m_data = nullptr;
    qsizetype m_size = 0;
};

#endif

namespace quorvel::qtcompat {

// Texts in the encodings the launcher reads and writes. Qt 6 converts with QStringDecoder/QStringEncoder; Qt 5 only
// has QTextCodec. Either way a byte-order mark at the start is dropped when decoding and never written when encoding
// (Qt 5's UTF-8 and UTF-16 encoders write one unless told not to).
enum class Encoding
{
    Utf8,
    Utf16LE,
    Utf16BE,
    Locale, // the system's code page on Windows, the locale's encoding elsewhere
};

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)

inline QStringConverter::Encoding converterEncoding(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QStringConverter::Utf8;
    case Encoding::Utf16LE:
        return QStringConverter::Utf16LE;
    case Encoding::Utf16BE:
        return QStringConverter::Utf16BE;
    case Encoding::Locale:
        break;
    }
    return QStringConverter::System;
}

inline QString decode(QByteArrayView bytes, Encoding encoding)
{
    QStringDecoder decoder(converterEncoding(encoding));
    return decoder.decode(bytes);
}

// `failed`, when given, tells whether a character had no form in the encoding.
inline QByteArray encode(const QString& text, Encoding encoding, bool* failed = nullptr)
{
    QStringEncoder encoder(converterEncoding(encoding));
    QByteArray bytes = encoder.encode(text);
    if (failed)
        *failed = encoder.hasError();
    return bytes;
}

// A text in the charset an HTTP answer names ("ISO-8859-1", "utf-8"); nothing when the charset is unknown here.
inline std::optional<QString> decodeCharset(const QByteArray& bytes, const QByteArray& charset)
{
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return std::nullopt;
    return decoder.decode(bytes);
}

#else

inline QTextCodec* codecFor(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QTextCodec::codecForName("UTF-8");
    case Encoding::Utf16LE:
        return QTextCodec::codecForName("UTF-16LE");
    case Encoding::Utf16BE:
        return QTextCodec::codecForName("UTF-16BE");
    case Encoding::Locale:
        break;
    }
    return QTextCodec::codecForLocale();
}

inline QString decode(QByteArrayView bytes, Encoding encoding)
{
    QTextCodec::ConverterState state;
    return codecFor(encoding)->toUnicode(bytes.data(), int(bytes.size()), &state);
}

inline QByteArray encode(const QString& text, Encoding encoding, bool* failed = nullptr)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    QByteArray bytes = codecFor(encoding)->fromUnicode(text.constData(), text.size(), &state);
    if (failed)
        *failed = state.invalidChars > 0;
    return bytes;
}

inline std::optional<QString> decodeCharset(const QByteArray& bytes, const QByteArray& charset)
{
    QTextCodec* codec = QTextCodec::codecForName(charset);
    if (!codec)
        return std::nullopt;
    QTextCodec::ConverterState state;
    return codec->toUnicode(bytes.constData(), bytes.size(), &state);
}

#endif

// Where a mouse or enter event happened, in the receiving widget's coordinates (Qt 5: localPos).
template <typename Event>
QPointF eventPosition(const Event* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position();
#else
    return event->localPos();
#endif
}

// The picture a label shows, by value (Qt 5 hands out a pointer unless asked for a copy).
template <typename Label>
auto labelPixmap(const Label* label)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return label->pixmap();
#else
    return label->pixmap(Qt::ReturnByValue);
#endif
}

// Scaling for high-DPI screens, per monitor and without rounding the factor; call before the application object
// exists. Qt 6 does this by itself; Qt 5 must be asked.
template <typename GuiApplication>
void enableHighDpiScaling()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    GuiApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    GuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
}

} // namespace quorvel::qtcompat
