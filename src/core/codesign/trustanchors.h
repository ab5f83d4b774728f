#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class Bundle;

// The root certificates a code signature's chain may end at, as DER.
class TrustAnchors
{
public:
    TrustAnchors() = default;
    explicit TrustAnchors(QList<QByteArray> certificates) : m_certificates(std::move(certificates)) {}

    // The built-in vendor root plus the Base64 DER certificates the bundle's Info.plist
    // lists under "TesselCodeSigningAnchors" (deployments that sign their own builds).
    static TrustAnchors forBundle(const Bundle &bundle);
    static QByteArray builtInRoot();

    // The certificates of a PEM file; an empty list when it holds none.
    static QList<QByteArray> readPEM(const QByteArray &pem);

    const QList<QByteArray> &certificates() const { return m_certificates; }
    void add(const QByteArray &der) { m_certificates.append(der); }

private:
    QList<QByteArray> m_certificates;
};
