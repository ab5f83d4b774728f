#pragma once

#include <QString>

class QNetworkAccessManager;
class QObject;

// "TesselStore/0.1.0 (Linux)": how every request of the store's sessions names it.
QString userAgent();

// The process's shared network session: one manager for the catalog, feeds and archives,
// with the transfer timeout the store expects of every request.
QNetworkAccessManager *createNetworkSession(QObject *parent);

// Adds the certificate authorities of the PEM file named by
// $TESSEL_EXTRA_CA_CERTIFICATES to those trusted for HTTPS, for services signed by a
// private authority (the demo's). Call once, before the first request.
void trustExtraCertificateAuthorities();
