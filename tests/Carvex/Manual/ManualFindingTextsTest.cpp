// The manual quotes the texts the application prints. Every rule code it names stands in a quoted
// message (<samp>, with the parts that come from a document in <var>), and a description that breaks
// that rule makes the validation service print a finding of that code matching the quoted message.

#include "Carvex/Manual/ManualResourceLocator.h"
#include "Carvex/Validation/OpenAPIValidationService.h"
#include "Carvex/Validation/ValidationResultsViewController.h"

#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <map>
#include <vector>

using namespace Carvex;

namespace {

const char* const kBase30 = "openapi: 3.0.3\ninfo:\n  title: T\n  version: '1'\n";

// A description that breaks each rule the manual may name; a code named in the manual without a row
// here fails the test, so a new example comes with a way to make it.
const std::map<QString, QString>& rulebreakers() {
    static const std::map<QString, QString> rows = [] {
        const QString base = QString::fromUtf8(kBase30);
        const QString noPaths = base + QStringLiteral("paths: {}\n");
        std::map<QString, QString> map;
        map[QStringLiteral("DOC-002")] =
            QStringLiteral("openapi: 3.0.3\ninfo:\n  title: ''\n  version: '1'\npaths: {}\n");
        map[QStringLiteral("DOC-006")] = QStringLiteral(
            "openapi: 3.0.3\ninfo:\n  title: T\n  version: '1'\n  contact:\n    email: not-an-address\npaths: {}\n");
        map[QStringLiteral("SRV-001")] = base + QStringLiteral("servers:\n  - url: 'ht tp://a b'\npaths: {}\n");
        map[QStringLiteral("SRV-002")] =
            base + QStringLiteral("servers:\n  - url: 'https://api.example.com/{stage}'\npaths: {}\n");
        map[QStringLiteral("PTH-001")] = base + QStringLiteral("paths:\n  pets: {}\n");
        map[QStringLiteral("OPR-001")] = base + QStringLiteral(
            "paths:\n  /a:\n    get:\n      operationId: same\n      responses:\n        '200':\n"
            "          description: ok\n  /b:\n    get:\n      operationId: same\n      responses:\n"
            "        '200':\n          description: ok\n");
        map[QStringLiteral("PRM-001")] = base + QStringLiteral(
            "paths:\n  /a/{id}:\n    get:\n      parameters:\n        - name: id\n          in: path\n"
            "          required: false\n          schema:\n            type: string\n      responses:\n"
            "        '200':\n          description: ok\n");
        map[QStringLiteral("RQB-002")] = base + QStringLiteral(
            "paths:\n  /a:\n    get:\n      requestBody:\n        content:\n          application/json:\n"
            "            schema:\n              type: string\n      responses:\n        '200':\n"
            "          description: ok\n");
        map[QStringLiteral("RSP-001")] = base + QStringLiteral(
            "paths:\n  /a:\n    get:\n      responses:\n        '999':\n          description: odd\n");
        map[QStringLiteral("SCH-003")] = noPaths + QStringLiteral(
            "components:\n  schemas:\n    Range:\n      type: number\n      minimum: 5\n      maximum: 1\n");
        map[QStringLiteral("SCH-011")] =
            noPaths + QStringLiteral("components:\n  schemas:\n    List:\n      type: array\n");
        map[QStringLiteral("SEC-001")] =
            noPaths + QStringLiteral("components:\n  securitySchemes:\n    key:\n      type: apiKey\n");
        map[QStringLiteral("REF-002")] = base + QStringLiteral(
            "paths:\n  /a:\n    get:\n      responses:\n        '200':\n          description: ok\n"
            "          content:\n            application/json:\n              schema:\n"
            "                $ref: '#/components/schemas/Missing'\n");
        map[QStringLiteral("REF-003")] = noPaths + QStringLiteral(
            "components:\n  schemas:\n    A:\n      allOf:\n        - $ref: '#/components/schemas/B'\n"
            "    B:\n      allOf:\n        - $ref: '#/components/schemas/A'\n");
        map[QStringLiteral("V31-002")] = QStringLiteral(
            "openapi: 3.1.0\ninfo:\n  title: T\n  version: '1'\njsonSchemaDialect: 'not a dialect'\npaths: {}\n");
        return map;
    }();
    return rows;
}

struct Page {
    QString name;
    QString html;
};

std::vector<Page> manualPages() {
    std::vector<Page> pages;
    const std::optional<QString> root = ManualResourceLocator::main().rootFolder();
    if (!root) {
        return pages;
    }
    const QStringList names = QDir(*root).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(QDir(*root).filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            pages.push_back(Page{name, QString::fromUtf8(file.readAll())});
        }
    }
    return pages;
}

QString plainText(const QString& html) { return QTextDocumentFragment::fromHtml(html).toPlainText(); }

