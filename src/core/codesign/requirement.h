#pragma once

#include "codesign/codesignaturefailure.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

typedef struct x509_st X509;

// What a requirement is evaluated against: the signature's identity and its verified chain.
struct RequirementContext
{
    QString identifier;         // the CodeDirectory's
    QList<X509 *> chain;        // leaf first, anchor last; not owned
    bool anchorTrusted = false; // the chain ends at one of the configured anchors
    QByteArray cdhash;          // the CodeDirectory's hash, truncated to 20 bytes
};

// A code requirement in its text form, compiled. The language is the subset signatures
// use: "anchor apple generic", "identifier", "certificate SLOT[subject.KEY]" and
// "certificate SLOT[field.OID]" with "= value", "exists" or "absent", "cdhash H\"…\"",
// "always"/"never", joined by "and", "or", "!" and parentheses, with comments. Anything
// else fails to compile, so that nothing unknown is ever taken as satisfied.
class Requirement
{
public:
    // The compiled requirement, or InvalidRequirement with where the text went wrong.
    static CodeSignatureResult<Requirement> compile(const QString &text);

    bool evaluate(const RequirementContext &context) const;

    struct Node;

private:
    explicit Requirement(std::shared_ptr<const Node> root) : m_root(std::move(root)) {}

    std::shared_ptr<const Node> m_root;
};
