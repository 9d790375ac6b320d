#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>

namespace quorvel {

class LatestVersions;

// The parts of the "/vrs.php" answer that the launcher reads.
namespace version_answer {

// The answer counts only when it starts with "ok", exactly so.
bool isAccepted(const QString& body);

// Every "http://" in the answer becomes "https://" before anything is read from it.
QString withSecureLinks(QString body);

// Stores the latest versions (fields 1 to 11, then 13) in field order, then the Messages flag from field 42's fourth
// character. Returns false at the first missing field; what was stored before it stays.
bool storeFields(const QStringList& fields, LatestVersions& latest, std::atomic<bool>& showWhats);

struct Advertisement
{
    QString text; // typed into the footer
    QString link; // opened by a click on it
};

// The section after the first "ad;": prefix|text|link, with an optional final ";". Nothing when there is no "ad;".
std::optional<Advertisement> advertisement(const QString& body);

} // namespace version_answer

} // namespace quorvel
