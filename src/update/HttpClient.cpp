#include "update/HttpClient.h"

#include "common/QtCompat.h"
#include "update/CurlLibrary.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>

namespace quorvel {

namespace {

constexpr long kMaxRedirects = 10;

// A failure of the TLS layer: the handshake, the certificate or its checks.
bool isTlsFailure(CURLcode result)
{
    switch (result) {
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
        return true;
    default:
        return false;
    }
}

// The charset named by a Content-Type header, empty when none.
QByteArray charsetOf(const char* contentType)
{
    if (!contentType)
        return {};
    const QByteArray header(contentType);
    for (QByteArray parameter : header.split(';')) {
        parameter = parameter.trimmed();
        if (parameter.toLower().startsWith("charset=")) {
            QByteArray value = parameter.mid(8).trimmed();
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
                value = value.mid(1, value.size() - 2);
            return value;
        }
    }
    return {};
}

QString decodeBody(const QByteArray& body, const QByteArray& charset)
{
    if (!charset.isEmpty()) {
        if (std::optional<QString> text = qtcompat::decodeCharset(body, charset))
            return *text;
    }
    return QString::fromUtf8(body);
}

constexpr long kFileBufferBytes = 128 * 1024;

} // namespace

struct HttpClient::Transfer
{
    // Exactly one sink: a text body in memory, or a file.
    QByteArray* text = nullptr;
    qint64 maxBytes = -1;
    QIODevice* file = nullptr;
    const Progress* progress = nullptr;
    std::atomic<bool>* cancelled = nullptr;
    qint64 received = 0;
    QString sinkError; // why the sink stopped the transfer

    static size_t write(char* data, size_t size, size_t count, void* user)
    {
        auto* self = static_cast<Transfer*>(user);
        const size_t length = size * count;
        if (self->text) {
            if (self->maxBytes >= 0 && self->received + qint64(length) > self->maxBytes) {
                self->sinkError = QStringLiteral("answer larger than %1 bytes").arg(self->maxBytes);
                return 0;
            }
            self->text->append(data, qsizetype(length));
        } else {
            qint64 written = 0;
            while (written < qint64(length)) {
                const qint64 n = self->file->write(data + written, qint64(length) - written);
                if (n <= 0) {
                    self->sinkError = QStringLiteral("cannot write the file: ") + self->file->errorString();
                    return 0;
                }
                written += n;
            }
        }
        self->received += qint64(length);
        return length;
    }

