#include "bench/http2host.h"

#include "harness/modelfixture.h"
#include "harness/testserver.h"
#include "maker/certificateissuer.h"

Http2Host::Http2Host(const QString &folder, int delayMilliseconds)
{
    const PemIdentity identity =
        CertificateIssuer::makeTLSServer(TestServer::authority(), {QStringLiteral("127.0.0.1")});
    const QString certificate = m_keys.filePath(QStringLiteral("certificate.pem"));
    const QString key = m_keys.filePath(QStringLiteral("key.pem"));
    writeTestFile(certificate, identity.certificate);
    writeTestFile(key, identity.privateKey);
    m_node.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_node.start(QStringLiteral("node"),
                 {QStringLiteral(HTTP2_HOST_SCRIPT), certificate, key, folder, QString::number(delayMilliseconds)});
    if (!m_node.waitForStarted(10'000) || !m_node.waitForReadyRead(10'000))
        qFatal("the HTTP/2 host did not start (is Node.js installed?)");
    const int port = m_node.readLine().trimmed().toInt();
    if (port <= 0)
        qFatal("the HTTP/2 host gave no port");
    m_baseURL = QUrl(QStringLiteral("https://127.0.0.1:%1/").arg(port));
}

Http2Host::~Http2Host()
{
    if (m_node.state() != QProcess::NotRunning) {
        m_node.kill();
        m_node.waitForFinished();
    }
}

QByteArray Http2Host::finish()
{
    m_node.closeWriteChannel();
    if (!m_node.waitForFinished(10'000))
        qFatal("the HTTP/2 host did not stop");
    return m_node.readAllStandardOutput().trimmed();
}
