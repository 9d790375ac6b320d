#include "common/ActivityLog.h"

#include "common/QtCompat.h"
#include "platform/Paths.h"

#include <QSaveFile>

namespace quorvel {

ActivityLog::ActivityLog(FolderProvider dataFolder, Clock clock)
    : m_dataFolder(std::move(dataFolder)), m_clock(std::move(clock))
{}

void ActivityLog::setMemoSink(MemoSink sink)
{
    std::lock_guard lock(m_sinkMutex);
    m_memoSink = std::move(sink);
}

QString ActivityLog::formatLine(const QDateTime& when, const QString& text)
{
    return when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) + u' ' + text;
}

void ActivityLog::writeLog(const QString& text)
{
    if (!m_debugMode.load())
        return; // not even the data folder is touched
    const QString line = formatLine(m_clock(), text);

    {
        std::lock_guard lock(m_sinkMutex);
        if (m_memoSink)
            m_memoSink(line);
    }

    std::lock_guard lock(m_fileMutex);
    const QString path = m_dataFolder() + platform::kPathSeparator + QStringLiteral("log.txt");
    // Written aside and renamed, so a reader never sees a half line. Failures leave the old file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(qtcompat::encode(line + QStringLiteral("\r\n"), qtcompat::Encoding::Locale));
    file.commit();
}

namespace {
std::atomic<ActivityLog*> g_activityLog{nullptr};
}

void installActivityLog(ActivityLog* log)
{
    g_activityLog.store(log);
}

void writeLog(const QString& text)
{
    if (ActivityLog* log = g_activityLog.load())
        log->writeLog(text);
}

} // namespace quorvel
