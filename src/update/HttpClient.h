#pragma once

#include <QString>
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

typedef void CURL;
class QIODevice;

namespace quorvel {

struct CurlLibrary;

// What a GET brought back. The status is not judged: callers read the body whatever it is.
struct HttpReply
{
    bool ok = false;  // a whole body arrived
    QString error;    // the transfer's error text when not ok
    QString body;     // text requests only
    long status = 0;  // for logs
    qint64 bytes = 0; // body bytes received
};

// A GET client on libcurl for the vendor's service and the downloads. Certificates are always checked
// ($CURL_CA_BUNDLE names the trusted file when set), redirects are followed up to 10 times but never from https
// to http, and a transfer is abandoned when nothing arrives for the stall time. Files are fetched over https only.
// A security setting that this libcurl refuses fails the request instead of weakening it. One object per thread.
class HttpClient
{
public:
    struct Timeouts
    {
        std::chrono::seconds connect{60};
        std::chrono::seconds stall{60}; // no byte for this long ends the transfer
        // A text answer is small; a server dripping it must not hold the request for days. Files have no deadline:
        // a large one on a slow line may take long, and the stall time already ends a dead one.
        std::chrono::seconds textDeadline{120};
    };
    // The web-service answers are small; anything larger is refused rather than held in memory.
    static constexpr qint64 kMaxAnswerBytes = 1024 * 1024;

    HttpClient();
    explicit HttpClient(Timeouts timeouts);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Ends a running transfer of this client from any thread; it fails with a "cancelled" error.
    void cancel() { m_cancelled = true; }

    // The body as text, decoded by the reply's charset (UTF-8 when none or unknown). A body over `maxBytes` fails.
    HttpReply getText(const QString& url, qint64 maxBytes = kMaxAnswerBytes);

    // The body written to `file` (open for writing) as it arrives, over https only (a redirect too). `progress` is told
    // the bytes so far and the announced total (-1 when unknown); returning false ends the transfer.
    using Progress = std::function<bool(qint64 received, qint64 total)>;
    HttpReply getToFile(const QString& url, QIODevice& file, const Progress& progress = {});

private:
    struct CurlDeleter
    {
        void operator()(CURL* handle) const;
    };
    struct Transfer;

    HttpReply perform(const QString& url, Transfer& transfer);

    const CurlLibrary* m_library = nullptr; // set by the first request; null when libcurl cannot be loaded
    // libcurl keeps writing into the error buffer of its handle until the handle is gone, so it lives as long.
    std::array<char, 256> m_errorBuffer{};
    std::unique_ptr<CURL, CurlDeleter> m_curl;
    Timeouts m_timeouts;
    std::atomic<bool> m_cancelled{false};
};

} // namespace quorvel
