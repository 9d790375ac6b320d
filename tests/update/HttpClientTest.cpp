// The HTTP client against the simulated vendor service: decoding, redirects, certificates, stalls and streaming.
#include "update/HttpClient.h"

#include "common/QtCompat.h"
#include "support/QtPrinters.h"
#include "support/TempEnv.h"
#include "support/VendorService.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::fakes::VendorService;

namespace {

QString address(const VendorService& service, const char* scheme, const char* path)
{
    return QLatin1StringView(scheme) + QStringLiteral("://") + service.host() + QLatin1StringView(path);
}

} // namespace

TEST(HttpClient, BodiesAreDecodedByTheirCharsetAndTakenWhateverTheStatus)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(QStringLiteral("/latin"),
                     {QJsonObject{{QStringLiteral("body"), QStringLiteral("ok;Promoção")},
                                  {QStringLiteral("charset"), QStringLiteral("latin-1")},
                                  {QStringLiteral("content_type"), QStringLiteral("text/plain; charset=ISO-8859-1")}}});
    service.setRoute(QStringLiteral("/plain"),
                     {QJsonObject{{QStringLiteral("body"), QStringLiteral("ok;Promoção")},
                                  {QStringLiteral("content_type"), QStringLiteral("text/plain")}}});
    service.setRoute(
        QStringLiteral("/error"),
        {QJsonObject{{QStringLiteral("status"), 500}, {QStringLiteral("body"), QStringLiteral("<html>falha</html>")}}});
    HttpClient client;
    for (const char* path : {"/latin", "/plain"}) {
        const HttpReply reply = client.getText(address(service, "https", path));
        EXPECT_TRUE(reply.ok) << path << reply.error;
        EXPECT_EQ(reply.body, QStringLiteral("ok;Promoção")) << path;
    }
    const HttpReply error = client.getText(address(service, "http", "/error"));
    EXPECT_TRUE(error.ok);
    EXPECT_EQ(error.status, 500);
    EXPECT_EQ(error.body, QStringLiteral("<html>falha</html>"));
}

TEST(HttpClient, RedirectsAreFollowedButNeverDownToHttp)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    const auto redirect = [](const QString& to) {
        return QJsonObject{{QStringLiteral("status"), 302},
                           {QStringLiteral("headers"), QJsonObject{{QStringLiteral("Location"), to}}}};
    };
    service.setRoute(QStringLiteral("/target"), {VendorService::answer(QStringLiteral("arrived"))});
    service.setRoute(QStringLiteral("/up"), {redirect(address(service, "https", "/target"))});
    service.setRoute(QStringLiteral("/down"), {redirect(address(service, "http", "/target"))});
    service.setRoute(QStringLiteral("/loop"), {redirect(address(service, "https", "/loop"))});
    HttpClient client;

    const HttpReply up = client.getText(address(service, "http", "/up"));
    EXPECT_TRUE(up.ok) << up.error;
    EXPECT_EQ(up.body, QStringLiteral("arrived"));

    const HttpReply down = client.getText(address(service, "https", "/down"));
    EXPECT_FALSE(down.ok);
    EXPECT_NE(down.body, QStringLiteral("arrived"));

    const HttpReply loop = client.getText(address(service, "https", "/loop"));
    EXPECT_FALSE(loop.ok);
    EXPECT_EQ(service.requests().count(QStringLiteral("https /loop")), 11); // the first request and 10 redirects
}

TEST(HttpClient, AnUntrustedCertificateFailsWithAnSslError)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(QStringLiteral("/vrs.php"), {VendorService::answer(QStringLiteral("ok"))});
    // Trusting another service's certificate only; callers recognise the failure by "SSL" in its text.
    VendorService stranger;
    TempEnv otherTrust("CURL_CA_BUNDLE", stranger.certificate().toUtf8());
    const HttpReply reply = HttpClient().getText(address(service, "https", "/vrs.php"));
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.error.contains(QLatin1StringView("ssl"), Qt::CaseInsensitive)) << reply.error;
    EXPECT_TRUE(service.requests().isEmpty()); // nothing was asked over the untrusted connection
}

