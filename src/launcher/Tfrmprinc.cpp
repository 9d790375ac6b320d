#include "launcher/Tfrmprinc.h"

#include "common/ActivityLog.h"
#include "common/DataFolder.h"
#include "common/GuiHandOff.h"
#include "common/QtCompat.h"
#include "common/WebAddress.h"
#include "download/Tfrmdl.h"
#include "launch/Catalogue.h"
#include "launcher/LazyPicture.h"
#include "launcher/MainWindowLayout.h"
#include "launcher/TGetVinThread.h"
#include "launcher/Tag.h"
#include "launcher/VersionQuerySteps.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/Pause.h"
#include "platform/Platform.h"
#include "update/HttpClient.h"
#include "update/VersionNumbers.h"
#include "update/VersionQuery.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QThread>
#include <array>

namespace quorvel {

namespace {

constexpr int kClientWidth = 861;
constexpr int kClientHeight = 702;
constexpr int kRevealStepMs = 30;
constexpr int kLogoGrowth = 70;

QTimer* makeTimer(QObject* owner, const char* name, int intervalMs, bool singleShot)
{
    auto* timer = new QTimer(owner);
    timer->setObjectName(QLatin1StringView(name));
    timer->setInterval(intervalMs);
    timer->setSingleShot(singleShot);
    return timer;
}

} // namespace

Tfrmprinc::Tfrmprinc(Services services, const QStringList& arguments, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_services(services), m_arguments(arguments),
      m_processControl(services.platform.processes, services.platform.shell, &platform::sleepapm),
      m_timer1(makeTimer(this, "Timer1", 100, true)), m_tshow(makeTimer(this, "tshow", 100, true)),
      m_tauto(makeTimer(this, "tauto", 4000, true)), m_timer2(makeTimer(this, "Timer2", 500, false)),
      m_tclose(makeTimer(this, "tclose", 2000, false)), m_popupMenu1(new QMenu(this)),
      m_neth(std::make_unique<HttpClient>()), m_handOff(std::make_shared<GuiHandOff>(this))
{
    setObjectName(QStringLiteral("frmprinc"));
    setWindowTitle(QStringLiteral(" Quorvel"));
    setFixedSize(kClientWidth, kClientHeight);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    QFont tahoma = font();
    tahoma.setFamily(QStringLiteral("Tahoma"));
    setFont(tahoma);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_elements = buildMainWindowElements(this);
    m_tileGrid = std::make_unique<TileGrid>(
        TileGrid::Services{*this, m_state, services.platform.folders, services.platform.files, services.input});
    m_footer = std::make_unique<Footer>(*this, m_state, *m_tileGrid);

    m_launchDecision = std::make_unique<LaunchDecision>(
        LaunchDecision::Services{*this, services.platform, services.input, &platform::sleepapm, services.fileVersion,
                                 [this] { return appDataFolder(m_services.platform.folders); }});
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* atualizar = m_popupMenu1->addAction(QStringLiteral("Atualizar"));
    atualizar->setObjectName(QStringLiteral("Atualizar1"));
    QAction* fechar = m_popupMenu1->addAction(QStringLiteral("Fechar"));
    fechar->setObjectName(QStringLiteral("Fechar1"));
    // Queued: the menu must be closed before a run opens its own waits and dialogs.
    for (QAction* item : {atualizar, fechar})
        connect(
            item, &QAction::triggered, this, [this, item] { img_mktClick(item); }, Qt::QueuedConnection);
    bindElementEvents();

    connect(m_timer1, &QTimer::timeout, this, &Tfrmprinc::Timer1Timer);
    connect(m_tshow, &QTimer::timeout, this, &Tfrmprinc::tshowTimer);
    connect(m_tauto, &QTimer::timeout, this, &Tfrmprinc::tautoTimer);
    connect(m_tclose, &QTimer::timeout, this, &Tfrmprinc::tcloseTimer);
    connect(m_timer2, &QTimer::timeout, this, &Tfrmprinc::Timer2Timer);

    FormCreate();

    // The start-up timers count from the window's creation.
    m_timer1->start();
    m_tshow->start();
    m_tauto->start();
}

void Tfrmprinc::setVisible(bool visible)
{
    QWidget::setVisible(visible); // maps the window
    if (visible)
        showOnScreenParts(m_elements);
}

QWidget* Tfrmprinc::findComponent(const QString& name) const
{
    for (QWidget* component : m_elements.components) {
        if (component->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return component;
    }
    return nullptr;
}

void Tfrmprinc::FormCreate()
{
    m_state.lang = QStringLiteral("por");

    // A newer launcher replaces any copy still running.
    checkProcess(platform::fileNamePart(m_services.platform.folders.ownExecutablePath()), true);

    m_tileGrid->centerLogo();
    m_tileGrid->centraliza();

    m_state.debugMode = m_services.input.isShiftDown();
    m_services.log.setDebugMode(m_state.debugMode);

    QWidget* footer = findChild<QWidget*>(QStringLiteral("pfooter"));
    QWidget* shape1 = findChild<QWidget*>(QStringLiteral("Shape1"));
    shape1->resize(shape1->width(), footer->height() - 1);

    m_state.showWhats = true;

    const auto argument = [this](int position) { return m_arguments.value(position - 1); };
    m_state.startSoft = argument(1);
    m_state.startParam2 = argument(2);
    m_state.startParam3 = u'"' + argument(3) + u'"';
    m_state.startParam4 = argument(4);

    m_tileGrid->adjustBarAt125();

    if (m_state.debugMode) {
        m_services.log.writeLog(QStringLiteral("Application start"));
        setWindowTitle(windowTitle() + QStringLiteral(" (Debug)"));
    }
}

void Tfrmprinc::Timer1Timer()
{
    m_timer1->stop();
    getvin();
}

void Tfrmprinc::tshowTimer()
{
    m_tshow->stop();
    if (!m_state.showWhats.load())
        m_tileGrid->dshz(false);
    showOnScreenParts(m_elements); // a no-op once the window has been shown
    findChild<QWidget*>(QStringLiteral("ploading"))->hide();

    auto* logo = findChild<QLabel*>(QStringLiteral("img_quor"));
    for (QWidget* component : std::as_const(m_elements.components)) {
        if (tagOf(component) == 0)
            continue;
        revealElement(component);
        // A plain sleep, not a pumping pause: the tiles appear one by one and nothing else runs meanwhile.
        QThread::msleep(kRevealStepMs);
        if (logo->width() < pictureSizeOf(logo).width()) {
            logo->resize(logo->width() + kLogoGrowth, logo->height());
            logo->repaint();
        }
        repaint();
    }

    for (const char* name : {"img_fale", "img_comprar", "img_videos"}) {
        auto* picture = findChild<QLabel*>(QLatin1StringView(name));
        picture->resize(pictureSizeOf(picture).width(), picture->height());
    }

    firstArgumentDispatch();
}

void Tfrmprinc::revealElement(QWidget* element)
{
    // Images, captions and panels: every tagged element of this window is one of these.
    element->setVisible(true);
}

void Tfrmprinc::firstArgumentDispatch()
{
    const CatalogueRow* row = catalogue::rowByArgumentWord(m_arguments.value(0));
    if (!row)
        return;
    if (QWidget* image = findChild<QWidget*>(QStringLiteral("img_") + QString(row->tileSuffix)))
        img_mktClick(image);
}

void Tfrmprinc::tautoTimer()
{
    m_tauto->stop();
    if (m_state.startSoft.isEmpty())
        return;
    if (m_state.debugMode) {
        QMessageBox::about(this, QApplication::applicationName(),
                           m_state.startSoft + QStringLiteral(" / ") + m_state.startParam2 + QStringLiteral(" / ") +
                               m_state.startParam3 + QStringLiteral(" / ") + m_state.startParam4);
    }
    if (m_state.startSoft == QLatin1StringView("messages"))
        m_state.startSoft = QStringLiteral("whats");
    if (QWidget* image = findComponent(QStringLiteral("img_") + m_state.startSoft))
        img_mktClick(image);
}

void Tfrmprinc::tcloseTimer()
{
    // The program waits for an open download dialog and ends at the first tick after it has closed.
    if (m_state.frmdl)
        return;
    m_tclose->stop();
    QCoreApplication::quit();
}

void Tfrmprinc::img_mktClick(QObject* sender)
{
    if (m_launchOverride)
        m_launchOverride(sender);
    else
        m_launchDecision->img_mktClick(sender);
}

void Tfrmprinc::Timer2Timer()
{
    m_launchDecision->Timer2Timer();
}

void Tfrmprinc::checkVrm()
{
    if (!launcherUpdateNeeded(m_state.latest.get(VersionSlot::vrsMenu)))
        return;
    // Timers belong to the window's thread; the version answer arrives on a worker.
    QMetaObject::invokeMethod(m_timer2, qOverload<>(&QTimer::start), Qt::QueuedConnection);
}

void Tfrmprinc::bindElementEvents()
{
    for (const CatalogueRow& row : catalogue::rows()) {
        if (!row.hasTile())
            continue;
        for (const QString& prefix : {QStringLiteral("img_"), QStringLiteral("label_")})
            m_tileElements.append(findChild<QWidget*>(prefix + row.tileSuffix));
    }
    const char* others[] = {"img_quor", "img_ia", "Panel3",      "back",   "Shape1",     "Label2",
                            "img_fale", "Label4", "img_comprar", "label3", "img_videos", "labelad"};
    QList<QObject*> watched = m_tileElements;
    for (const char* name : others)
        watched.append(findChild<QWidget*>(QLatin1StringView(name)));
    for (QObject* object : watched) {
        auto* widget = static_cast<QWidget*>(object);
        widget->setMouseTracking(true); // hover follows plain moves, not only drags
        widget->installEventFilter(this);
    }
}

void Tfrmprinc::hover(QObject* element)
{
    if (m_tileGrid->isChangingSelection())
        return;
    const QString name = element->objectName();
    if (m_tileElements.contains(element) || name == QLatin1StringView("img_quor"))
        m_tileGrid->focusSoft(element, false);
    else if (name == QLatin1StringView("Panel3") || name == QLatin1StringView("back"))
        m_tileGrid->resetLabels(element);
    else if (Footer::hasHover(element))
        m_footer->hover(element);
    // labelad and img_ia have no hover of their own: the highlight before them stays.
}

bool Tfrmprinc::isClickable(QObject* element) const
{
    const QString name = element->objectName();
    return m_tileElements.contains(element) || name == QLatin1StringView("labelad") ||
           !m_footer->clickTarget(element).isEmpty();
}

void Tfrmprinc::click(QObject* element)
{
    if (m_tileElements.contains(element)) {
        img_mktClick(element);
        return;
    }
    const QString target = m_footer->clickTarget(element);
    // An advertisement that has not arrived opens nothing. Its link comes from the network, perhaps over plain
    // http: only a web address reaches the shell, never a program, a path or a share.
    if (target.isEmpty())
        return;
    if (!isHttpsWebAddress(target)) {
        writeLog(QStringLiteral("Link não aberto : ") + target);
        return;
    }
    exec(target);
}

bool Tfrmprinc::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter: {
        // The pointer entering a child enters its containers too; only the element on top takes the hover, as
        // the selection frame takes it over the container around the tiles.
        const auto* enter = static_cast<QEnterEvent*>(event);
        if (!static_cast<QWidget*>(watched)->childAt(qtcompat::eventPosition(enter).toPoint()))
            hover(watched);
        break;
    }
    case QEvent::MouseMove:
        hover(watched);
        // Handled here: passed on, the move would reach the container and clear the selection again.
        return true;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // Taken here, so the press does not travel on to the container and count as pressed there.
        if (mouse->button() == Qt::LeftButton && isClickable(watched)) {
            m_pressed = watched;
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::RightButton && m_tileElements.contains(watched) &&
            widget->objectName().startsWith(u"img_")) {
            showTilePopup(widget, qtcompat::eventPosition(mouse).toPoint());
            return true;
        }
        // A click is a press and a release on the same element, as the user expects of a button.
        const bool clicked = mouse->button() == Qt::LeftButton && m_pressed == watched &&
                             widget->rect().contains(qtcompat::eventPosition(mouse).toPoint());
        m_pressed = nullptr;
        if (clicked) {
            // Queued: a run's waits and dialogs must not start inside the element's own mouse event.
            QMetaObject::invokeMethod(
                this,
                [this, target = QPointer<QObject>(watched)] {
                    if (target)
                        click(target);
                },
                Qt::QueuedConnection);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void Tfrmprinc::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        m_tileGrid->setSoft(-1);
        break;
    case Qt::Key_Right:
        m_tileGrid->setSoft(1);
        break;
    case Qt::Key_Up:
        m_tileGrid->setSoft(-4);
        break;
    case Qt::Key_Down:
        m_tileGrid->setSoft(4);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_state.currentSoft.isEmpty()) {
            if (QWidget* image = findChild<QWidget*>(QStringLiteral("img_") + m_state.currentSoft))
                img_mktClick(image);
        }
        break;
    case Qt::Key_Z: {
        QWidget* messages = findChild<QWidget*>(QStringLiteral("img_whats"));
        if (messages->isHidden()) {
            m_tileGrid->dshz(true);
            img_mktClick(messages);
        }
        break;
    }
    default:
        QWidget::keyPressEvent(event);
    }
}

void Tfrmprinc::showTilePopup(QWidget* image, const QPoint& localPos)
{
    m_popupMenu1->popup(image->mapToGlobal(localPos));
}

bool Tfrmprinc::checkProcess(const QString& procname, bool terminate)
{
    return m_processControl.checkProcess(procname, terminate);
}

void Tfrmprinc::exec(const QString& l)
{
    m_processControl.exec(l, forwardedParameters(m_state.startParam2, m_state.startParam3, m_state.startParam4),
                          [this] { hide(); });
}

void Tfrmprinc::mdl(const QString& s)
{
    QMessageBox::information(this, QApplication::applicationName(), s, QMessageBox::Ok);
}

void Tfrmprinc::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program, whatever other windows are still around.
    event->accept();
    QCoreApplication::quit();
}

