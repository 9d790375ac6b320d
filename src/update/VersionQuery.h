#pragma once

#include <QString>
#include <atomic>

namespace quorvel {

class HttpClient;
class LatestVersions;
class SharedText;

// The steps of the version query that touch the window. The query runs on a worker; an implementation carries each
// step out on the window's thread and returns when it is done. Once the window is going away, steps are dropped and
// `windowGone` turns true, so the worker stops early.
class VersionQueryHost
{
public:
    virtual ~VersionQueryHost() = default;
    virtual void prepareAdvertisement() = 0; // the footer shape grows to hold the advertisement line
    virtual void typeAdvertisement(QChar character) = 0;
    virtual void checkVrm() = 0;
    virtual void showConnectionFailure(const QString& message) = 0; // returns when the user has closed it
    virtual void exec(const QString& address) = 0;
    virtual bool windowGone() const = 0;
    // The pause between two typed characters, spent on the worker.
    virtual void pauseBetweenCharacters() = 0;
};

// The launcher's one question to the vendor's service per run: "/vrs.php" over https, once more over http after an
// error. Fills the latest versions, the Messages flag and the advertisement; tells the user and opens the manual
// download page when no answer can be had.
class VersionQuery
{
public:
    struct Results
    {
        LatestVersions& latest;
        std::atomic<bool>& showWhats;
        SharedText& adLink;
    };

    static const QString kFailureMessage;

    VersionQuery(HttpClient& neth, VersionQueryHost& host, Results results);

    // Runs on the worker; returns when the query has answered or failed.
    void getvint();

private:
    enum class Outcome
    {
        answered,
        failed,
    };
    // One attempt; false when it ended in an error (which the next attempt may mend).
    bool attempt(const QString& url, Outcome& outcome);
    void showAdvertisement(const QString& body);

    HttpClient& m_neth;
    VersionQueryHost& m_host;
    Results m_results;
};

} // namespace quorvel
