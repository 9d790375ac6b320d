// The link list from the simulated vendor service, the link choice, and the Windows release that picks builds.
#include "download/LinkList.h"

#include "common/QtCompat.h"
#include "common/WindowsVersion.h"
#include "download/DialogServices.h"
#include "support/QtPrinters.h"
#include "support/VendorService.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QPlainTextEdit>
#include <QPointer>
#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::fakes::VendorService;

namespace {

struct Dialog : fakes::DialogServices
{
    QPointer<Tfrmdl> dialog;

    Dialog()
    {
        input.shift = true; // the memo shows the dialog's log only in debug mode
        dialog = new Tfrmdl(services());
        dialog->setProductNameReader([](QString*) { return QString(); });
    }
    ~Dialog() { delete dialog; }

    QString memo() const { return dialog->memolog()->toPlainText(); }
    void writeOverride(const QByteArray& content)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("Quorvel")));
        QFile file(dir.filePath(QStringLiteral("Quorvel/winversion.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};

// Items 1 to 21 with a link in every odd position.
QString fullList(const QString& firstLink = QStringLiteral("https://dl.test/quortwit.zip"))
{
    QString answer = QStringLiteral("ok;") + firstLink;
    for (int item = 2; item <= 21; ++item)
        answer += item % 2 ? QStringLiteral(";https://dl.test/item%1.zip").arg(item) : QStringLiteral(";x");
    return answer;
}

} // namespace

TEST(LinkList, AGoodAnswerFillsEveryGroupInStoredForm)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(QStringLiteral("/ldl.php"), {VendorService::answer(fullList())});
    Dialog d;
    EXPECT_TRUE(d.dialog->getLinks());
    EXPECT_EQ(d.dialog->totalThreads, 1);
    EXPECT_EQ(service.requests(), QStringList{QStringLiteral("https /ldl.php")});
    EXPECT_EQ(d.dialog->linkh[0], QStringLiteral("http://dl.test/quortwit.zip"));
    // Item positions name the groups: 11 is Tube's, 17 Tele's, 21 LX's.
    EXPECT_EQ(d.dialog->linku[0], QStringLiteral("http://dl.test/item11.zip"));
    EXPECT_EQ(d.dialog->linkl[0], QStringLiteral("http://dl.test/item17.zip"));
    EXPECT_EQ(d.dialog->linko[0], QStringLiteral("http://dl.test/item21.zip"));
    EXPECT_EQ(d.dialog->linkh[1], QString()); // only slot 1 is filled
    const QString url = QStringLiteral("https://") + service.host() + QStringLiteral("/ldl.php");
    EXPECT_TRUE(d.memo().contains(QStringLiteral("$gtlks ") + url));
    EXPECT_TRUE(d.memo().contains(QStringLiteral("Links obtidos de : ") + url));

    // The attempt fetches over https again.
    d.dialog->source = QStringLiteral("whats");
    EXPECT_EQ(d.dialog->chooseLink(), QStringLiteral("https://dl.test/item9.zip"));
}

TEST(LinkList, RefusedAndShortAnswers)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    {
        // Not "ok": three tries, nothing stored.
        service.setRoute(QStringLiteral("/ldl.php"),
                         {VendorService::answer(fullList().replace(0, 2, QStringLiteral("OK")))});
        Dialog d;
        d.dialog->linkf[0] = QStringLiteral("kept");
        EXPECT_FALSE(d.dialog->getLinks());
        EXPECT_EQ(service.requests().size(), 3);
        EXPECT_EQ(d.dialog->linkf[0], QStringLiteral("kept"));
        EXPECT_FALSE(d.memo().contains(QStringLiteral("Erro ao obter links")));
    }
    {
        // "ok" alone is an answer without links: true, but asked again and never complete.
        service.setRoute(QStringLiteral("/ldl.php"), {VendorService::answer(QStringLiteral("ok"))});
        const qsizetype before = service.requests().size();
        Dialog d;
        EXPECT_TRUE(d.dialog->getLinks());
        EXPECT_EQ(service.requests().size() - before, 3);
        EXPECT_EQ(d.dialog->totalThreads, 0);
        EXPECT_EQ(d.dialog->linkh[0], QString());
        EXPECT_TRUE(d.memo().contains(QStringLiteral("List index out of bounds (1)")));
    }
    {
        // A blank inside an item makes two of it and shifts every later item.
        service.setRoute(QStringLiteral("/ldl.php"), {VendorService::answer(fullList(QStringLiteral("a b")))});
        Dialog d;
        EXPECT_TRUE(d.dialog->getLinks());
        EXPECT_EQ(d.dialog->linkh[0], QStringLiteral("a"));
        EXPECT_EQ(d.dialog->linkf[0], QStringLiteral("x")); // item 3 is now the old item 2
    }
    {
        // ";;" gives an empty item, so its group gets an empty link.
        service.setRoute(QStringLiteral("/ldl.php"),
                         {VendorService::answer(
                             fullList().replace(QStringLiteral(";https://dl.test/item5.zip;"), QStringLiteral(";;")))});
        Dialog d;
        EXPECT_TRUE(d.dialog->getLinks());
        EXPECT_EQ(d.dialog->totalThreads, 1);
        EXPECT_EQ(d.dialog->linkt[0], QString());
        EXPECT_EQ(d.dialog->linki[0], QStringLiteral("http://dl.test/item7.zip"));
    }
}

