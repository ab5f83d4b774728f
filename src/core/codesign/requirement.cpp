#include "codesign/requirement.h"

#include "codesign/certificatesubject.h"

#include <QRegularExpression>
#include <openssl/objects.h>
#include <openssl/x509.h>

struct Requirement::Node
{
    enum class Kind {
        And,
        Or,
        Not,
        Always,
        Never,
        AnchorAppleGeneric,
        Identifier,
        CertificateSubject,
        CertificateField,
        CDHash
    };
    enum class Match { Exists, Absent, Equal };

    Kind kind;
    std::shared_ptr<const Node> left;
    std::shared_ptr<const Node> right;
    int slot = 0; // certificate index: 0 leaf, 1 its issuer…; -1 the anchor, -2 below it…
    QString key;  // subject key ("OU") or dotted OID
    Match match = Match::Exists;
    QString value;
    QByteArray data; // cdhash
};

namespace {

using Node = Requirement::Node;
using NodePointer = std::shared_ptr<const Node>;

// Nesting deeper than this is no requirement a signer writes; it bounds the recursion.
constexpr int maximumDepth = 64;

struct Token
{
    enum class Type { Word, String, Symbol, End };
    Type type = Type::End;
    QString text;
};

class Parser
{
public:
    explicit Parser(const QString &text) : m_text(text) { advance(); }

    NodePointer parse()
    {
        NodePointer root = expression(0);
        if (root && m_token.type != Token::Type::End)
            return fail(QStringLiteral("unexpected \"%1\"").arg(m_token.text));
        return root;
    }

    QString error() const { return m_error; }

private:
    NodePointer fail(const QString &why)
    {
        if (m_error.isEmpty())
            m_error = why;
        return nullptr;
    }

    bool isWord(const char *word) const
    {
        return m_token.type == Token::Type::Word && m_token.text == QLatin1String(word);
    }
    bool isSymbol(const char *symbol) const
    {
        return m_token.type == Token::Type::Symbol && m_token.text == QLatin1String(symbol);
    }

    void skipBlanksAndComments()
    {
        for (;;) {
            while (m_at < m_text.size() && m_text[m_at].isSpace())
                ++m_at;
            const QStringView rest = QStringView(m_text).sliced(m_at);
            if (rest.startsWith(u"/*")) {
                const qsizetype end = m_text.indexOf(QStringLiteral("*/"), m_at + 2);
                m_at = end < 0 ? m_text.size() + 1 : end + 2; // an unclosed comment is an error below
                if (end < 0)
                    return;
            } else if (rest.startsWith(u"//") || rest.startsWith(u"#")) {
                const qsizetype end = m_text.indexOf(u'\n', m_at);
                m_at = end < 0 ? m_text.size() : end + 1;
            } else {
                return;
            }
        }
    }

    void advance()
    {
        skipBlanksAndComments();
        m_token = Token();
        if (m_at > m_text.size()) {
            m_token = {Token::Type::Symbol, QStringLiteral("/*")};
            return;
        }
        if (m_at == m_text.size())
            return;
        const QChar c = m_text[m_at];
        if (c == u'"') {
            QString value;
            qsizetype at = m_at + 1;
            for (; at < m_text.size() && m_text[at] != u'"'; ++at) {
                if (m_text[at] == u'\\' && at + 1 < m_text.size() && m_text[at + 1] == u'"')
                    ++at;
                value.append(m_text[at]);
            }
            if (at >= m_text.size()) {
                m_token = {Token::Type::Symbol, QStringLiteral("\"")}; // unterminated: never valid
                m_at = m_text.size();
                return;
            }
            m_token = {Token::Type::String, value};
            m_at = at + 1;
            return;
        }
        if (c.isLetterOrNumber() || c == u'_' || c == u'-') {
            qsizetype at = m_at;
            while (at < m_text.size() &&
                   (m_text[at].isLetterOrNumber() || m_text[at] == u'.' || m_text[at] == u'_' || m_text[at] == u'-'))
                ++at;
            m_token = {Token::Type::Word, m_text.mid(m_at, at - m_at)};
            m_at = at;
            return;
        }
        const QStringView two = QStringView(m_text).sliced(m_at).left(2);
        const bool pair = two == u"==" || two == u"<=" || two == u">=";
        m_token = {Token::Type::Symbol, pair ? two.toString() : QString(c)};
        m_at += pair ? 2 : 1;
    }

