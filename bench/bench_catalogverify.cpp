// How long verifying a large signed catalog takes, next to the cost of only parsing the
// same JSON: the ratio shows what signature checking and shape validation add. Then the
// verification's steps one by one, to show where its time goes.
#include "catalog/catalogloader.h"
#include "catalog/servicesignature.h"
#include "crypto/base64.h"
#include "harness/catalogfixtures.h"

#include "bench/benchtiming.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <cstdio>

using namespace CatalogFixtures;

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int appCount = 2000;
    QList<QJsonObject> apps;
    for (int i = 0; i < appCount; ++i)
        apps.append(app(QStringLiteral("app-%1").arg(i)));
    const Signer signer;
    const QByteArray payload = catalogJSON(signer.issuer, apps);
    const QByteArray envelope = signer.envelope(payload);
    const CatalogLoader loader(signer.configuration(), QString());

    bool verified = true;
    const double verify = bestMilliseconds(10, [&] { verified = verified && loader.decode(envelope).hasValue(); });
    const double parse =
        bestMilliseconds(10, [&] { verified = verified && QJsonDocument::fromJson(payload).isObject(); });
    if (!verified) {
        std::fprintf(stderr, "the benchmark catalog did not verify\n");
        return 1;
    }
    std::printf("catalog of %d apps, envelope %.1f KiB\n", appCount, envelope.size() / 1024.0);
    std::printf("verify (decode):        %8.2f ms\n", verify);
    std::printf("JSON parse only (base): %8.2f ms\n", parse);
    std::printf("ratio verify/parse:     %8.2f\n", verify / parse);

    const std::optional<CatalogLoader::Envelope> envelopeParts = CatalogLoader::Envelope::parse(envelope);
    if (!envelopeParts) {
        std::fprintf(stderr, "the benchmark envelope did not parse\n");
        return 1;
    }
    const double unwrap =
        bestMilliseconds(10, [&] { verified = verified && CatalogLoader::Envelope::parse(envelope); });
    const double decode =
        bestMilliseconds(10, [&] { verified = verified && Base64::decodeURL(envelopeParts->catalog).has_value(); });
    const double signature = bestMilliseconds(10, [&] {
        verified = verified && ServiceSignature::isValid(envelopeParts->signature, payload, signer.configuration());
    });
    const double read = bestMilliseconds(10, [&] { verified = verified && Catalog::read(payload).hasValue(); });
    if (!verified) {
        std::fprintf(stderr, "a step of the verification failed\n");
        return 1;
    }
    std::printf("its steps:\n");
    std::printf("  the envelope's JSON:    %8.2f ms\n", unwrap);
    std::printf("  base64url of the bytes: %8.2f ms\n", decode);
    std::printf("  Ed25519 signature:      %8.2f ms\n", signature);
    std::printf("  the catalog's records:  %8.2f ms (its JSON parse included)\n", read);
    return 0;
}