// A quoted message as a whole-text pattern: its literal parts as they are, each <var> any text.
QRegularExpression messagePattern(const QString& samp) {
    static const QRegularExpression var(QStringLiteral("<var>.*?</var>"));
    QString pattern;
    qsizetype from = 0;
    for (auto it = var.globalMatch(samp); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        pattern += QRegularExpression::escape(plainText(samp.mid(from, match.capturedStart() - from)));
        pattern += QStringLiteral(".+");
        from = match.capturedEnd();
    }
    pattern += QRegularExpression::escape(plainText(samp.mid(from)));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern));
}

const QRegularExpression& codePattern() {
    static const QRegularExpression code(QStringLiteral("\\b[A-Z][A-Z0-9]{2}-\\d{3}\\b"));
    return code;
}

TEST(ManualFindingTextsTest, every_rule_code_in_the_manual_is_printed_with_the_quoted_message) {
    CarvexPlatform::TestApplication::ensure();
    const std::vector<Page> pages = manualPages();
    ASSERT_FALSE(pages.empty()) << "the manual's pages are not in the resources";
    static const QRegularExpression sampElement(QStringLiteral("<samp>(.*?)</samp>"),
                                                QRegularExpression::DotMatchesEverythingOption);
    const OpenAPIValidationService service;
    int quoted = 0;
    for (const Page& page : pages) {
        const QString where = page.name;
        // Codes in the page's text, and codes that open a quoted message.
        int codesInText = 0;
        for (auto it = codePattern().globalMatch(plainText(page.html)); it.hasNext(); it.next()) {
            ++codesInText;
        }
        int codesQuoted = 0;
        for (auto it = sampElement.globalMatch(page.html); it.hasNext();) {
            const QString samp = it.next().captured(1);
            const QString text = plainText(samp);
            int codesInSamp = 0;
            for (auto codes = codePattern().globalMatch(text); codes.hasNext(); codes.next()) {
                ++codesInSamp;
            }
            codesQuoted += codesInSamp;
            const QRegularExpressionMatch code = codePattern().match(text);
            if (!code.hasMatch()) {
                continue;
            }
            ++quoted;
            EXPECT_EQ(code.capturedStart(), 1) << where.toStdString() << ": " << text.toStdString();
            const QString rule = code.captured();
            const auto breaker = rulebreakers().find(rule);
            if (breaker == rulebreakers().end()) {
                ADD_FAILURE() << where.toStdString() << " names " << rule.toStdString()
                              << ", which has no description that breaks it here";
                continue;
            }
            const CarvexValidationResult result = service.validateNow(breaker->second);
            const std::vector<CarvexValidationError>* findings = result.validationErrorsValue();
            if (!findings) {
                ADD_FAILURE() << rule.toStdString() << ": " << result.description().toStdString();
                continue;
            }
            const QRegularExpression pattern = messagePattern(samp);
            const QString lead = QLatin1Char('[') + rule + QLatin1Char(']');
            bool printed = false;
            std::string seen;
            for (const CarvexValidationError& finding : *findings) {
                seen += "\n  " + finding.message.toStdString();
                printed = printed || (finding.message.startsWith(lead) && pattern.match(finding.message).hasMatch());
            }
            EXPECT_TRUE(printed) << where.toStdString() << " quotes \"" << text.toStdString()
                                 << "\", but the application printed:" << seen;
        }
        EXPECT_EQ(codesInText, codesQuoted)
            << where.toStdString() << " names a rule code outside a quoted message";
    }
    EXPECT_GT(quoted, 0) << "the manual quotes no finding";
}

// The faults the manual once had: a contact e-mail is DOC-006 (DOC-007 is the licence URL), and
// SRV-002 is a template variable without a definition.
TEST(ManualFindingTextsTest, contact_email_and_server_variable_codes_read_as_the_application_prints_them) {
    CarvexPlatform::TestApplication::ensure();
    QString all;
    for (const Page& page : manualPages()) {
        all += plainText(page.html);
    }
    EXPECT_TRUE(all.contains(QStringLiteral("[DOC-006] info.contact.email should be a valid email")));
    EXPECT_FALSE(all.contains(QStringLiteral("DOC-007")));
    EXPECT_TRUE(all.contains(QStringLiteral("[SRV-002] Template variable '{name}' in server URL has no matching variable "
                                            "definition")));
    EXPECT_FALSE(all.contains(QStringLiteral("not used in the URL")));
}

// The bottom panel's validation results tab only ever shows its placeholder: where the manual names the
// tab, it says so, quoting the placeholder, and sends users to the console.
TEST(ManualFindingTextsTest, manual_says_the_validation_results_tab_shows_only_its_placeholder) {
    CarvexPlatform::TestApplication::ensure();
    int naming = 0;
    for (const Page& page : manualPages()) {
        const QString text = plainText(page.html);
        if (!text.contains(QStringLiteral("validation results"), Qt::CaseInsensitive)) {
            continue;
        }
        if (!text.contains(QStringLiteral("Validation Results tab"))) {
            continue;  // the tab named among the others only
        }
        ++naming;
        EXPECT_TRUE(text.contains(ValidationResultsViewController::placeholderText())) << page.name.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("findings are in the console"))) << page.name.toStdString();
    }
    EXPECT_GT(naming, 0) << "the manual does not say what the Validation Results tab shows";
}

}  // namespace
