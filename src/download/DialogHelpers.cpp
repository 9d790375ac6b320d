// The small operations of the download dialog that the download attempt and the install step share.
#include "common/LauncherState.h"
#include "download/LeftoverFiles.h"
#include "download/Tfrmdl.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/Pause.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QMessageBox>

namespace quorvel {

namespace {

constexpr int kMaxProcessEntries = 501;

// Upper case for the letters a to z only, as the process search compares names.
QString asciiUpper(QString text)
{
    for (QChar& c : text) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return text;
}

} // namespace

void Tfrmdl::shellex(const QString& c, const QString& p)
{
    addLog(QStringLiteral("Executando ") + c + u' ' + p);
    QString parameters = p;
    if (!parameters.isEmpty())
        parameters += u' ' + m_services.platform.folders.ownExecutablePath();
    m_services.platform.shell.open(c, parameters);
}

int Tfrmdl::deleteFiles(const QString& folder, const QString& pattern)
{
    return leftovers::deleteFiles(folder, pattern);
}

void Tfrmdl::deleteOldVersions()
{
    leftovers::deleteOldVersions(dest);
}

bool Tfrmdl::findProcess(const QString& exeName, bool terminate)
{
    platform::Processes& processes = m_services.platform.processes;
    const std::uint32_t own = processes.currentProcessId();
    const QString wanted = asciiUpper(exeName);
    bool found = false;
    int examined = 0;
    for (const platform::ProcessEntry& entry : processes.snapshot()) {
        if (++examined > kMaxProcessEntries)
            break;
        if (entry.pid == own || asciiUpper(platform::fileNamePart(entry.exeName)) != wanted)
            continue;
        found = true;
        if (terminate)
            processes.terminate(entry.pid);
    }
    return found;
}

qint64 Tfrmdl::fileSize(const QString& aFilename)
{
    return leftovers::fileSize(aFilename);
}

void Tfrmdl::sleepapm(unsigned mseconds)
{
    platform::sleepapm(mseconds);
}

QString Tfrmdl::getActiveWindowCaption() const
{
    QString caption = m_services.input.activeWindowCaption();
    while (!caption.isEmpty() && caption.back().unicode() <= 32)
        caption.chop(1);
    return caption;
}

void Tfrmdl::zipmZipDialog(const QString& msg)
{
    zipmsg = msg;
}

void Tfrmdl::showInformation(const QString& text)
{
    QMessageBox::information(this, QApplication::applicationName(), text, QMessageBox::Ok);
}

} // namespace quorvel