TEST(LinkList, AnSslErrorTriesHttpAndAnotherErrorGoesBackToHttps)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setTlsFailures(1);
    service.setRoute(QStringLiteral("/ldl.php"), {QJsonObject{{QStringLiteral("fault"), QStringLiteral("reset")}},
                                                  VendorService::answer(fullList())});
    Dialog d;
    EXPECT_TRUE(d.dialog->getLinks());
    EXPECT_EQ(service.requests(), (QStringList{QStringLiteral("https (TLS refused)"), QStringLiteral("http /ldl.php"),
                                               QStringLiteral("https /ldl.php")}));
    EXPECT_EQ(d.dialog->totalThreads, 1);
    EXPECT_EQ(d.memo().count(QStringLiteral("Erro ao obter links : ")), 2);
}

TEST(LinkList, AListOverPlainHttpKeepsOnlyTheVendorsHosts)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setTlsFailures(1); // the list then comes over http, where anyone on the way may have written it
    const QString vendor = QStringLiteral("https://") + service.host();
    const struct
    {
        int item;
        QString link;
        bool kept;
    } links[] = {
        {1, vendor + QStringLiteral("/app/quortwit.zip"), true},
        {3, QStringLiteral("https://www.quorvel.com.br/app/quorface.zip"), true},
        {5, QStringLiteral("https://dl.zephranel.com.br/app/quorcont.zip"), true},
        {7, QStringLiteral("https://QUORVEL.com.br/app/quorinst.zip"), true},
        {9, QStringLiteral("https://evil.test/quorwhat.zip"), false},
        {11, QStringLiteral("https://www.quorvel.com.br.evil.test/quortube.zip"), false},
        {13, QStringLiteral("https://quorvel.com.br@evil.test/quorsms.zip"), false},
        {15, QStringLiteral("https://evil.test\\@quorvel.com.br/quorvel.zip"), false},
        {17, QStringLiteral("https://notquorvel.com.br/quortele.zip"), false},
        {19, QStringLiteral("\\\\server\\share\\quortik.exe"), false},
        {21, QStringLiteral("quorlx.exe"), false},
    };
    QStringList items{QStringLiteral("ok")};
    while (items.size() < 22)
        items.append(QStringLiteral("x"));
    for (const auto& link : links)
        items[link.item] = link.link;
    service.setRoute(QStringLiteral("/ldl.php"), {VendorService::answer(items.join(u';'))});
    Dialog d;
    EXPECT_TRUE(d.dialog->getLinks());
    EXPECT_EQ(service.requests(),
              (QStringList{QStringLiteral("https (TLS refused)"), QStringLiteral("http /ldl.php")}));
    const char* groups[] = {"linkh", "linkf", "linkt", "linki", "linkw", "linku",
                            "links", "linkm", "linkl", "linkk", "linko"};
    for (std::size_t i = 0; i < std::size(links); ++i) {
        const QString stored = (*d.dialog->linkGroup(QLatin1StringView(groups[i])))[0];
        EXPECT_EQ(stored, links[i].kept ? link_list::storedForm(links[i].link) : QString()) << groups[i];
    }
    EXPECT_EQ(d.memo().count(QStringLiteral("Link recusado (lista sem https) : ")), 7);
}

