#include "net/networksession.h"

#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QSslConfiguration>

Q_LOGGING_CATEGORY(lcNetwork, "tessel.network")

namespace {

// Matches the usual request timeout of desktop HTTP clients: a stalled service fails
// after a minute instead of holding a load forever.
constexpr int transferTimeoutMilliseconds = 60'000;

// Names the store on every request, so that a service's logs tell its clients apart.
class StoreSession : public QNetworkAccessManager
{
public:
    using QNetworkAccessManager::QNetworkAccessManager;

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request, QIODevice *outgoingData) override
    {
        QNetworkRequest named = request;
        if (!named.header(QNetworkRequest::UserAgentHeader).isValid())
            named.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
        return QNetworkAccessManager::createRequest(operation, named, outgoingData);
    }
};

} // namespace

QString userAgent()
{
    return QStringLiteral("TesselStore/%1 (Linux)").arg(QStringLiteral(TESSEL_VERSION));
}

QNetworkAccessManager *createNetworkSession(QObject *parent)
{
    auto *manager = new StoreSession(parent);
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
