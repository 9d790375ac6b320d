#include "launch/ProcessControl.h"

#include "platform/Paths.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::fakes::FakePlatform;

namespace {

struct Fixture
{
    FakePlatform fake;
    QList<unsigned> pauses;
    int hides = 0;
    ProcessControl control{fake.processes, fake.shell, [this](unsigned ms) { pauses.append(ms); }};

    void run(std::initializer_list<platform::ProcessEntry> entries) { fake.processes.running = entries; }
    std::function<void()> hide()
    {
        return [this] { ++hides; };
    }
};

} // namespace

TEST(CheckProcess, MatchesTheProgramAndItsCompanionInAnyCase)
{
    Fixture f;
    f.fake.processes.self = 10;
    f.run({{10, "quorface.exe"}, {11, "QuorFace.EXE"}, {12, "quorfacec.exe"}, {13, "quortele.exe"}, {14, "face.exe"}});
    EXPECT_TRUE(f.control.checkProcess(QStringLiteral("quorface.exe"), true));
    EXPECT_EQ(f.fake.processes.terminated, (std::vector<std::uint32_t>{11, 12})); // never the caller itself
    EXPECT_FALSE(f.control.checkProcess(QStringLiteral("quorface.exe"), true));
}

TEST(CheckProcess, TargetRules)
{
    Fixture f;
    f.run({{2, "quorface.exe"}, {3, "quorfacec.exe"}, {4, "quorvel"}, {5, "quorvelc"}, {6, "c"}});

    // Found without terminating.
    EXPECT_TRUE(f.control.checkProcess(QStringLiteral("quorface.exe"), false));
    EXPECT_TRUE(f.fake.processes.terminated.empty());

    // Quotes are dropped for the program; the companion keeps them and so matches nothing.
    EXPECT_TRUE(f.control.checkProcess(QStringLiteral("\"quorface.exe\""), true));
    EXPECT_EQ(f.fake.processes.terminated, (std::vector<std::uint32_t>{2}));

    // An empty name matches nothing, not even a process named like a bare companion suffix.
    EXPECT_FALSE(f.control.checkProcess(QString(), true));

    // A program without the Windows extension has its companion with a "c" appended where programs go without
    // one (Linux); on Windows it has no companion, so both targets are the program.
    f.fake.processes.terminated.clear();
    EXPECT_TRUE(f.control.checkProcess(QStringLiteral("quorvel"), true));
    const bool suffixAppended = platform::companionFileName(QStringLiteral("quorvel")) == QStringLiteral("quorvelc");
    EXPECT_EQ(f.fake.processes.terminated,
              (suffixAppended ? std::vector<std::uint32_t>{4, 5} : std::vector<std::uint32_t>{4, 4}));

    // An extension in capitals gives no companion: both targets are the program, which is ended twice.
    f.run({{7, "quortik.exe"}, {8, "quortikc.exe"}});
    f.fake.processes.refuseTermination = true;
    f.fake.processes.terminated.clear();
    EXPECT_TRUE(f.control.checkProcess(QStringLiteral("QUORTIK.EXE"), true));
    EXPECT_EQ(f.fake.processes.terminated, (std::vector<std::uint32_t>{7, 7}));
}

TEST(Exec, EndsRunningCopiesThenHidesAndStartsWithTheForwardedParameters)
{
    Fixture f;
    f.run({{2, "quorface.exe"}});
    const QString path = QDir::toNativeSeparators(QStringLiteral("/opt/Quorvel Face/quorface.exe"));
    f.control.exec(path, QStringLiteral("a \"b c\" d"), f.hide());
    EXPECT_EQ(f.fake.processes.terminated, (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(f.pauses, QList<unsigned>({1000})); // one pause after the try that found it; the next found none
    EXPECT_EQ(f.hides, 1);
    ASSERT_EQ(f.fake.shell.opened.size(), 1);
    EXPECT_EQ(f.fake.shell.opened[0], qMakePair(path, QStringLiteral("a \"b c\" d")));
}

TEST(Exec, ACopyThatRefusesToEndIsTriedTwiceAndTheNewOneStartsAnyway)
{
    Fixture f;
    f.run({{2, "quorface.exe"}});
    f.fake.processes.refuseTermination = true;
    f.control.exec(QDir::toNativeSeparators(QStringLiteral("/opt/Quorvel Face/quorface.exe")), QString(), f.hide());
    EXPECT_EQ(f.fake.processes.terminated.size(), 2u);
    EXPECT_EQ(f.pauses, QList<unsigned>({1000, 1000}));
    EXPECT_EQ(f.fake.shell.opened.size(), 1);
}

TEST(Exec, WebAddressesAndEmptyTargets)
{
    Fixture f;
    f.run({{2, "contato#chat"}});
    f.control.exec(QStringLiteral("https://www.example.test/contato#chat"), QStringLiteral(" \"\""), f.hide());
    // Any path mentioning http counts as an address: nothing ended, window kept.
    f.control.exec(QStringLiteral("/opt/httpd tools/tool.exe"), QString(), f.hide());
    EXPECT_EQ(f.fake.processes.snapshots, 0);
    EXPECT_EQ(f.hides, 0);
    ASSERT_EQ(f.fake.shell.opened.size(), 2);
    // Parameters go along with addresses too; the shell decides what to do with them.
    EXPECT_EQ(f.fake.shell.opened[0].second, QStringLiteral(" \"\""));

    f.control.exec(QString(), QString(), f.hide());
    EXPECT_EQ(f.fake.shell.opened.size(), 2);
    EXPECT_EQ(f.hides, 0);
}

TEST(ForwardedParameters, JoinsWhatIsPresent)
{
    EXPECT_EQ(forwardedParameters(QString(), QStringLiteral("\"\""), QString()), QStringLiteral(" \"\""));
    EXPECT_EQ(forwardedParameters(QStringLiteral("a"), QStringLiteral("\"b c\""), QStringLiteral("d")),
              QStringLiteral("a \"b c\" d"));
    EXPECT_EQ(forwardedParameters(QStringLiteral("a"), QString(), QStringLiteral("d")), QStringLiteral("a d"));
    EXPECT_EQ(forwardedParameters(QString(), QString(), QString()), QString());
}