TEST(LinkList, LinkChoiceAndShortLinks)
{
    const struct
    {
        const char* source;
        const char* group;
    } cases[] = {
        {"twit", "linkh"}, {"face", "linkf"},  {"quorface", "linkf"}, {"contact", "linkt"},
        {"cont", "linkt"}, {"insta", "linki"}, {"whats", "linkw"},    {"tube", "linku"},
        {"sms", "links"},  {"tele", "linkl"},  {"tik", "linkk"},      {"lx", "linko"},
        {"menu", "linkm"}, {"contacts", ""},   {"Twit", ""},          {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(link_list::groupFor(QString::fromLatin1(c.source)), QLatin1StringView(c.group)) << c.source;

    EXPECT_EQ(link_list::oldWindowsLink(QStringLiteral("https://dl.test/quorvel.zip")),
              QStringLiteral("https://dl.test/quorvel_w7.zip"));
    EXPECT_EQ(link_list::oldWindowsLink(QStringLiteral("https://dl.test/a.exe")),
              QStringLiteral("https://dl.test/a_w7.exe"));
    EXPECT_EQ(link_list::shortLink(QStringLiteral("https://www.dl.test/x/www.y.zip")),
              QStringLiteral("dl.test/x/y.zip"));
    EXPECT_EQ(link_list::shortLink(QStringLiteral("http://dl.test/a")), QStringLiteral("dl.test/a"));

    // The scheme in any letter case goes out as https; what is no web address stays as it is for the worker to refuse.
    EXPECT_EQ(link_list::secureLink(QStringLiteral("HTTP://dl.test/a.zip")), QStringLiteral("https://dl.test/a.zip"));
    EXPECT_EQ(link_list::secureLink(QStringLiteral("Http://dl.test/a.zip")), QStringLiteral("https://dl.test/a.zip"));
    EXPECT_EQ(link_list::secureLink(QStringLiteral("dl.test/a.zip")), QStringLiteral("dl.test/a.zip"));
}

TEST(WindowsVersion, ReleaseNamesAndTheOverrideFile)
{
    const std::pair<const char*, bool> names[] = {
        {"Windows 7 Professional", true},
        {"Windows 8.1 Pro", true},
        {"Windows 10 Pro", false},
        {"Windows 11 Home", false},
        {"Windows Server 2016 Standard", true},
        {"Windows Server 2012 R2 Standard", true},
        {"Windows Server 2019 Standard", false},
        {"Windows Server 2022 Datacenter", false},
        {"", false},
    };
    for (const auto& [name, old] : names)
        EXPECT_EQ(windows_version::isOldWindowsName(QString::fromLatin1(name)), old) << name;

    Dialog d;
    QString registry = QStringLiteral("Windows 7 Professional");
    d.dialog->setProductNameReader([&registry](QString*) { return registry; });
    EXPECT_TRUE(d.dialog->isOldWin());
    EXPECT_TRUE(d.memo().contains(QStringLiteral("isOldwin Windows 7 Professional = true")));

    // The override file stands in for the name, line breaks and all.
    d.writeOverride("Windows 10");
    EXPECT_EQ(d.dialog->winversion(), QStringLiteral("Windows 10\r\n"));
    EXPECT_FALSE(d.dialog->isOldWin());
    // The memo shows the line break of the name as a new line.
    EXPECT_TRUE(d.memo().contains(QStringLiteral("isOldwin Windows 10\n = false"))) << d.memo();
    registry = QStringLiteral("Windows 11 Pro");
    d.writeOverride("\xEF\xBB\xBFWindows 7\r\nSP1");
    EXPECT_EQ(d.dialog->winversion(), QStringLiteral("Windows 7\r\nSP1\r\n"));
    EXPECT_TRUE(d.dialog->isOldWin());
    d.writeOverride("");
    EXPECT_FALSE(d.dialog->isOldWin());

    // A registry failure is logged and names no release.
    QFile::remove(d.dir.filePath(QStringLiteral("Quorvel/winversion.ini")));
    d.dialog->setProductNameReader([](QString* error) {
        *error = QStringLiteral("access denied");
        return QStringLiteral("Windows 7");
    });
    EXPECT_FALSE(d.dialog->isOldWin());
    EXPECT_TRUE(d.memo().contains(QStringLiteral("wve access denied")));
}

TEST(WindowsVersion, TheBrowserApplicationLinkFollowsTheRelease)
{
    VendorService service; // only for the host
    Dialog d;
    d.dialog->source = QStringLiteral("nav");
    d.dialog->cef_version = QStringLiteral("156");
    const QString base = QStringLiteral("https://") + service.host() + QStringLiteral("/app/quornav_");
    EXPECT_EQ(d.dialog->chooseLink(), base + QStringLiteral("156.exe"));
    d.writeOverride("Windows 7\n");
    EXPECT_EQ(d.dialog->chooseLink(), base + QStringLiteral("109.exe"));
}
