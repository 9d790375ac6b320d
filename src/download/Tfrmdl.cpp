#include "download/Tfrmdl.h"

#include "common/ActivityLog.h"
#include "common/DataFolder.h"
#include "common/LauncherState.h"
#include "common/QtCompat.h"
#include "common/VendorHost.h"
#include "common/WindowsVersion.h"
#include "download/DownloadChannel.h"
#include "download/LinkList.h"
#include "download/OffGuiThread.h"
#include "download/TDLThread.h"
#include "launcher/Artwork.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "update/FieldSplit.h"
#include "update/HttpClient.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMovie>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <limits>

namespace quorvel {

namespace {

constexpr int kClientWidth = 366;
constexpr int kClientHeight = 231;
constexpr int kProgressHeight = 20;
constexpr int kWorkingAboveCentre = 25;
constexpr int kTimeoutMs = 30 * 60 * 1000;

QTimer* makeTimer(QObject* owner, const char* name, int intervalMs)
{
    auto* timer = new QTimer(owner);
    timer->setObjectName(QLatin1StringView(name));
    timer->setInterval(intervalMs);
    return timer;
}

} // namespace

Tfrmdl::Tfrmdl(Services services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_services(services), m_working(new QLabel(this)), m_progressBar(new QProgressBar(this)),
      m_memolog(new QPlainTextEdit(this)), m_tdl(makeTimer(this, "tdl", 500)),
      m_ttimeout(makeTimer(this, "ttimeout", kTimeoutMs)), m_timer1(makeTimer(this, "Timer1", 1000)),
      m_neth(std::make_unique<HttpClient>()), m_readProductName(&platform::windowsProductName)
{
    setObjectName(QStringLiteral("frmdl"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);

    m_working->setObjectName(QStringLiteral("working"));
    m_working->setGeometry(23, -30, 320, 240);

    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setGeometry(0, kClientHeight - kProgressHeight, kClientWidth, kProgressHeight);
    m_progressBar->setRange(0, 100);
    m_progressBar->setTextVisible(false);
    m_progressBar->hide();

    // Below the visible area until the first logged line brings it up.
    m_memolog->setObjectName(QStringLiteral("memolog"));
    m_memolog->setGeometry(0, 2000, 415, 169);
    m_memolog->setReadOnly(true);
    m_memolog->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memolog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memolog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The dialog itself keeps the keyboard, so Escape always reaches it.
    m_memolog->setFocusPolicy(Qt::NoFocus);
    m_memolog->viewport()->installEventFilter(this);

    connect(m_tdl, &QTimer::timeout, this, &Tfrmdl::tdlTimer);
    connect(m_ttimeout, &QTimer::timeout, this, &Tfrmdl::ttimeoutTimer);
    connect(m_timer1, &QTimer::timeout, this, &Tfrmdl::Timer1Timer);

    FormCreate();
    m_ttimeout->start();

    // Launcher log lines also go to the memo of the open dialog, from whatever thread writes them.
    m_services.log.setMemoSink([this](const QString& line) {
        QMetaObject::invokeMethod(
            this, [this, line] { appendToMemo(line); }, Qt::QueuedConnection);
    });
}

Tfrmdl::~Tfrmdl()
{
    // A worker still fetching is told to stop; its reports no longer reach this dialog, and nobody waits for it.
    retireWorker();
    // Waits for a line being handed over right now; later lines find no dialog.
    m_services.log.setMemoSink(nullptr);
    if (m_services.state.frmdl == this)
        m_services.state.frmdl = nullptr;
}

void Tfrmdl::FormCreate()
{
    if (gifLoadFromResource(m_working, QStringLiteral("working"))) {
        // The frame size is known only once a frame has been decoded.
        m_working->movie()->jumpToFrame(0);
        const QSize picture = m_working->movie()->currentImage().size();
        m_working->resize(picture);
        const QSize outer = frameGeometry().size();
        m_working->move((outer.width() - picture.width()) / 2,
                        (outer.height() - picture.height()) / 2 - kWorkingAboveCentre);
        m_working->movie()->start();
    }
    silent = false;
    isUpdate = true;
    incrementNextVersion = true;
    ldlLinks[0] = vendorAddress(QStringLiteral("/ldl.php"));
    dbg = m_services.input.isShiftDown();
    corCount = 0;
    erroExecInstall = 0;
    inicio = QDateTime::currentDateTime();
    isReinstall = false;
}

Tfrmdl::LinkGroup* Tfrmdl::linkGroup(const QString& name)
{
    const std::pair<const char*, LinkGroup*> groups[] = {
        {"linkh", &linkh}, {"linkf", &linkf}, {"linkt", &linkt}, {"linki", &linki},
        {"linkw", &linkw}, {"linkl", &linkl}, {"linkk", &linkk}, {"linku", &linku},
        {"links", &links}, {"linkm", &linkm}, {"linko", &linko},
    };
    for (const auto& [groupName, group] : groups) {
        if (name == QLatin1StringView(groupName))
            return group;
    }
    return nullptr;
}

void Tfrmdl::setsource(const QString& s)
{
    source = s;
    source_name = s;
    if (source_name == QLatin1StringView("whats"))
        source_name = QStringLiteral("Messages");
    if (!source_name.isEmpty())
        source_name[0] = source_name.at(0).toUpper();
    if (source_name == QLatin1StringView("Lx"))
        source_name = QStringLiteral("LX");
    else if (source_name == QLatin1StringView("Sms"))
        source_name = QStringLiteral("SMS");
    setdest(appDataFolder(m_services.platform.folders) + platform::kPathSeparator + QStringLiteral("quor") + s +
            QStringLiteral(".zip"));
}

void Tfrmdl::setdest(const QString& s)
{
    dest = s;
    const QLatin1StringView zip(".zip");
    if (dest.contains(zip))
        dest.replace(zip, u'_' + getNextVersion() + zip);
}

QString Tfrmdl::getNextVersion() const
{
    QString digits = m_services.state.launchVersion;
    if (digits.isEmpty())
        return {};
    digits.remove(u'.');
    bool isNumber = false;
    qlonglong n = digits.toLongLong(&isNumber);
    const bool increment = isUpdate && incrementNextVersion && !isReinstall;
    // A version that is no number once its points are gone names the archive with 0; so does one whose digits go
    // beyond what the number can hold (the conversion refuses those), even by the one the update adds.
    if (!isNumber || (increment && n == std::numeric_limits<qlonglong>::max()))
        n = 0;
    if (increment)
        ++n;
    return QString::number(n);
}

void Tfrmdl::setDlResult(TDLResult d)
{
    m_services.state.dlResultCode.store(d);
    const QString text = outcomeText(d);
    if (!text.isEmpty())
        m_services.state.dlOutcome.set(text);
}

void Tfrmdl::addLog(const QString& text)
{
    if (!dbg)
        return;
    if (QThread::currentThread() == thread()) {
        appendToMemo(text);
        return;
    }
    // Queued calls from one thread arrive in the order they were made.
    QMetaObject::invokeMethod(
        this, [this, text] { appendToMemo(text); }, Qt::QueuedConnection);
}

void Tfrmdl::appendToMemo(const QString& text)
{
    m_memolog->move(0, 0);
    m_memolog->appendPlainText(text);
}

void Tfrmdl::ajCp()
{
    if (source == QLatin1StringView("nav"))
        setWindowTitle(QStringLiteral("Atualizando navegador , aguarde..."));
    else if (isUpdate)
        setWindowTitle(QStringLiteral(" Atualizando ") + source_name + QStringLiteral(", aguarde..."));
    else
        setWindowTitle(QStringLiteral(" Baixando ") + source_name + QStringLiteral(", aguarde..."));
    m_progressBar->show();
}

void Tfrmdl::closeOtherForms()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const QString name = window->objectName();
        if (window->isVisible() && name != QLatin1StringView("frmprinc") && name != QLatin1StringView("frmdl"))
            window->close();
    }
}

bool Tfrmdl::gifLoadFromResource(QLabel* im, const QString& resName)
{
    registerArtwork();
    auto movie = std::make_unique<QMovie>(QStringLiteral(":/") + resName + QStringLiteral(".gif"), QByteArray("gif"));
    if (!movie->isValid()) {
        const QString reason = movie->lastErrorString().isEmpty() ? resName : movie->lastErrorString();
        addLog(QStringLiteral("Error while loading GIF image from resource: ") + reason);
        return false;
    }
    movie->setParent(im);
    im->setMovie(movie.release());
    return true;
}

void Tfrmdl::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tfrmdl::FormShow()
{
    ajCp();
    m_tdl->start();
}

void Tfrmdl::tdlTimer()
{
    BusyScope busy(*this);
    m_tdl->stop();
    getLinks();
    closeOtherForms();
    startDownload();
}

void Tfrmdl::keyPressEvent(QKeyEvent* event)
{
    // Not passed on: the dialog's own Escape handling would close it without asking.
    FormKeyDown(event);
}

void Tfrmdl::FormKeyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape)
        return;
    const auto answer = QMessageBox::question(this, QApplication::applicationName(),
                                              QStringLiteral("Deseja cancelar ?"), QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes && m_services.state.frmdl)
        m_services.state.frmdl->close();
}

