#include "codesign/catalogrequirement.h"

#include "codesign/codesignatureverifier.h"

namespace CatalogRequirement {

QString text(const CatalogApp &app)
{
    return QStringLiteral("anchor apple generic and identifier \"") + app.bundleID +
           QStringLiteral("\" and certificate leaf[subject.OU] = \"") + app.teamID + u'"';
}

CodeSignatureResult<Requirement> compile(const CatalogApp &app)
{
    for (const QString &value : {app.bundleID, app.teamID}) {
        if (value.contains(u'"') || value.contains(u'\\'))
            return CodeSignatureFailure::of(CodeSignatureFailure::Kind::UnsafeCatalogValue,
                                            QStringLiteral("the catalog's identifier or team contains a quote or a "
                                                           "backslash: %1")
                                                .arg(value));
    }
    return Requirement::compile(text(app));
}

CodeSignatureResult<Unit> check(const QString &bundle, const CatalogApp &app, const CodeSignatureVerifier &verifier)
{
    const CodeSignatureResult<Requirement> requirement = compile(app);
    if (!requirement)
        return requirement.error();
    return verifier.check(bundle, *requirement);
}

} // namespace CatalogRequirement
