#include "support/VendorService.h"

#include "support/TempEnv.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QThread>
#include <gtest/gtest.h>

namespace quorvel::fakes {

namespace {
constexpr bool kDetached = QUORVEL_SERVICE_DETACHED;
} // namespace

VendorService::VendorService()
{
    m_config.insert(QStringLiteral("routes"), QJsonObject());
    writeConfig();
    QFile(leaseFile()).open(QIODevice::WriteOnly);
    const QString ready = m_dir.filePath(QStringLiteral("ready.json"));
    const QStringList arguments{QStringLiteral(QUORVEL_VENDOR_SERVICE),
                                QStringLiteral("--config"),
                                m_dir.filePath(QStringLiteral("config.json")),
                                QStringLiteral("--log"),
                                m_dir.filePath(QStringLiteral("requests.log")),
                                QStringLiteral("--ready"),
                                ready,
                                QStringLiteral("--cert-dir"),
                                m_dir.filePath(QStringLiteral("cert")),
                                QStringLiteral("--while-exists"),
                                leaseFile()};
    if (kDetached) {
        // Under Wine a process of this machine is never seen to end, and QProcess would wait 30 s for it when
        // destroyed: the service is started detached and ended by its lease alone.
        if (!QProcess::startDetached(QStringLiteral(QUORVEL_PYTHON), arguments)) {
            ADD_FAILURE() << "the vendor service could not be started";
            return;
        }
    } else {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QUORVEL_PYTHON), arguments);
    }
    // Making the certificate takes a moment.
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(ready) && !deadline.hasExpired() && (kDetached || m_process.state() != QProcess::NotRunning))
        QThread::msleep(20);
    QFile file(ready);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "the vendor service did not start";
        return;
    }
    const QJsonObject info = QJsonDocument::fromJson(file.readAll()).object();
    m_port = static_cast<quint16>(info.value(QStringLiteral("port")).toInt());
    m_certificate = info.value(QStringLiteral("cert")).toString();
    m_hostEnv = std::make_unique<TempEnv>("QUORVEL_HOST", host().toUtf8());
    m_caEnv = std::make_unique<TempEnv>("CURL_CA_BUNDLE", m_certificate.toUtf8());
}

VendorService::~VendorService()
{
    stop();
}

QString VendorService::host() const
{
    return QStringLiteral(QUORVEL_SERVICE_HOST_NAME ":%1").arg(m_port);
}

QString VendorService::certificate() const
{
    return m_certificate;
}

void VendorService::setRoute(const QString& path, const QJsonArray& steps)
{
    QJsonObject routes = m_config.value(QStringLiteral("routes")).toObject();
    routes.insert(path, steps);
    m_config.insert(QStringLiteral("routes"), routes);
    writeConfig();
}

void VendorService::setTlsFailures(int count)
{
    m_config.insert(QStringLiteral("tls_failures"), count);
    writeConfig();
}

void VendorService::setFilesFolder(const QString& folder)
{
    m_config.insert(QStringLiteral("files"), folder);
    writeConfig();
}

QStringList VendorService::requests() const
{
    QFile file(m_dir.filePath(QStringLiteral("requests.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void VendorService::stop()
{
    if (!QFile::exists(leaseFile()))
        return;
    // The service ends when its lease file goes (it looks every 0.1 s).
    QFile::remove(leaseFile());
    if (kDetached) {
        QThread::msleep(300);
    } else if (!m_process.waitForFinished(2000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

QString VendorService::leaseFile() const
{
    return m_dir.filePath(QStringLiteral("running"));
}

QJsonObject VendorService::answer(const QString& body)
{
    return QJsonObject{{QStringLiteral("body"), body}};
}

void VendorService::writeConfig()
{
    // Whole or not at all: the service reads the file on every request.
    QSaveFile file(m_dir.filePath(QStringLiteral("config.json")));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(m_config).toJson());
        file.commit();
    }
}

} // namespace quorvel::fakes
