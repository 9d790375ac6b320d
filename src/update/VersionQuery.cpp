#include "update/VersionQuery.h"

#include "common/ActivityLog.h"
#include "common/LatestVersions.h"
#include "common/QtCompat.h"
#include "common/SharedText.h"
#include "common/VendorHost.h"
#include "update/FieldSplit.h"
#include "update/HttpClient.h"
#include "update/VersionAnswer.h"

namespace quorvel {

const QString VersionQuery::kFailureMessage = QStringLiteral(
    "Não foi possível conectar na internet. Verifique se não existe algum firewall ou anti-vírus bloqueando o "
    "acesso.  Seu navegador será aberto para fazer o download do app manualmente.");

VersionQuery::VersionQuery(HttpClient& neth, VersionQueryHost& host, Results results)
    : m_neth(neth), m_host(host), m_results(results)
{}

void VersionQuery::getvint()
{
    QString url = vendorAddress(QStringLiteral("/vrs.php"));
    Outcome outcome = Outcome::failed;
    for (int attemptsLeft = 2; attemptsLeft > 0 && !m_host.windowGone(); --attemptsLeft) {
        if (attempt(url, outcome))
            break;
        // The same host and path over plain http.
        url.replace(QLatin1StringView("https"), QLatin1StringView("http"));
    }
    if (outcome == Outcome::answered || m_host.windowGone())
        return;
    m_host.showConnectionFailure(kFailureMessage);
    writeLog(kFailureMessage);
    m_host.exec(vendorAddress(QStringLiteral("/download?links")));
}

bool VersionQuery::attempt(const QString& url, Outcome& outcome)
{
    outcome = Outcome::failed;
    const HttpReply reply = m_neth.getText(url);
    if (!reply.ok) {
        writeLog(QStringLiteral("gvn ") + url + QStringLiteral(" failed: ") + reply.error);
        return false;
    }
    writeLog(QStringLiteral("gvn ") + url + QStringLiteral(" > ") + reply.body);

    // A reply that is no answer (an error page, say) is not asked again.
    if (version_answer::isAccepted(reply.body)) {
        const QString body = version_answer::withSecureLinks(reply.body);
        if (!version_answer::storeFields(splitFields(body), m_results.latest, m_results.showWhats)) {
            writeLog(QStringLiteral("gvn ") + url + QStringLiteral(": the answer holds fewer fields than expected"));
            return false;
        }
        showAdvertisement(body);
        outcome = Outcome::answered;
    }
    m_host.checkVrm();
    return true;
}

void VersionQuery::showAdvertisement(const QString& body)
{
    const auto ad = version_answer::advertisement(body);
    if (!ad)
        return;
    m_results.adLink.set(ad->link);
    m_host.prepareAdvertisement();
    for (const QChar character : ad->text) {
        if (m_host.windowGone())
            return;
        m_host.typeAdvertisement(character);
        m_host.pauseBetweenCharacters();
    }
}

} // namespace quorvel
