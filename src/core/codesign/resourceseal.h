#pragma once

#include "codesign/codesignaturefailure.h"
#include "codesign/digest.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

// The resource seal of a bundle (CodeResources, version 2): what each file under Contents/
// must be, and the rules that say which paths are sealed, optional, omitted or nested code.
class ResourceSeal
{
public:
    struct Entry
    {
        QHash<Digest::Type, QByteArray> hashes; // by the CodeResources key: hash, hash2, hash3, hash4
        std::optional<QString> symlink;
        std::optional<QString> requirement; // nested code
        std::optional<QByteArray> cdhash;
        bool optional = false;
    };

    struct Rule
    {
        bool omit = false;
        bool optional = false;
        bool nested = false;
    };

    // A seal from CodeResources bytes: it must have files2 and rules2, and its rules must not
    // be weak ("^.*" sealed, and only the usual omissions). Otherwise why not.
    static CodeSignatureResult<ResourceSeal> parse(const QByteArray &bytes);

    ~ResourceSeal();
    ResourceSeal(ResourceSeal &&) noexcept;
    ResourceSeal &operator=(ResourceSeal &&) noexcept;

    // The rule of the heaviest matching pattern for a path relative to Contents/; nothing
    // when no pattern matches (the path is not sealed).
    std::optional<Rule> rule(const QString &path) const;

    const QHash<QString, Entry> &entries() const { return m_entries; }

private:
    ResourceSeal();

    struct CompiledRule;
    std::vector<std::unique_ptr<CompiledRule>> m_rules;
    QHash<QString, Entry> m_entries;
};
