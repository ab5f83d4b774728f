#include "codesign/resourceseal.h"

#include "platform/propertylist.h"

#include <QSet>
#include <regex.h>

struct ResourceSeal::CompiledRule
{
    regex_t pattern;
    double weight = 1;
    Rule rule;

    ~CompiledRule() { regfree(&pattern); }
};

namespace {

using Kind = CodeSignatureFailure::Kind;

CodeSignatureFailure fail(Kind kind, const QString &why)
{
    return CodeSignatureFailure::of(kind, why);
}

const QSet<QString> &allowedOmissions()
{
    static const QSet<QString> patterns{QStringLiteral("^(.*/)?\\.DS_Store$"), QStringLiteral("^Info\\.plist$"),
                                        QStringLiteral("^PkgInfo$"),
                                        QStringLiteral("^Resources/.*\\.lproj/locversion.plist$")};
    return patterns;
}

std::optional<Digest::Type> hashKey(const QString &key)
{
    if (key == QLatin1String("hash"))
        return Digest::Type::SHA1;
    if (key == QLatin1String("hash2"))
        return Digest::Type::SHA256;
    if (key == QLatin1String("hash3"))
        return Digest::Type::SHA256Truncated;
    if (key == QLatin1String("hash4"))
        return Digest::Type::SHA384;
    return std::nullopt;
}

std::optional<ResourceSeal::Entry> readEntry(const QVariant &value)
{
    ResourceSeal::Entry entry;
    if (value.typeId() == QMetaType::QByteArray) {
        entry.hashes.insert(Digest::Type::SHA1, value.toByteArray());
        return entry;
    }
    if (value.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap map = value.toMap();
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (const std::optional<Digest::Type> type = hashKey(it.key())) {
            if (it.value().typeId() != QMetaType::QByteArray)
                return std::nullopt;
            entry.hashes.insert(*type, it.value().toByteArray());
        } else if (it.key() == QLatin1String("symlink") && it.value().typeId() == QMetaType::QString) {
            entry.symlink = it.value().toString();
        } else if (it.key() == QLatin1String("requirement") && it.value().typeId() == QMetaType::QString) {
            entry.requirement = it.value().toString();
        } else if (it.key() == QLatin1String("cdhash") && it.value().typeId() == QMetaType::QByteArray) {
            entry.cdhash = it.value().toByteArray();
        } else if (it.key() == QLatin1String("optional") && it.value().typeId() == QMetaType::Bool) {
            entry.optional = it.value().toBool();
        } else {
            return std::nullopt;
        }
    }
    // An entry must say what the item is: hashes, a link, or nested code.
    const int kinds = (entry.hashes.isEmpty() ? 0 : 1) + (entry.symlink ? 1 : 0) + (entry.requirement ? 1 : 0);
    if (kinds != 1)
        return std::nullopt;
    return entry;
}

} // namespace

ResourceSeal::ResourceSeal() = default;
ResourceSeal::~ResourceSeal() = default;
ResourceSeal::ResourceSeal(ResourceSeal &&) noexcept = default;
ResourceSeal &ResourceSeal::operator=(ResourceSeal &&) noexcept = default;

CodeSignatureResult<ResourceSeal> ResourceSeal::parse(const QByteArray &bytes)
{
    const std::optional<QVariant> root = PropertyList::parse(bytes);
    if (!root || root->typeId() != QMetaType::QVariantMap)
        return fail(Kind::Malformed, QStringLiteral("CodeResources is not a property list dictionary"));
    const QVariantMap seal = root->toMap();
    const QVariant files = seal.value(QStringLiteral("files2"));
    const QVariant rules = seal.value(QStringLiteral("rules2"));
    if (files.typeId() != QMetaType::QVariantMap || rules.typeId() != QMetaType::QVariantMap)
        return fail(Kind::Unsupported,
                    QStringLiteral("the resource seal is of the old, weak kind (no files2 and rules2)"));

    ResourceSeal result;
    bool sealsEverything = false;
    const QVariantMap ruleMap = rules.toMap();
    for (auto it = ruleMap.begin(); it != ruleMap.end(); ++it) {
        auto compiled = std::make_unique<CompiledRule>();
        if (it.value().typeId() == QMetaType::Bool) {
            compiled->rule.omit = !it.value().toBool();
            if (it.key() == QLatin1String("^.*") && it.value().toBool())
                sealsEverything = true;
        } else if (it.value().typeId() == QMetaType::QVariantMap) {
            const QVariantMap options = it.value().toMap();
            compiled->weight = options.value(QStringLiteral("weight"), 1.0).toDouble();
            compiled->rule.omit = options.value(QStringLiteral("omit")).toBool();
            compiled->rule.optional = options.value(QStringLiteral("optional")).toBool();
            compiled->rule.nested = options.value(QStringLiteral("nested")).toBool();
        } else {
            return fail(Kind::Malformed, QStringLiteral("a resource rule is neither a flag nor a dictionary"));
        }
        if (compiled->rule.omit && !allowedOmissions().contains(it.key()))
            return fail(Kind::Unsealed, QStringLiteral("the resource rules omit \"%1\": too weak").arg(it.key()));
        if (regcomp(&compiled->pattern, it.key().toUtf8().constData(), REG_EXTENDED | REG_NOSUB) != 0)
            return fail(Kind::Malformed, QStringLiteral("a resource rule is not a valid pattern: %1").arg(it.key()));
        result.m_rules.push_back(std::move(compiled));
    }
    if (!sealsEverything)
        return fail(Kind::Unsealed, QStringLiteral("the resource rules do not seal everything (\"^.*\")"));

    const QVariantMap fileMap = files.toMap();
    for (auto it = fileMap.begin(); it != fileMap.end(); ++it) {
        std::optional<Entry> entry = readEntry(it.value());
        if (!entry)
            return fail(Kind::Malformed, QStringLiteral("the seal's entry for %1 is malformed").arg(it.key()));
        result.m_entries.insert(it.key(), std::move(*entry));
    }
    return result;
}

std::optional<ResourceSeal::Rule> ResourceSeal::rule(const QString &path) const
{
    const QByteArray utf8 = path.toUtf8();
    const CompiledRule *best = nullptr;
    for (const std::unique_ptr<CompiledRule> &candidate : m_rules) {
        if (regexec(&candidate->pattern, utf8.constData(), 0, nullptr, 0) == 0 &&
            (!best || candidate->weight > best->weight))
            best = candidate.get();
    }
    if (!best)
        return std::nullopt;
    return best->rule;
}
