#include "support/VendorService.h"

#include "support/TempEnv.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QThread>
#include <gtest/gtest.h>

namespace quorvel::fakes {

VendorService::VendorService()
{
    m_config.insert(QStringLiteral("routes"), QJsonObject());
    writeConfig();
    const QString ready = m_dir.filePath(QStringLiteral("ready.json"));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(QUORVEL_PYTHON),
                    {QStringLiteral(QUORVEL_VENDOR_SERVICE), QStringLiteral("--config"),
                     m_dir.filePath(QStringLiteral("config.json")), QStringLiteral("--log"),
                     m_dir.filePath(QStringLiteral("requests.log")), QStringLiteral("--ready"), ready,
                     QStringLiteral("--cert-dir"), m_dir.filePath(QStringLiteral("cert")),
                     QStringLiteral("--exit-on-stdin-eof")});
    // Making the certificate takes a moment.
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(ready) && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning)
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
    if (m_process.state() == QProcess::NotRunning)
        return;
    // Closing its input ends the service; a test under Wine cannot signal a process of this machine.
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(2000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
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
