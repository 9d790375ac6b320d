// The Win32 layer against the real Win32 calls (under Wine here): folders, the process snapshot, the shell,
// the foreground window, the Shift key, the registry's release name and the system's version reader.
#include "common/DataFolder.h"
#include "common/WindowsVersion.h"
#include "platform/CommandLine.h"
#include "platform/FileVersionResource.h"
#include "platform/NativeInput.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "support/QtPrinters.h"
#include "update/PeVersionReader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <windows.h>

using namespace quorvel;

namespace {

QString recorder()
{
    return QDir::toNativeSeparators(QStringLiteral(QUORVEL_RECORDER));
}

QStringList recorded(const QString& file, int waitMs = 10000)
{
    for (QDeadlineTimer deadline(waitMs); !QFileInfo(file).size() && !deadline.hasExpired();)
        QThread::msleep(20);
    QThread::msleep(100); // the last line may still be under way
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {QStringLiteral("(nothing recorded)")};
    return QString::fromUtf8(in.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// A top-level window of this process, made without Qt so it is a real Win32 window whatever Qt's platform is.
class NativeWindow
{
public:
    explicit NativeWindow(const wchar_t* title)
    {
        m_window = CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(m_window);
        pump(300);
    }
    ~NativeWindow() { DestroyWindow(m_window); }
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    static void pump(int ms)
    {
        for (QDeadlineTimer deadline(ms); !deadline.hasExpired();) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            QThread::msleep(10);
        }
    }

private:
    HWND m_window = nullptr;
};

// Sets a value of the machine's release key for a test and puts the old one back.
class ProductNameOverride
{
public:
    ProductNameOverride(const wchar_t* key, const wchar_t* value) : m_key(key)
    {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_handle, nullptr);
        DWORD bytes = sizeof m_old;
        m_hadOld = RegQueryValueExW(m_handle, L"ProductName", nullptr, nullptr, reinterpret_cast<BYTE*>(m_old),
                                    &bytes) == ERROR_SUCCESS;
        set(value);
    }
    ~ProductNameOverride()
    {
        if (m_hadOld)
            set(m_old);
        else
            RegDeleteValueW(m_handle, L"ProductName");
        RegCloseKey(m_handle);
    }
    ProductNameOverride(const ProductNameOverride&) = delete;
    ProductNameOverride& operator=(const ProductNameOverride&) = delete;

    void set(const wchar_t* value)
    {
        if (!value) {
            RegDeleteValueW(m_handle, L"ProductName");
            return;
        }
        RegSetValueExW(m_handle, L"ProductName", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       DWORD((wcslen(value) + 1) * sizeof(wchar_t)));
    }

private:
    const wchar_t* m_key;
    HKEY m_handle = nullptr;
    wchar_t m_old[512] = {};
    bool m_hadOld = false;
};

} // namespace

TEST(Win32Platform, FoldersAsTheShellGivesThem)
{
    platform::Folders& folders = platform::nativePlatform().folders;
    const QString roaming = folders.roamingAppData();
    EXPECT_TRUE(roaming.endsWith(QLatin1StringView("\\AppData\\Roaming"), Qt::CaseInsensitive)) << roaming;
    // A 64-bit launcher looks where the 32-bit installers put the products.
    EXPECT_TRUE(folders.programFiles().endsWith(QLatin1StringView(":\\Program Files (x86)"))) << folders.programFiles();
    EXPECT_TRUE(folders.ownExecutablePath().endsWith(QLatin1StringView("\\test_platform.exe"), Qt::CaseInsensitive))
        << folders.ownExecutablePath();
    const QString data = appDataFolder(folders);
    EXPECT_EQ(data, roaming + QStringLiteral("\\Quorvel"));
    EXPECT_TRUE(QFileInfo(data).isDir());
}

TEST(Win32Platform, TheSnapshotSeesAChildByItsExeNameAndEndsItWithCodeZero)
{
    platform::Processes& processes = platform::nativePlatform().processes;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUORVEL_RECORD_STAY_MS"), QStringLiteral("30000"));
    child.setProcessEnvironment(environment);
    child.start(recorder(), QStringList());
    ASSERT_TRUE(child.waitForStarted());
    const auto childPid = std::uint32_t(child.processId());

    bool seenChild = false;
    bool seenSelf = false;
    for (const platform::ProcessEntry& entry : processes.snapshot()) {
        if (entry.pid == childPid)
            seenChild = entry.exeName.compare(QLatin1StringView("quorvel_recorder.exe"), Qt::CaseInsensitive) == 0;
        if (entry.pid == processes.currentProcessId())
            seenSelf = entry.exeName.compare(QLatin1StringView("test_platform.exe"), Qt::CaseInsensitive) == 0;
    }
    EXPECT_TRUE(seenChild);
    EXPECT_TRUE(seenSelf);

    processes.terminate(childPid);
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitCode(), 0);
    // A process that is gone is passed over quietly.
    processes.terminate(childPid);
}