    static NodePointer combine(Node::Kind kind, NodePointer left, NodePointer right)
    {
        auto node = std::make_shared<Node>(Node{kind});
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    // Operands joined left to right by one keyword: "or" binds looser than "and".
    NodePointer chain(int depth, const char *keyword, Node::Kind kind, NodePointer (Parser::*operand)(int))
    {
        NodePointer left = (this->*operand)(depth);
        while (left && isWord(keyword)) {
            advance();
            NodePointer right = (this->*operand)(depth);
            if (!right)
                return nullptr;
            left = combine(kind, left, right);
        }
        return left;
    }

    NodePointer expression(int depth) { return chain(depth, "or", Node::Kind::Or, &Parser::conjunction); }
    NodePointer conjunction(int depth) { return chain(depth, "and", Node::Kind::And, &Parser::factor); }

    NodePointer factor(int depth)
    {
        if (depth > maximumDepth)
            return fail(QStringLiteral("the requirement is nested too deeply"));
        if (isSymbol("!")) {
            advance();
            NodePointer inner = factor(depth + 1);
            return inner ? combine(Node::Kind::Not, inner, nullptr) : nullptr;
        }
        if (isSymbol("(")) {
            advance();
            NodePointer inner = expression(depth + 1);
            if (!inner)
                return nullptr;
            if (!isSymbol(")"))
                return fail(QStringLiteral("a parenthesis is not closed"));
            advance();
            return inner;
        }
        return primary();
    }

    NodePointer primary()
    {
        if (isWord("always") || isWord("true") || isWord("never") || isWord("false")) {
            const bool always = isWord("always") || isWord("true");
            advance();
            return std::make_shared<Node>(Node{always ? Node::Kind::Always : Node::Kind::Never});
        }
        if (isWord("anchor")) {
            advance();
            const bool appleFirst = isWord("apple");
            if (!appleFirst && !isWord("generic"))
                return fail(QStringLiteral("only \"anchor apple generic\" is supported"));
            advance();
            if (!isWord(appleFirst ? "generic" : "apple"))
                return fail(QStringLiteral("only \"anchor apple generic\" is supported"));
            advance();
            return std::make_shared<Node>(Node{Node::Kind::AnchorAppleGeneric});
        }
        if (isWord("identifier")) {
            advance();
            if (isSymbol("=") || isSymbol("=="))
                advance();
            auto node = std::make_shared<Node>(Node{Node::Kind::Identifier});
            if (!takeValue(node->value))
                return fail(QStringLiteral("identifier needs a value"));
            return node;
        }
        if (isWord("cdhash")) {
            advance();
            auto node = std::make_shared<Node>(Node{Node::Kind::CDHash});
            if (!takeHexData(node->data))
                return fail(QStringLiteral("cdhash needs H\"hex\""));
            return node;
        }
        if (isWord("certificate") || isWord("cert"))
            return certificate();
        return fail(QStringLiteral("unsupported requirement \"%1\"").arg(m_token.text));
    }

    NodePointer certificate()
    {
        advance();
        auto node = std::make_shared<Node>(Node{Node::Kind::CertificateSubject});
        if (isWord("leaf")) {
            node->slot = 0;
        } else if (isWord("root")) {
            node->slot = -1;
        } else {
            bool ok = false;
            node->slot = m_token.text.toInt(&ok);
            if (m_token.type != Token::Type::Word || !ok || node->slot < -16 || node->slot > 16)
                return fail(QStringLiteral("a certificate slot must be leaf, root or a number"));
        }
        advance();
        if (!isSymbol("["))
            return fail(QStringLiteral("only certificate fields are supported"));
        advance();
        static const QRegularExpression subjectKey(QStringLiteral("^subject\\.([A-Za-z-]+)$"));
        static const QRegularExpression fieldKey(QStringLiteral("^(field|extension)\\.([0-9]+(\\.[0-9]+)+)$"));
        if (m_token.type != Token::Type::Word)
            return fail(QStringLiteral("a certificate field needs a key"));
        if (const QRegularExpressionMatch subject = subjectKey.match(m_token.text); subject.hasMatch()) {
            node->key = subject.captured(1);
        } else if (const QRegularExpressionMatch field = fieldKey.match(m_token.text); field.hasMatch()) {
            node->kind = Node::Kind::CertificateField;
            node->key = field.captured(2);
        } else {
            return fail(QStringLiteral("unsupported certificate field \"%1\"").arg(m_token.text));
        }
        advance();
        if (!isSymbol("]"))
            return fail(QStringLiteral("a certificate field is not closed"));
        advance();
        if (isWord("exists")) {
            advance();
            node->match = Node::Match::Exists;
        } else if (isWord("absent")) {
            advance();
            node->match = Node::Match::Absent;
        } else if (isSymbol("=") || isSymbol("==")) {
            advance();
            node->match = Node::Match::Equal;
            if (node->kind == Node::Kind::CertificateField || !takeValue(node->value))
                return fail(QStringLiteral("a certificate comparison needs a subject key and a value"));
        } else {
            node->match = Node::Match::Exists; // a field alone asks whether it exists
        }
        return node;
    }

    bool takeValue(QString &value)
    {
        static const QRegularExpression bareWord(QStringLiteral("^[A-Za-z][A-Za-z0-9_-]*(\\.[A-Za-z0-9_-]+)*$"));
        if (m_token.type == Token::Type::String ||
            (m_token.type == Token::Type::Word && bareWord.match(m_token.text).hasMatch() &&
             m_token.text != QLatin1String("and") && m_token.text != QLatin1String("or"))) {
            value = m_token.text;
            advance();
            return true;
        }
        return false;
    }

    bool takeHexData(QByteArray &data)
    {
        if (m_token.type != Token::Type::Word || m_token.text != QLatin1String("H"))
            return false;
        advance();
        if (m_token.type != Token::Type::String)
            return false;
        data = QByteArray::fromHex(m_token.text.toLatin1());
        const bool ok = !data.isEmpty() && data.toHex() == m_token.text.toLower().toLatin1();
        advance();
        return ok;
    }

    const QString &m_text;
    qsizetype m_at = 0;
    Token m_token;
    QString m_error;
};

X509 *certificateAt(const QList<X509 *> &chain, int slot)
{
    const qsizetype index = slot >= 0 ? slot : chain.size() + slot;
    return index >= 0 && index < chain.size() ? chain[index] : nullptr;
}

bool hasExtension(X509 *certificate, const QString &oid)
{
    ASN1_OBJECT *object = OBJ_txt2obj(oid.toLatin1().constData(), 1);
    if (!object)
        return false;
    const bool found = X509_get_ext_by_OBJ(certificate, object, -1) >= 0;
    ASN1_OBJECT_free(object);
    return found;
}

bool evaluateNode(const Node &node, const RequirementContext &context)
{
    switch (node.kind) {
    case Node::Kind::And:
        return evaluateNode(*node.left, context) && evaluateNode(*node.right, context);
    case Node::Kind::Or:
        return evaluateNode(*node.left, context) || evaluateNode(*node.right, context);
    case Node::Kind::Not:
        return !evaluateNode(*node.left, context);
    case Node::Kind::Always:
        return true;
    case Node::Kind::Never:
        return false;
    case Node::Kind::AnchorAppleGeneric:
        return context.anchorTrusted;
    case Node::Kind::Identifier:
        return context.identifier == node.value;
    case Node::Kind::CDHash:
        return !context.cdhash.isEmpty() && context.cdhash == node.data;
    case Node::Kind::CertificateSubject: {
        X509 *certificate = certificateAt(context.chain, node.slot);
        if (!certificate)
            return false;
        const std::optional<QString> value = certificateSubject(certificate, node.key);
        switch (node.match) {
        case Node::Match::Exists:
            return value.has_value();
        case Node::Match::Absent:
            return !value.has_value();
        case Node::Match::Equal:
            return value == node.value;
        }
        return false;
    }
    case Node::Kind::CertificateField: {
        X509 *certificate = certificateAt(context.chain, node.slot);
        if (!certificate)
            return false;
        const bool present = hasExtension(certificate, node.key);
        return node.match == Node::Match::Absent ? !present : present;
    }
    }
    return false;
}

} // namespace

CodeSignatureResult<Requirement> Requirement::compile(const QString &text)
{
    Parser parser(text);
    NodePointer root = parser.parse();
    if (!root)
        return CodeSignatureFailure::of(CodeSignatureFailure::Kind::InvalidRequirement,
                                        QStringLiteral("the requirement does not compile: ") + parser.error());
    return Requirement(std::move(root));
}

bool Requirement::evaluate(const RequirementContext &context) const
{
    return evaluateNode(*m_root, context);
}
