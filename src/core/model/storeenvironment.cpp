#include "model/storeenvironment.h"

#include "codesign/bundlesignatureverifier.h"
#include "net/networksession.h"
#include "platform/bundle.h"
#include "platform/desktopentryregistry.h"
#include "platform/preferredlanguages.h"

StoreEnvironment StoreEnvironment::standard(QObject *owner)
{
    const Locations locations = Locations::standard();
    return {
        .session = createNetworkSession(owner),
        .configuration = ServiceConfiguration::fromBundle(Bundle::main()),
        .locations = locations,
        .registry = std::make_shared<DesktopEntryRegistry>(locations),
        .verifier = std::make_shared<BundleSignatureVerifier>(TrustAnchors::forBundle(Bundle::main())),
        .runningApplications = std::make_shared<ProcessTable>(),
        .systemVersion = SystemVersion::current(),
        .preferredLanguages = ::preferredLanguages(),
        .now = [] { return QDateTime::currentDateTimeUtc(); },
    };
}