    static int progressed(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t)
    {
        auto* self = static_cast<Transfer*>(user);
        if (self->cancelled->load()) {
            self->sinkError = QStringLiteral("cancelled");
            return 1;
        }
        if (self->progress && *self->progress && !(*self->progress)(now, total > 0 ? total : -1)) {
            self->sinkError = QStringLiteral("cancelled");
            return 1;
        }
        return 0;
    }
};

void HttpClient::CurlDeleter::operator()(CURL* handle) const
{
    // A handle exists only when the library was loaded.
    CurlLibrary::get()->easy_cleanup(handle);
}

HttpClient::HttpClient() : HttpClient(Timeouts{}) {}

HttpClient::HttpClient(Timeouts timeouts) : m_timeouts(timeouts) {}

HttpClient::~HttpClient() = default;

HttpReply HttpClient::getText(const QString& url, qint64 maxBytes)
{
    QByteArray body;
    Transfer transfer;
    transfer.text = &body;
    transfer.maxBytes = maxBytes;
    HttpReply reply = perform(url, transfer);
    char* contentType = nullptr;
    if (m_curl)
        m_library->easy_getinfo(m_curl.get(), CURLINFO_CONTENT_TYPE, &contentType);
    reply.body = decodeBody(body, charsetOf(contentType));
    return reply;
}

HttpReply HttpClient::getToFile(const QString& url, QIODevice& file, const Progress& progress)
{
    Transfer transfer;
    transfer.file = &file;
    transfer.progress = &progress;
    return perform(url, transfer);
}

HttpReply HttpClient::perform(const QString& url, Transfer& transfer)
{
    HttpReply reply;
    // Loading the library and making the handle wait for the first request, which runs on the client's own thread.
    if (!m_curl) {
        m_library = CurlLibrary::get();
        if (m_library)
            m_curl.reset(m_library->easy_init());
    }
    CURL* curl = m_curl.get();
    if (!curl) {
        reply.error = QStringLiteral("the HTTP client could not be created");
        return reply;
    }
    transfer.cancelled = &m_cancelled;
    m_library->easy_reset(curl);
    static_assert(std::tuple_size_v<decltype(m_errorBuffer)> >= CURL_ERROR_SIZE);
    m_errorBuffer.fill(0);

    // Options that protect the transfer must hold, or the request is not made: an older libcurl that does not know
    // one would otherwise run it with weaker settings.
    QString refused;
    const auto require = [&](CURLoption option, const char* name, auto value) {
        const CURLcode code = m_library->easy_setopt(curl, option, value);
        if (code != CURLE_OK && refused.isEmpty())
            refused = QStringLiteral("libcurl refuses %1: %2")
                          .arg(QLatin1StringView(name), QString::fromUtf8(m_library->easy_strerror(code)));
    };
    const bool file = transfer.file != nullptr;
    const QByteArray address = url.toUtf8();
    const bool secure = address.left(6).toLower() == "https:";
    m_library->easy_setopt(curl, CURLOPT_URL, address.constData());
    m_library->easy_setopt(curl, CURLOPT_ERRORBUFFER, m_errorBuffer.data());
    m_library->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L); // worker threads: no SIGALRM for name look-ups
    // Files are programs the launcher runs: they never travel in clear text. A redirect may keep or raise the
    // protection of the first request, never lower it.
    require(CURLOPT_PROTOCOLS_STR, "CURLOPT_PROTOCOLS_STR", file ? "https" : "http,https");
    require(CURLOPT_REDIR_PROTOCOLS_STR, "CURLOPT_REDIR_PROTOCOLS_STR", file || secure ? "https" : "http,https");
    m_library->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    m_library->easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    // Windows 7 offers TLS 1.1 and 1.2 only when asked; without this it speaks TLS 1.0, which servers refuse.
    require(CURLOPT_SSLVERSION, "CURLOPT_SSLVERSION", long(CURL_SSLVERSION_TLSv1_2));
    require(CURLOPT_SSL_VERIFYPEER, "CURLOPT_SSL_VERIFYPEER", 1L);
    require(CURLOPT_SSL_VERIFYHOST, "CURLOPT_SSL_VERIFYHOST", 2L);
    const QByteArray caBundle = qgetenv("CURL_CA_BUNDLE");
    if (!caBundle.isEmpty())
        require(CURLOPT_CAINFO, "CURLOPT_CAINFO", caBundle.constData());
    m_library->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(m_timeouts.connect.count()));
    m_library->easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    m_library->easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(m_timeouts.stall.count()));
    if (!file)
        m_library->easy_setopt(curl, CURLOPT_TIMEOUT, long(m_timeouts.textDeadline.count()));
    // Files take larger reads, as the curl tool does: fewer writes, and the throughput of a plain download.
    if (file)
        m_library->easy_setopt(curl, CURLOPT_BUFFERSIZE, kFileBufferBytes);
    m_library->easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::write);
    m_library->easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    // The progress callback is how a cancel reaches a transfer that is waiting for the network.
    require(CURLOPT_NOPROGRESS, "CURLOPT_NOPROGRESS", 0L);
    require(CURLOPT_XFERINFOFUNCTION, "CURLOPT_XFERINFOFUNCTION", &Transfer::progressed);
    m_library->easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    if (!refused.isEmpty()) {
        reply.error = refused;
        return reply;
    }

    const CURLcode result = m_library->easy_perform(curl);
    m_library->easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
    reply.bytes = transfer.received;
    reply.ok = result == CURLE_OK;
    if (!reply.ok) {
        if (!transfer.sinkError.isEmpty())
            reply.error = transfer.sinkError;
        else if (m_errorBuffer[0])
            reply.error = QString::fromUtf8(m_errorBuffer.data());
        else
            reply.error = QString::fromUtf8(m_library->easy_strerror(result));
        // Callers tell TLS failures by "SSL" in the text, as OpenSSL words them; Schannel's words lack it.
        if (isTlsFailure(result) && !reply.error.contains(QLatin1StringView("ssl"), Qt::CaseInsensitive))
            reply.error.prepend(QLatin1StringView("SSL: "));
    }
    return reply;
}

} // namespace quorvel