TEST(HttpClient, AStalledTransferIsAbandoned)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(QStringLiteral("/stall"), {QJsonObject{{QStringLiteral("body"), QStringLiteral("0123456789")},
                                                            {QStringLiteral("fault"), QStringLiteral("stall")},
                                                            {QStringLiteral("after"), 4}}});
    service.setRoute(QStringLiteral("/trickle"), {QJsonObject{{QStringLiteral("body"), QString(200, u'z')},
                                                              {QStringLiteral("fault"), QStringLiteral("trickle")},
                                                              {QStringLiteral("chunk"), 20},
                                                              {QStringLiteral("delay"), 0.3}}});
    HttpClient client(HttpClient::Timeouts{std::chrono::seconds(5), std::chrono::seconds(2)});
    const HttpReply stalled = client.getText(address(service, "https", "/stall"));
    EXPECT_FALSE(stalled.ok);
    EXPECT_EQ(stalled.bytes, 4);

    // A slow body that keeps coming is not a stall.
    const HttpReply slow = client.getText(address(service, "https", "/trickle"));
    EXPECT_TRUE(slow.ok) << slow.error;
    EXPECT_EQ(slow.body, QString(200, u'z'));

    // ...but a text answer has a deadline, while a file of the same pace has none.
    HttpClient hurried(HttpClient::Timeouts{std::chrono::seconds(5), std::chrono::seconds(2), std::chrono::seconds(1)});
    QElapsedTimer clock;
    clock.start();
    const HttpReply late = hurried.getText(address(service, "https", "/trickle"));
    EXPECT_FALSE(late.ok);
    EXPECT_TRUE(late.error.contains(QLatin1StringView("timed out"))) << late.error;
    EXPECT_LT(clock.elapsed(), 2500);
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    const HttpReply whole = hurried.getToFile(address(service, "https", "/trickle"), file);
    EXPECT_TRUE(whole.ok) << whole.error;
    EXPECT_EQ(whole.bytes, 200);
}

TEST(HttpClient, FilesTravelOverHttpsOnly)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(QStringLiteral("/app/x.zip"), {VendorService::answer(QStringLiteral("PK"))});
    service.setRoute(QStringLiteral("/down"),
                     {QJsonObject{{QStringLiteral("status"), 302},
                                  {QStringLiteral("headers"), QJsonObject{{QStringLiteral("Location"),
                                                                           address(service, "http", "/app/x.zip")}}}}});
    HttpClient client;
    for (const QString& url : {address(service, "http", "/app/x.zip"), address(service, "HTTP", "/app/x.zip"),
                               address(service, "https", "/down")}) {
        QTemporaryFile file;
        ASSERT_TRUE(file.open());
        const HttpReply reply = client.getToFile(url, file);
        EXPECT_FALSE(reply.ok) << url;
        EXPECT_EQ(reply.bytes, 0) << url;
    }
    // Text answers keep their plain-http fallback. Nothing else went out in clear text.
    EXPECT_TRUE(client.getText(address(service, "http", "/app/x.zip")).ok);
    EXPECT_EQ(service.requests(), (QStringList{QStringLiteral("https /down"), QStringLiteral("http /app/x.zip")}));
}

TEST(HttpClient, FilesStreamToDiskAndCanBeCancelled)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray content(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < content.size(); ++i)
        content.data()[i] = char((i * 7919) >> 3);
    QFile source(dir.filePath(QStringLiteral("served/app/big.zip")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("served/app"))));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(content);
    source.close();
    service.setFilesFolder(dir.filePath(QStringLiteral("served")));

    QFile target(dir.filePath(QStringLiteral("big.zip")));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    qint64 lastSeen = 0;
    HttpClient client;
    // Larger than a text answer may be: files have no such limit.
    const HttpReply reply =
        client.getToFile(address(service, "https", "/app/big.zip"), target, [&](qint64 received, qint64) {
            lastSeen = received;
            return true;
        });
    target.close();
    EXPECT_TRUE(reply.ok) << reply.error;
    EXPECT_EQ(reply.bytes, content.size());
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(QCryptographicHash::hash(target.readAll(), QCryptographicHash::Sha256),
              QCryptographicHash::hash(content, QCryptographicHash::Sha256));
    target.close();

    QFile cancelled(dir.filePath(QStringLiteral("cancelled.zip")));
    ASSERT_TRUE(cancelled.open(QIODevice::WriteOnly));
    const HttpReply stopped = client.getToFile(address(service, "https", "/app/big.zip"), cancelled,
                                               [](qint64 received, qint64) { return received == 0; });
    EXPECT_FALSE(stopped.ok);
    EXPECT_EQ(stopped.error, QStringLiteral("cancelled"));
}
