// The version query against the simulated vendor service: what is stored, what the user sees, what is asked again.
#include "update/VersionQuery.h"

#include "common/ActivityLog.h"
#include "common/LatestVersions.h"
#include "common/QtCompat.h"
#include "common/SharedText.h"
#include "support/QtPrinters.h"
#include "support/VendorService.h"
#include "support/VersionAnswers.h"
#include "update/HttpClient.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <mutex>

using namespace quorvel;
using quorvel::fakes::exampleVersionAnswer;
using quorvel::fakes::VendorService;

namespace {

// Records the window steps instead of carrying them out.
struct RecordingHost : VersionQueryHost
{
    QString typed;
    int preparedAdvertisement = 0;
    int selfUpdateChecks = 0;
    QStringList failures;
    QStringList opened;

    void prepareAdvertisement() override { ++preparedAdvertisement; }
    void typeAdvertisement(QChar character) override { typed += character; }
    void checkVrm() override { ++selfUpdateChecks; }
    void showConnectionFailure(const QString& message) override { failures.append(message); }
    void exec(const QString& address) override { opened.append(address); }
    bool windowGone() const override { return false; }
    void pauseBetweenCharacters() override {}
};

struct Query
{
    LatestVersions latest;
    std::atomic<bool> showWhats{true};
    SharedText adLink;
    RecordingHost host;
    HttpClient neth;

    Query() = default;
    explicit Query(HttpClient::Timeouts timeouts) : neth(timeouts) {}

    void run() { VersionQuery(neth, host, {latest, showWhats, adLink}).getvint(); }
};

} // namespace

TEST(VersionQuery, TheExampleAnswerFillsEverySlotAndTypesTheAdvertisement)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(QStringLiteral("/vrs.php"), {VendorService::answer(exampleVersionAnswer())});
    Query q;
    q.run();

    EXPECT_EQ(service.requests(), QStringList{QStringLiteral("https /vrs.php")});
    EXPECT_EQ(q.latest.get(VersionSlot::vrsTwit), QStringLiteral("2.41"));
    EXPECT_EQ(q.latest.get(VersionSlot::vrsMenu), QStringLiteral("1.78"));
    EXPECT_EQ(q.latest.get(VersionSlot::vrsNav), QStringLiteral("109"));
    EXPECT_FALSE(q.showWhats);
    EXPECT_EQ(q.host.preparedAdvertisement, 1);
    EXPECT_EQ(q.host.typed, QStringLiteral("Novo curso gratuito"));
    EXPECT_EQ(q.adLink.get(), QStringLiteral("https://cursos.test/novo"));
    EXPECT_EQ(q.host.selfUpdateChecks, 1);
    EXPECT_TRUE(q.host.failures.isEmpty());
    EXPECT_TRUE(q.host.opened.isEmpty());
}

TEST(VersionQuery, AnswersAreReadAsTheyStand)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    {
        // Only the first two characters are tested; no advertisement leaves the footer alone.
        service.setRoute(
            QStringLiteral("/vrs.php"),
            {VendorService::answer(
                exampleVersionAnswer(QStringLiteral("0000"), QString()).replace(0, 2, QStringLiteral("okay")))});
        Query q;
        q.run();
        EXPECT_EQ(q.latest.get(VersionSlot::vrsFace), QStringLiteral("5.12"));
        EXPECT_TRUE(q.showWhats);
        EXPECT_EQ(q.host.preparedAdvertisement, 0);
        EXPECT_EQ(q.adLink.get(), QString());
        EXPECT_TRUE(q.host.failures.isEmpty());
    }
    {
        // A blank inside a field makes two fields of it and shifts every later one.
        service.setRoute(
            QStringLiteral("/vrs.php"),
            {VendorService::answer(exampleVersionAnswer().replace(QStringLiteral("5.12"), QStringLiteral("5 12")))});
        Query q;
        q.run();
        EXPECT_EQ(q.latest.get(VersionSlot::vrsFace), QStringLiteral("5"));
        EXPECT_EQ(q.latest.get(VersionSlot::vrsContact), QStringLiteral("12"));
        EXPECT_EQ(q.latest.get(VersionSlot::vrsNav), QStringLiteral("0"));
    }
    {
        // Plain links become secure ones, in any field and in the advertisement.
        service.setRoute(QStringLiteral("/vrs.php"),
                         {VendorService::answer(
                             exampleVersionAnswer(QStringLiteral("000f"), QStringLiteral("ad;1|Veja|http://x.test/p"))
                                 .replace(QStringLiteral("2.41"), QStringLiteral("http://v")))});
        Query q;
        q.run();
        EXPECT_EQ(q.latest.get(VersionSlot::vrsTwit), QStringLiteral("https://v"));
        EXPECT_EQ(q.adLink.get(), QStringLiteral("https://x.test/p"));
    }
    {
        // The first "ad;" anywhere opens the advertisement, even inside a field.
        service.setRoute(QStringLiteral("/vrs.php"),
                         {VendorService::answer(exampleVersionAnswer().replace(
                             QStringLiteral(";0;109"), QStringLiteral(";upload;1|Cedo|L;109")))});
        Query q;
        q.run();
        EXPECT_EQ(q.host.typed, QStringLiteral("Cedo"));
    }
}

