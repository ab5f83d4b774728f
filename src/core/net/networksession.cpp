#include "net/networksession.h"

#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QSslConfiguration>

Q_LOGGING_CATEGORY(lcNetwork, "tessel.network")

namespace {

// Matches the usual request timeout of desktop HTTP clients: a stalled service fails
// after a minute instead of holding a load forever.
constexpr int transferTimeoutMilliseconds = 60'000;

} // namespace

QNetworkAccessManager *createNetworkSession(QObject *parent)
{
    auto *manager = new QNetworkAccessManager(parent);
    manager->setTransferTimeout(transferTimeoutMilliseconds);
    return manager;
}

void trustExtraCertificateAuthorities()
{
    const QString path = qEnvironmentVariable("TESSEL_EXTRA_CA_CERTIFICATES");
    if (path.isEmpty())
        return;
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    if (!configuration.addCaCertificates(path, QSsl::Pem))
        qCWarning(lcNetwork) << "no certificates could be read from" << path;
    QSslConfiguration::setDefaultConfiguration(configuration);
}