TEST(Win32Platform, TheShellHandsAProgramItsParametersAsWindowsSplitsThem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString record = QDir::toNativeSeparators(dir.filePath(QStringLiteral("arguments.txt")));
    qputenv("QUORVEL_RECORD_FILE", record.toUtf8());
    const QString parameters =
        QStringLiteral(R"(/VERYSILENT "C:\Program Files (x86)\Quorvel\quorvel.exe" a\"b c\\ "d\\" ação)");
    platform::nativePlatform().shell.open(recorder(), parameters);
    const QStringList expected{
        QStringLiteral("/VERYSILENT"), QStringLiteral(R"(C:\Program Files (x86)\Quorvel\quorvel.exe)"),
        QStringLiteral(R"(a"b)"),      QStringLiteral(R"(c\\)"),
        QStringLiteral(R"(d\)"),       QStringLiteral("ação")};
    EXPECT_EQ(recorded(record), expected);
    // The launcher's own split, used by the Linux stand-in, agrees with Windows.
    EXPECT_EQ(platform::splitWindowsArguments(parameters), expected);
    qunsetenv("QUORVEL_RECORD_FILE");
}

TEST(Win32Platform, AWebAddressGoesToTheBrowser)
{
    // The test runner puts a recording browser first on the path and names its record.
    const QString record = qEnvironmentVariable("QUORVEL_BROWSER_RECORD");
    if (record.isEmpty())
        GTEST_SKIP() << "no recording browser (run through the Windows test script)";
    QFile::remove(record);
    platform::nativePlatform().shell.open(QStringLiteral("https://www.quorvel.com.br/contato#chat"), QString());
    EXPECT_EQ(recorded(record), QStringList{QStringLiteral("https://www.quorvel.com.br/contato#chat")});
}

TEST(Win32Platform, TheForegroundWindowsTitleAndTheShiftKey)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs a display";
    platform::Input& input = platform::nativeInput();
    {
        NativeWindow window(L"Instalação do Quorvel Face  ");
        EXPECT_EQ(input.activeWindowCaption(), QStringLiteral("Instalação do Quorvel Face  "));

        // Shift as the keyboard reports it now, while this process has the focus.
        INPUT key = {};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_SHIFT;
        SendInput(1, &key, sizeof key);
        NativeWindow::pump(200);
        EXPECT_TRUE(input.isShiftDown());
        key.ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(1, &key, sizeof key);
        NativeWindow::pump(200);
        EXPECT_FALSE(input.isShiftDown());
    }
}

TEST(Win32Platform, TheReleaseNameComesFromTheRegistry)
{
    const wchar_t* nt = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    const wchar_t* old = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    ProductNameOverride ntName(nt, L"Microsoft Windows 7");
    ProductNameOverride oldName(old, nullptr);
    QString error;
    EXPECT_EQ(platform::windowsProductName(&error), QStringLiteral("Microsoft Windows 7"));
    EXPECT_TRUE(error.isEmpty()) << error;
    EXPECT_TRUE(windows_version::isOldWindowsName(platform::windowsProductName()));

    ntName.set(L"Windows 10 Pro");
    EXPECT_EQ(platform::windowsProductName(), QStringLiteral("Windows 10 Pro"));
    EXPECT_FALSE(windows_version::isOldWindowsName(platform::windowsProductName()));

    // Missing under "Windows NT": the older key is asked; missing there too: no name and no error.
    ntName.set(nullptr);
    oldName.set(L"Windows 8.1 Pro");
    EXPECT_EQ(platform::windowsProductName(), QStringLiteral("Windows 8.1 Pro"));
    oldName.set(nullptr);
    EXPECT_EQ(platform::windowsProductName(&error), QString());
    EXPECT_TRUE(error.isEmpty()) << error;
}

TEST(Win32Platform, TheSystemsVersionReaderAgreesWithTheLaunchersOwn)
{
    const QDir fixtures(QStringLiteral(QUORVEL_VERSION_FIXTURES));
    QStringList files = fixtures.entryList({QStringLiteral("*.exe")}, QDir::Files);
    files.append(QStringLiteral(QUORVEL_DEMO_TOOLS "/libcef.dll"));
    ASSERT_GE(files.size(), 8);
    for (const QString& name : files) {
        const QString path = QDir::toNativeSeparators(fixtures.filePath(name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path;
        const std::optional<QString> system = platform::systemFileVersion(path);
        ASSERT_TRUE(system.has_value());
        EXPECT_EQ(*system, peFileVersion(file.readAll())) << name;
    }
    EXPECT_EQ(platform::systemFileVersion(QStringLiteral("C:\\no\\such\\file.exe")), QString());
}