TEST(VersionQuery, RefusedAnswersAreNotAskedAgain)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    const QJsonObject serverError{{QStringLiteral("status"), 500},
                                  {QStringLiteral("content_type"), QStringLiteral("text/html")},
                                  {QStringLiteral("body"), QStringLiteral("<html><body>Internal error</body></html>")}};
    for (const QJsonObject& step :
         {VendorService::answer(exampleVersionAnswer().replace(0, 2, QStringLiteral("OK"))), serverError}) {
        service.setRoute(QStringLiteral("/vrs.php"), {step});
        const qsizetype before = service.requests().size();
        Query q;
        q.run();
        EXPECT_EQ(service.requests().size() - before, 1);
        EXPECT_EQ(q.latest.get(VersionSlot::vrsTwit), QString());
        EXPECT_EQ(q.host.selfUpdateChecks, 1); // every reply that arrived is checked
        EXPECT_EQ(q.host.failures, QStringList{VersionQuery::kFailureMessage});
        EXPECT_EQ(q.host.opened,
                  QStringList{QStringLiteral("https://") + service.host() + QStringLiteral("/download?links")});
    }
}

TEST(VersionQuery, ErrorsAreRetriedOnceOverHttp)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    {
        // Too few fields: what came is stored, then the same answer over http fails again.
        service.setRoute(QStringLiteral("/vrs.php"), {VendorService::answer(QStringLiteral("ok;2.41;5.12"))});
        Query q;
        q.run();
        EXPECT_EQ(service.requests(), (QStringList{QStringLiteral("https /vrs.php"), QStringLiteral("http /vrs.php")}));
        EXPECT_EQ(q.latest.get(VersionSlot::vrsFace), QStringLiteral("5.12"));
        EXPECT_EQ(q.host.selfUpdateChecks, 0);
        EXPECT_EQ(q.host.failures.size(), 1);
        EXPECT_EQ(q.host.opened.size(), 1);
    }
    {
        // A reset connection, then an answer over http.
        service.setRoute(QStringLiteral("/vrs.php"), {QJsonObject{{QStringLiteral("fault"), QStringLiteral("reset")}},
                                                      VendorService::answer(exampleVersionAnswer())});
        Query q;
        q.run();
        EXPECT_EQ(q.latest.get(VersionSlot::vrsTwit), QStringLiteral("2.41"));
        EXPECT_TRUE(q.host.failures.isEmpty());
    }
    {
        // An answer too large to be one is a failed request.
        service.setRoute(QStringLiteral("/vrs.php"),
                         {VendorService::answer(exampleVersionAnswer() + QString(HttpClient::kMaxAnswerBytes, u'x'))});
        Query q;
        q.run();
        EXPECT_EQ(q.latest.get(VersionSlot::vrsTwit), QString());
        EXPECT_EQ(q.host.failures.size(), 1);
    }
}

TEST(VersionQuery, ADrippingAnswerFailsAtItsDeadlineWithALogLine)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(QStringLiteral("/vrs.php"), {QJsonObject{{QStringLiteral("body"), exampleVersionAnswer()},
                                                              {QStringLiteral("fault"), QStringLiteral("trickle")},
                                                              {QStringLiteral("chunk"), 1},
                                                              {QStringLiteral("delay"), 0.2}}});
    QTemporaryDir dataFolder;
    ActivityLog log([&] { return dataFolder.path(); });
    log.setDebugMode(true);
    QStringList lines;
    std::mutex linesMutex;
    log.setMemoSink([&](const QString& line) {
        std::lock_guard lock(linesMutex);
        lines.append(line);
    });
    installActivityLog(&log);
    Query q(HttpClient::Timeouts{std::chrono::seconds(5), std::chrono::seconds(5), std::chrono::seconds(1)});
    q.run();
    installActivityLog(nullptr);
    EXPECT_EQ(q.host.failures.size(), 1);
    const QString url = QStringLiteral("https://") + service.host() + QStringLiteral("/vrs.php failed: ");
    const bool logged = std::any_of(lines.begin(), lines.end(), [&](const QString& line) {
        return line.contains(QStringLiteral("gvn ") + url) && line.contains(QLatin1StringView("timed out"));
    });
    EXPECT_TRUE(logged) << lines.join(u'\n');
}

TEST(VersionQuery, AnUnreachableServiceGivesOneMessageAndOneBrowserLaunch)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.stop();
    Query q;
    q.run();
    EXPECT_EQ(q.host.failures, QStringList{VersionQuery::kFailureMessage});
    EXPECT_EQ(q.host.opened.size(), 1);
    EXPECT_EQ(q.host.selfUpdateChecks, 0);
}