bool Tfrmdl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_memolog->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        memologDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrmdl::memologDblClick()
{
    close();
}

void Tfrmdl::closeEvent(QCloseEvent* event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void Tfrmdl::FormClose()
{
    if (m_services.state.frmdl == this)
        m_services.state.frmdl = nullptr;
}

bool Tfrmdl::event(QEvent* event)
{
    // A close during a wait asks for deletion from inside the wait; it is carried out once the step is over.
    if (event->type() == QEvent::DeferredDelete && m_busy > 0) {
        m_deleteWhenIdle = true;
        return true;
    }
    return QDialog::event(event);
}

bool Tfrmdl::getLinks()
{
    BusyScope busy(*this);
    totalThreads = 0;
    bool result = false;
    QString url = ldlLinks[0];
    url.replace(u' ', QLatin1StringView("%20"));
    if (url.isEmpty())
        return false;

    for (int attempt = 0; attempt < 3 && !m_ending; ++attempt) {
        addLog(QStringLiteral("$gtlks ") + url);
        HttpClient& neth = *m_neth;
        // Ended early only when the program is ending: the request is cancelled rather than waited for.
        const HttpReply reply = runOffGuiThread([&neth, url] { return neth.getText(url); }, [&neth] { neth.cancel(); });
        if (m_ending)
            break;
        QString error = reply.error;
        if (reply.ok) {
            addLog(QStringLiteral("$gtlks >") + reply.body);
            if (!link_list::isAccepted(reply.body))
                continue;
            result = true;
            addLog(QStringLiteral("Links obtidos de : ") + url);
            // Over plain http anyone on the way may have written the list: only the vendor's own hosts count.
            const bool plain = url.startsWith(QLatin1StringView("http:"), Qt::CaseInsensitive);
            const link_list::ReadLinks read = link_list::readLinks(splitFields(reply.body));
            for (link_list::StoredLink stored : read.links) {
                if (plain && !stored.link.isEmpty() && !isVendorLink(stored.link)) {
                    addLog(QStringLiteral("Link recusado (lista sem https) : ") + stored.link);
                    stored.link.clear();
                }
                (*linkGroup(stored.group))[0] = stored.link;
            }
            if (read.complete) {
                ++totalThreads;
                break;
            }
            error = read.error;
        }
        addLog(QStringLiteral("Erro ao obter links : ") + url + u' ' + error);
        // A TLS failure may be the machine's (an old system, a proxy): try plain http; anything else, back to https.
        if (error.toLower().contains(QLatin1StringView("ssl")) && url.contains(QLatin1StringView("https")))
            url.replace(QLatin1StringView("https:"), QLatin1StringView("http:"));
        else
            url.replace(QLatin1StringView("http:"), QLatin1StringView("https:"));
    }
    return result;
}

QString Tfrmdl::chooseLink()
{
    if (source == QLatin1StringView("nav"))
        return link_list::browserApplicationLink(isOldWin(), cef_version);
    const QLatin1StringView group = link_list::groupFor(source);
    const QString link = group.isEmpty() ? QString() : (*linkGroup(group))[0];
    return link_list::secureLink(link);
}

QString Tfrmdl::winversion()
{
    return windows_version::winversion(appDataFolder(m_services.platform.folders), m_readProductName,
                                       [this](const QString& line) { addLog(line); });
}

bool Tfrmdl::isOldWin()
{
    const QString name = winversion();
    const bool old = windows_version::isOldWindowsName(name);
    addLog(QStringLiteral("isOldwin ") + name + QStringLiteral(" = ") + bool2str(old));
    return old;
}

QString Tfrmdl::bool2str(bool value)
{
    return windows_version::bool2str(value);
}

void Tfrmdl::setTimings(const Timings& timings)
{
    m_timings = timings;
    m_timer1->setInterval(timings.monitorTickMs);
    // The time-out still counts from the dialog's creation.
    m_ttimeout->start(std::max(0, timings.timeoutMs - int(inicio.msecsTo(QDateTime::currentDateTime()))));
}

} // namespace quorvel