QWidget* Tfrmprinc::panel3()
{
    return findChild<QWidget*>(QStringLiteral("Panel3"));
}

void Tfrmprinc::closeMainWindow()
{
    close();
}

void Tfrmprinc::startCloseTimer()
{
    m_tclose->start();
}

void Tfrmprinc::stopSelfUpdateTimer()
{
    m_timer2->stop();
}

void Tfrmprinc::showDownloadDialog(const DialogSettings& settings)
{
    auto* dialog = new Tfrmdl({m_state, m_services.platform, m_services.input, m_services.log}, this);
    m_state.frmdl = dialog;
    dialog->cef_version = settings.cef_version;
    dialog->isReinstall = settings.isReinstall;
    dialog->isUpdate = settings.isUpdate;
    dialog->silent = settings.silent;
    dialog->incrementNextVersion = settings.incrementNextVersion;
    dialog->setsource(settings.source);
    dialog->setdest(settings.dest);
    dialog->setTimings(m_services.dialogTimings);
    // The dialog deletes itself when it closes and clears frmdl.
    dialog->exec();
}

// --- The version query: started by Timer1, run on its own worker. ---

void Tfrmprinc::getvin()
{
    auto* thread = new TGetVinThread(*this);
    m_getVinThread = thread;
    thread->start();
}

void Tfrmprinc::getvint(TGetVinThread*)
{
    VersionQuerySteps steps(*this, m_handOff);
    VersionQuery(*m_neth, steps, {m_state.latest, m_state.showWhats, m_state.adLink}).getvint();
}

Tfrmprinc::~Tfrmprinc()
{
    // A query still running is abandoned: its window steps are dropped and its transfer ends, so the worker is
    // gone before the state it writes.
    m_handOff->shutDown();
    m_neth->cancel();
    if (m_getVinThread)
        m_getVinThread->wait();
}

} // namespace quorvel
