#pragma once

#include "platform/Input.h"
#include "platform/Platform.h"

#include <QList>
#include <QPair>
#include <QString>
#include <map>
#include <vector>

namespace quorvel::fakes {

class FakeFolders : public platform::Folders
{
public:
    QString roaming;
    QString programFilesFolder = QStringLiteral("/opt");
    QString ownExe = QStringLiteral("/usr/bin/quorvel");

    QString roamingAppData() const override { return roaming; }
    QString programFiles() const override { return programFilesFolder; }
    QString ownExecutablePath() const override { return ownExe; }
};

// A process list that terminations actually change, so repeated searches see the effect.
class FakeProcesses : public platform::Processes
{
public:
    std::vector<platform::ProcessEntry> running;
    std::uint32_t self = 1;
    std::vector<std::uint32_t> terminated;
    bool refuseTermination = false;
    int snapshots = 0;

    std::vector<platform::ProcessEntry> snapshot() const override
    {
        ++const_cast<FakeProcesses*>(this)->snapshots;
        return running;
    }
    std::uint32_t currentProcessId() const override { return self; }
    void terminate(std::uint32_t pid) override
    {
        terminated.push_back(pid);
        if (refuseTermination)
            return;
        std::erase_if(running, [pid](const platform::ProcessEntry& e) { return e.pid == pid; });
    }
};

class FakeShell : public platform::Shell
{
public:
    QList<QPair<QString, QString>> opened; // target, parameters
    void open(const QString& target, const QString& parameters) override { opened.append({target, parameters}); }
};

class FakeFiles : public platform::Files
{
public:
    std::map<QString, std::int64_t> present;
    bool exists(const QString& path) const override { return present.contains(path); }
    std::int64_t size(const QString& path) const override
    {
        const auto it = present.find(path);
        return it == present.end() ? -1 : it->second;
    }
    void remove(const QString& path) override { present.erase(path); }
    void makeExecutable(const QString&) override {}
};

class FakeInput : public platform::Input
{
public:
    bool shift = false;
    QList<QPoint> pointerMoves;
    bool isShiftDown() const override { return shift; }
    void setPointerPos(const QPoint& globalPos) override { pointerMoves.append(globalPos); }
    QString foregroundTitle;
    QString activeWindowCaption() const override { return foregroundTitle; }
};

struct FakePlatform
{
    FakeFolders folders;
    FakeProcesses processes;
    FakeShell shell;
    FakeFiles files;
    platform::Platform platform{folders, processes, shell, files};
};

} // namespace quorvel::fakes
