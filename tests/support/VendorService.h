#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class TempEnv;

namespace quorvel::fakes {

// The project's simulated vendor service (vendor_service.py) on a free loopback port, for one test. While it lives,
// the launcher code in this process talks to it: QUORVEL_HOST and CURL_CA_BUNDLE point at it.
class VendorService
{
public:
    VendorService();
    ~VendorService();

    bool isRunning() const { return m_port != 0; }
    QString host() const;        // 127.0.0.1:PORT (localhost:PORT on Windows)
    QString certificate() const; // the self-signed certificate to trust

    // The answers of a path, one step per request, the last repeating (see vendor_service.py).
    void setRoute(const QString& path, const QJsonArray& steps);
    void setTlsFailures(int count);
    void setFilesFolder(const QString& folder);

    // "https /vrs.php", "http /ldl.php", ... in the order the requests arrived.
    QStringList requests() const;

    // Stops the service; its port then refuses connections.
    void stop();

    static QJsonObject answer(const QString& body);

private:
    void writeConfig();
    QString leaseFile() const; // the service runs while this file exists

    QTemporaryDir m_dir;
    QProcess m_process;
    QJsonObject m_config;
    quint16 m_port = 0;
    QString m_certificate;
    std::unique_ptr<TempEnv> m_hostEnv;
    std::unique_ptr<TempEnv> m_caEnv;
};

} // namespace quorvel::fakes
