#include "Carvex/ModelAdapters/RefLinkDetector.h"
#include "Carvex/ModelAdapters/RefLinkRedetector.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace {

using Carvex::DocumentLanguage;
using Carvex::RefLink;
using Carvex::RefLinkDetector;
using Carvex::RefLinkRedetector;
using Carvex::TextChange;
using Carvex::TextRange;

// Texts made of the pieces that matter to the scanners.
class TextMaker {
public:
    explicit TextMaker(std::uint32_t seed) : random_(seed) {}

    QString make(int pieces)
    {
        static const char16_t* const kPieces[] = {
            u"$ref", u"\"$ref\"", u"'", u"\"", u"\\", u":", u": ", u"#", u"#/a", u"\n", u"\r\n", u"\r",
            u" ", u"\t", u"-", u"😀", u"👍🏽", u"x", u"/", u"{", u"}", u",", u"other.yaml", u"é",
        };
        QString text;
        std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
        for (int i = 0; i < pieces; ++i)
            text += QString::fromUtf16(kPieces[pick(random_)]);
        return text;
    }

    int below(int bound) { return std::uniform_int_distribution<int>(0, std::max(bound - 1, 0))(random_); }

private:
    std::mt19937 random_;
};

std::string invariantFault(const QString& text, const std::vector<RefLink>& links)
{
    qsizetype previousEnd = 0;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const RefLink& link = links[i];
        const TextRange& full = link.fullRange;
        const TextRange& value = link.valueRange;
        if (full.location < previousEnd)
            return "link " + std::to_string(i) + " overlaps or precedes the previous one";
        if (full.length < 0 || value.length < 0 || full.end() > text.size())
            return "link " + std::to_string(i) + " leaves the text";
        if (value.location < full.location || value.end() > full.end())
            return "link " + std::to_string(i) + " has its value outside its full range";
        if (link.refPath != text.mid(value.location, value.length))
            return "link " + std::to_string(i) + " has a path other than its value";
        previousEnd = full.end();
    }
    return {};
}

TEST(RefLinkRedetectorTest, RandomTextsGiveOrderedLinksInsideTheText)
{
    TextMaker maker(20261207);
    const RefLinkDetector detector;
    for (int round = 0; round < 100000; ++round) {
        const QString text = maker.make(1 + maker.below(40));
        for (const DocumentLanguage language : {DocumentLanguage::json, DocumentLanguage::yaml}) {
            const std::string fault = invariantFault(text, detector.detectLinks(text, language));
            ASSERT_EQ(fault, "") << "round " << round << " " << rawValue(language) << ": " << text.toStdString();
        }
    }
}

TEST(RefLinkRedetectorTest, RandomEditsSpliceToAFullDetection)
{
    TextMaker maker(7);
    const RefLinkDetector detector;
    for (int round = 0; round < 20000; ++round) {
        for (const DocumentLanguage language : {DocumentLanguage::json, DocumentLanguage::yaml}) {
            QString text = maker.make(1 + maker.below(60));
            std::vector<RefLink> links = detector.detectLinks(text, language);
            for (int edit = 0; edit < 4; ++edit) {
                const QString before = text;
                const qsizetype start = maker.below(int(text.size()) + 1);
                const qsizetype removed = maker.below(int(std::min<qsizetype>(text.size() - start, 12)) + 1);
                const QString inserted = maker.make(maker.below(4));
                text.replace(start, removed, inserted);
                const TextChange change{{start, inserted.size()}, inserted.size() - removed};
                RefLinkRedetector::update(links, text, change, language);
                ASSERT_EQ(links, detector.detectLinks(text, language))
                    << "round " << round << " " << rawValue(language) << "\nbefore: " << before.toStdString()
                    << "\nafter:  " << text.toStdString() << "\nat " << start << " removing " << removed;
            }
        }
    }
}

TEST(RefLinkRedetectorTest, EditsThatReachFarStillMatchAFullDetection)
{
    const RefLinkDetector detector;
    const struct {
        const char* name;
        DocumentLanguage language;
        const char16_t* text;
        const char16_t* find;
        const char16_t* replacement;
    } rows[] = {
        {"JSON value loses its closing quote", DocumentLanguage::json,
         u"[{\"$ref\": \"#/a\"}, {\"$ref\": \"#/b\"}, {\"$ref\": \"#/c\"}]", u"#/a\"", u"#/a"},
        {"JSON key gains its colon on a later line", DocumentLanguage::json, u"{\"$ref\"\n\n\n  \"#/a\"}", u"  \"#/a",
         u": \"#/a"},
        {"JSON quote closes a value open to the end", DocumentLanguage::json, u"{\"$ref\": \"#/a, \"x\": 1", u"1",
         u"\"1"},
        {"YAML quote opened before a later key", DocumentLanguage::yaml, u"$ref: #/a\nb:\n  $ref: 'c'\n", u"#/a",
         u"'#/a"},
        {"YAML line break joins two lines", DocumentLanguage::yaml, u"x: a\n$ref: b\n$ref: c", u"a\n", u"a "},
        {"unknown language", DocumentLanguage::unknown, u"$ref: a", u"a", u"b"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QString text = QString::fromUtf16(row.text);
        std::vector<RefLink> links = detector.detectLinks(text, row.language);
        const QString find = QString::fromUtf16(row.find);
        const QString replacement = QString::fromUtf16(row.replacement);
        const qsizetype at = text.indexOf(find);
        ASSERT_GE(at, 0);
        text.replace(at, find.size(), replacement);
        RefLinkRedetector::update(links, text, TextChange{{at, replacement.size()}, replacement.size() - find.size()},
                                  row.language);
        EXPECT_EQ(links, detector.detectLinks(text, row.language));
    }

    // A change that does not fit the text falls back to a full detection.
    const QString text = QStringLiteral("$ref: a\n$ref: b");
    for (const TextChange change : {TextChange{{-1, 1}, 0}, TextChange{{10, 9}, 0}, TextChange{{0, 1}, 5},
                                    TextChange{{0, 1}, std::numeric_limits<qsizetype>::min()}}) {
        std::vector<RefLink> links{RefLink{{0, 1}, {0, 1}, QStringLiteral("$")}};
        RefLinkRedetector::update(links, text, change, DocumentLanguage::yaml);
        EXPECT_EQ(links, detector.detectYAMLLinks(text));
    }
}

} // namespace
