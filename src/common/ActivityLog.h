#pragma once

#include <QDateTime>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>

namespace quorvel {

// The diagnostic file log: silent unless the user held Shift at start-up. "log.txt" in the data folder holds only
// the newest line; an open download dialog's memo keeps the history. Safe to call from any thread.
class ActivityLog
{
public:
    using FolderProvider = std::function<QString()>;
    using Clock = std::function<QDateTime()>;
    // Receives every written line; it must itself be safe to call from any thread (the dialog queues to its memo).
    using MemoSink = std::function<void(const QString& line)>;

    explicit ActivityLog(FolderProvider dataFolder, Clock clock = &QDateTime::currentDateTime);

    void setDebugMode(bool on) { m_debugMode.store(on); }
    bool debugMode() const { return m_debugMode.load(); }

    void setMemoSink(MemoSink sink);

    void writeLog(const QString& text);

    // "dd/mm/yyyy hh:nn:ss text"
    static QString formatLine(const QDateTime& when, const QString& text);

private:
    FolderProvider m_dataFolder;
    Clock m_clock;
    std::atomic<bool> m_debugMode{false};
    std::mutex m_sinkMutex;
    MemoSink m_memoSink;
    std::mutex m_fileMutex; // two threads may log at once; the file must end up holding one whole line
};

// The launcher's log, installed by the program entry; writeLog is a no-op while none is installed.
void installActivityLog(ActivityLog* log);
void writeLog(const QString& text);

} // namespace quorvel
