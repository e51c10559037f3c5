#include "Carvex/Documents/Document.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/EditorTextViewDelegate.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/ModelAdapters/RefLinkDetector.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/Editor/RefLinkStyler.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Syntax/SyntaxThemeDefaults.h"
#include "Carvex/Validation/ValidationDecoration.h"
#include "Carvex/Validation/ValidationDecorationRenderer.h"
#include "kit/facade/OpenApiParser.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Carvex::DocumentLanguage;
using Carvex::LogLevel;
using Carvex::RefLink;
using Carvex::RefLinkHandler;
using Carvex::RefLinkStyler;
using Carvex::TextChange;
using Carvex::TextRange;

// Accented letters, an emoji with a skin-tone modifier and combining marks stand before every target.
const char* const kYAML = "openapi: 3.0.3\n"
                          "info:\n"
                          "  title: Caf\xC3\xA9 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD e\xCC\x81\xCC\x82\n"
                          "  version: '1'\n"
                          "paths:\n"
                          "  /pets:\n"
                          "    get:\n"
                          "      responses:\n"
                          "        '200':\n"
                          "          $ref: '#/components/responses/Found'\n"
                          "        '404':\n"
                          "          $ref: \"#/components/examples/Absent\"\n"
                          "        '500':\n"
                          "          $ref: 'other.yaml#/Error'\n"
                          "components:\n"
                          "  schemas:\n"
                          "    Pet:\n"
                          "      title: Pet \xF0\x9F\x90\xB6\n"
                          "      type: object\n"
                          "    Alias:\n"
                          "      $ref: '#/components/schemas/Pet'\n"
                          "  responses:\n"
                          "    Found:\n"
                          "      description: f\xC3\xB6und \xF0\x9F\x90\xB6\n"
                          "  examples:\n"
                          "    Sample:\n"
                          "      summary: s\n";

const char* const kJSON = "{\n"
                          "  \"openapi\": \"3.0.3\",\n"
                          "  \"info\": {\"title\": \"Caf\xC3\xA9 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD e\xCC\x81\xCC\x82\", \"version\": \"1\"},\n"
                          "  \"paths\": {\"/pets\": {\"get\": {\"responses\": {\n"
                          "    \"200\": {\"$ref\": \"#/components/responses/Found\"},\n"
                          "    \"404\": {\"$ref\": \"#/components/examples/Absent\"},\n"
                          "    \"500\": {\"$ref\": \"other.yaml#/Error\"}}}}},\n"
                          "  \"components\": {\n"
                          "    \"schemas\": {\n"
                          "      \"Pet\": {\"title\": \"Pet \xF0\x9F\x90\xB6\", \"type\": \"object\"},\n"
                          "      \"Alias\": {\"$ref\": \"#/components/schemas/Pet\"}\n"
                          "    },\n"
                          "    \"responses\": {\"Found\": {\"description\": \"f\xC3\xB6und \xF0\x9F\x90\xB6\"}},\n"
                          "    \"examples\": {\"Sample\": {\"summary\": \"s\"}}\n"
                          "  }\n"
                          "}\n";

struct Format {
    const char* name;
    const char* text;
    DocumentLanguage language;
    VoziZazIre::Format format;
    bool crlf;
};

const Format kFormats[] = {
    {"YAML", kYAML, DocumentLanguage::yaml, VoziZazIre::Format::yaml, false},
    {"YAML with CR LF", kYAML, DocumentLanguage::yaml, VoziZazIre::Format::yaml, true},
    {"JSON", kJSON, DocumentLanguage::json, VoziZazIre::Format::json, false},
    {"JSON with CR LF", kJSON, DocumentLanguage::json, VoziZazIre::Format::json, true},
};

QString textOf(const Format& format) {
    QString text = QString::fromUtf8(format.text);
    if (format.crlf) {
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    }
    return text;
}

// Brings the handler up to date after every announced change, as the editor does (before the
// view's own signal goes out), unless paused (a placeholder session).
class UpdatingDelegate : public QObject, public Carvex::EditorTextViewDelegate {
public:
    bool editorTextViewShouldChangeText(Carvex::EditorTextView&, TextRange, const QString&) override { return true; }
    void editorTextViewDidChangeText(Carvex::EditorTextView&, const TextChange&) override {
        if (handler != nullptr && !paused) {
            handler->updateLinks(language);
        }
    }
    RefLinkHandler* handler = nullptr;
    DocumentLanguage language = DocumentLanguage::unknown;
    bool paused = false;
};

class RecordingClickDelegate : public Carvex::RefLinkClickDelegate {
public:
    void refLinkHandlerDidNavigateTo(RefLinkHandler&, const QString& path, int64_t byteOffset) override {
        told.push_back({path, byteOffset});
    }
    std::vector<std::pair<QString, int64_t>> told;
};

class RefLinkHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        scope = std::make_unique<CarvexPlatform::ScopedMainScheduler>(fake);
        view = std::make_unique<Carvex::EditorTextView>(nullptr, fake);
        view->resize(700, 500);
        view->show();
        view->setTextDelegate(&delegate);
        handler = std::make_unique<RefLinkHandler>(view.get(), &document);
        delegate.handler = handler.get();
    }
    void TearDown() override {
        handler.reset();
        view.reset();
        scope.reset();
    }

    // Loads a text as the editor does: the view, the document's content, the links.
    void load(const QString& text, DocumentLanguage language) {
        view->loadText(text);
        document.setContent(text);
        delegate.language = language;
        handler->updateLinks(language);
    }
    // The model of `text` (the file's text), recorded as parsed from the view's current text.
    void parse(const QString& text, VoziZazIre::Format format) {
        const VoziZazIre::ParseResult result =
            VoziZazIre::OpenApiParser().parse(text.toStdString(), format, VoziZazIreCore::ValidationLevel::none);
        document.parsedModel = Carvex::ParsedOpenAPIModel(result.document).withSourceTextHash(qHash(view->viewText()));
    }
    const std::vector<Carvex::LogEntry>& log() const { return document.logStore()->entries(); }
    qsizetype indexOf(const QString& needle, qsizetype from = 0) const { return view->viewText().indexOf(needle, from); }
    // A viewport point over the middle of the character at `index`.
    QPoint pointAt(qsizetype index) const {
        QTextCursor cursor(view->document());
        cursor.setPosition(static_cast<int>(index));
        const QRect before = view->cursorRect(cursor);
        cursor.setPosition(static_cast<int>(index) + 1);
        const QRect after = view->cursorRect(cursor);
        return QPoint((before.left() + after.left()) / 2, before.center().y());
    }
    // The formats laid over the character at `index` when the view paints.
    std::vector<QTextCharFormat> formatsAt(qsizetype index) {
        (void)view->viewport()->grab();
        std::vector<QTextCharFormat> found;
        const QTextBlock block = view->document()->findBlock(static_cast<int>(index));
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            const qsizetype at = index - block.position();
            if (range.start <= at && at < range.start + range.length) {
                found.push_back(range.format);
            }
        }
        return found;
    }
    bool isStyledLink(qsizetype index) {
        for (const QTextCharFormat& format : formatsAt(index)) {
            if (format.fontUnderline() &&
                format.foreground().color() == Carvex::SyntaxThemeDefaults::darkLink().resolved()) {
                return true;
            }
        }
        return false;
    }
    // The local links of a full detection of the view's text.
    std::vector<RefLinkStyler::StyledLink> expectedStyled(DocumentLanguage language) const {
        std::vector<RefLinkStyler::StyledLink> styled;
        for (const RefLink& link : Carvex::RefLinkDetector().detectLinks(view->viewText(), language)) {
            if (link.isLocal() && link.valueRange.length > 0) {
                styled.push_back({link.valueRange, link.refPath});
            }
        }
        return styled;
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    std::unique_ptr<CarvexPlatform::ScopedMainScheduler> scope;
    Carvex::EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    Carvex::Document document{&preferences};
    UpdatingDelegate delegate;
    std::unique_ptr<Carvex::EditorTextView> view;
    std::unique_ptr<RefLinkHandler> handler;
};

// MARK: Detection

TEST_F(RefLinkHandlerTest, TheGateStartsEmptyAndHoldsForAnUnchangedTextWhateverTheLanguage) {
    EXPECT_FALSE(handler->contentHash()) << "nothing detected yet";
    handler->updateLinks(DocumentLanguage::json);  // the view's first, empty text (revision 0)
    EXPECT_EQ(handler->contentHash(), view->textRevision());

    load(QString::fromUtf8(kJSON), DocumentLanguage::json);
    ASSERT_EQ(handler->cachedLinks().size(), 4u);
    ASSERT_EQ(handler->styler()->styledLinks().size(), 3u) << "the external link is not styled";

    // Styling the same text again is left out: a link cleared by hand stays cleared.
    handler->styler()->clearLinkStyling();
    handler->updateLinks(DocumentLanguage::json);
    handler->updateLinks(DocumentLanguage::yaml);
    EXPECT_TRUE(handler->styler()->styledLinks().empty());
    EXPECT_EQ(handler->cachedLinks().size(), 4u) << "a language change alone does not detect";

    handler->applyStylesOnly();
    EXPECT_EQ(handler->styler()->styledLinks().size(), 3u);

    handler->removeAllStyles();
    EXPECT_TRUE(handler->cachedLinks().empty());
    EXPECT_TRUE(handler->styler()->styledLinks().empty());
    EXPECT_FALSE(handler->contentHash());
    handler->updateLinks(DocumentLanguage::json);
    EXPECT_EQ(handler->styler()->styledLinks(), expectedStyled(DocumentLanguage::json));
}

TEST_F(RefLinkHandlerTest, LinksFollowEveryEditLikeAFullDetection) {
    for (const DocumentLanguage language : {DocumentLanguage::json, DocumentLanguage::yaml}) {
        const bool json = language == DocumentLanguage::json;
        load(QString::fromUtf8(json ? kJSON : kYAML), language);
        // Each row is one edit: the text searched for, where in it, how many units go, what comes.
        const struct {
            const char* name;
            const char* find;
            int offset;
            int remove;
            const char* insert;
            bool paused;  // made during a placeholder session: no update until the session ends
        } edits[] = {
            {"typing into a value", "Found", 5, 0, "s", false},
            {"typing before a link", json ? "\"paths\"" : "  /pets", 0, 0, "x", false},
            {"deleting a value's closing quote", "Absent", 6, 1, "", false},
            {"putting it back", "Absent", 6, 0, "\"", false},
            {"a new link", json ? "\"Alias\"" : "    Pet:", 0, 0,
             json ? "\"Dog\": {\"$ref\": \"#/components/schemas/Pet\"},\n      "
                  : "    Dog:\n      $ref: '#/components/schemas/Pet'\n",
             false},
            {"inside a session", "schemas/Pet", 11, 0, "s", true},
            {"again inside it", "Founds", 0, 6, "Lost", true},
            {"after the session", "info", 0, 0, "\n", false},
            {"removing everything", "", 0, -1, "", false},
        };
        for (const auto& edit : edits) {
            SCOPED_TRACE(std::string(json ? "JSON " : "YAML ") + edit.name);
            const qsizetype at = indexOf(QString::fromUtf8(edit.find));
            ASSERT_GE(at, 0);
            const qsizetype remove = edit.remove < 0 ? view->textLength() : edit.remove;
            delegate.paused = edit.paused;
            ASSERT_TRUE(view->replaceCharacters(TextRange{at + edit.offset, remove}, QString::fromUtf8(edit.insert)));
            delegate.paused = false;
            // Styled links move with the text even while no update runs.
            if (edit.paused) {
                for (const auto& styled : handler->styler()->styledLinks()) {
                    EXPECT_EQ(view->viewText().mid(styled.range.location, styled.range.length), styled.path);
                }
                continue;
            }
            EXPECT_EQ(handler->contentHash(), view->textRevision());
            EXPECT_EQ(handler->cachedLinks(), Carvex::RefLinkDetector().detectLinks(view->viewText(), language));
            EXPECT_EQ(handler->styler()->styledLinks(), expectedStyled(language));
        }
    }
}

TEST_F(RefLinkHandlerTest, ANewTextForgetsTheOldLinksUntilItIsDetected) {
    load(QString::fromUtf8(kYAML), DocumentLanguage::yaml);
    ASSERT_FALSE(handler->cachedLinks().empty());
    // A text replaced without an update (the editor's `setContent`): nothing of the old links is
    // styled in it, also not by a highlighting pass that styles the cached links again.
    view->loadText(QStringLiteral("a: 1\nb: 2\nc: 3\n$ref: '#/x'\n"));
    EXPECT_TRUE(handler->cachedLinks().empty());
    EXPECT_TRUE(handler->styler()->styledLinks().empty());
    handler->applyStylesOnly();
    EXPECT_TRUE(handler->styler()->styledLinks().empty());
    // The next edit detects the new text in full.
    ASSERT_TRUE(view->replaceCharacters(TextRange{0, 0}, QStringLiteral("#\n")));
    EXPECT_EQ(handler->styler()->styledLinks(), expectedStyled(DocumentLanguage::yaml));
    EXPECT_EQ(handler->styler()->styledLinks().size(), 1u);
}

// MARK: Styling

TEST_F(RefLinkHandlerTest, LinksAreALayerOverTheValueWithoutQuotes) {
    load(QString::fromUtf8(kJSON), DocumentLanguage::json);
    RefLinkStyler& styler = *handler->styler();
    const qsizetype value = indexOf(QStringLiteral("#/components/responses/Found"));
    const qsizetype length = QStringLiteral("#/components/responses/Found").size();
    const qsizetype external = indexOf(QStringLiteral("other.yaml"));
    const struct {
        const char* name;
        qsizetype index;
        bool styled;
    } rows[] = {
        {"opening quote", value - 1, false},
        {"first character", value, true},
        {"last character", value + length - 1, true},
        {"closing quote", value + length, false},
        {"external link", external, false},
        {"a key", indexOf(QStringLiteral("openapi")), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(styler.refPath(row.index).has_value(), row.styled);
        EXPECT_EQ(isStyledLink(row.index), row.styled);
    }
    EXPECT_EQ(styler.refPath(value + 3), QStringLiteral("#/components/responses/Found"));
    for (const qsizetype outside : {qsizetype{-1}, view->textLength(), view->textLength() + 5}) {
        EXPECT_FALSE(styler.refPath(outside));
    }
    EXPECT_EQ(RefLinkStyler::refLinkPathKey(), QStringLiteral("CarvexRefLinkPath"));

    // Clearing a range removes the links it meets, and only those.
    styler.clearLinkStyling(TextRange{value + 2, 1});
    EXPECT_FALSE(styler.refPath(value));
    EXPECT_FALSE(isStyledLink(value));
    EXPECT_TRUE(styler.refPath(indexOf(QStringLiteral("#/components/schemas/Pet"))));
    styler.clearLinkStyling(TextRange{view->textLength() + 3, 10});
    EXPECT_EQ(styler.styledLinks().size(), 2u);
}

TEST_F(RefLinkHandlerTest, StylingLeavesValidationMarksUndoAndTheModifiedFlagAlone) {
    load(QString::fromUtf8(kYAML), DocumentLanguage::yaml);
    Carvex::ValidationDecorationRenderer marks(view.get());
    const qsizetype value = indexOf(QStringLiteral("#/components/schemas/Pet"));
    Carvex::ValidationDecoration decoration{QUuid::createUuid(), {}, TextRange{value - 2, 12}};
    marks.applyDecoration(decoration, decoration.range);
    ASSERT_EQ(marks.marks().size(), 1u);

    handler->removeAllStyles();
    handler->updateLinks(DocumentLanguage::yaml);
    handler->applyStylesOnly();
    EXPECT_TRUE(isStyledLink(value));
    handler->styler()->clearLinkStyling();
    handler->styler()->clearLinkStyling(TextRange{0, view->textLength()});
    EXPECT_FALSE(isStyledLink(value));
    EXPECT_EQ(marks.marks().size(), 1u) << "a validation underline is no link";
    EXPECT_FALSE(view->document()->isUndoAvailable());
    EXPECT_FALSE(view->document()->isModified());
    EXPECT_FALSE(document.isDocumentEdited());
}

// MARK: Clicks and the pointer

TEST_F(RefLinkHandlerTest, ACommandClickPutsTheCaretOnTheTargetsFirstCharacter) {
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        const QString text = textOf(format);
        load(text, format.language);
        parse(text, format.format);
        RecordingClickDelegate told;
        handler->setClickDelegate(&told);
        const struct {
            const char* link;
            const char* target;  // the text at the target, or null when none is found
        } rows[] = {
            {"#/components/schemas/Pet", format.language == DocumentLanguage::json ? "{\"title\": \"Pet" : "title: Pet"},
            {"#/components/responses/Found",
             format.language == DocumentLanguage::json ? "{\"description\": \"f\xC3\xB6und" : "description: f"},
            {"#/components/examples/Absent", nullptr},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.link);
            const qsizetype link = indexOf(QString::fromUtf8(row.link));
            ASSERT_GE(link, 0);
            const std::size_t logged = log().size();
            view->setSelectedRange(TextRange{0, 0});
            const bool followed = handler->handleCmdClick(pointAt(link + 4));
            EXPECT_EQ(followed, row.target != nullptr);
            ASSERT_EQ(log().size(), logged + 1);
            const Carvex::LogEntry& entry = log().back();
            if (!row.target) {
                EXPECT_EQ(view->selectedRange(), (TextRange{0, 0})) << "the caret stays";
                EXPECT_EQ(entry.level, LogLevel::warning);
                EXPECT_EQ(entry.message, QStringLiteral("Cannot navigate: target not found"));
                EXPECT_EQ(entry.errorDescription, QStringLiteral("Reference: ") + QString::fromUtf8(row.link) +
                                                      QStringLiteral("\nMake sure the target exists in the document."));
                // The same by character index: the description is the path alone.
                EXPECT_FALSE(handler->handleCmdClick(link));
                EXPECT_EQ(log().back().errorDescription, QString::fromUtf8(row.link));
                continue;
            }
            const TextRange caret = view->selectedRange();
            EXPECT_EQ(caret.length, 0);
            EXPECT_TRUE(view->viewText().mid(caret.location).startsWith(QString::fromUtf8(row.target)))
                << view->viewText().mid(caret.location, 30).toStdString();
            const std::optional<VoziZazIreCore::SourceLocation> start =
                Carvex::RefLocationResolver().resolveSourceLocation(QString::fromUtf8(row.link), *document.parsedModel);
            ASSERT_TRUE(start);
            EXPECT_EQ(entry.level, LogLevel::info);
            EXPECT_EQ(entry.message, QStringLiteral("Navigated to byte offset ") + QString::number(start->offset));
            ASSERT_FALSE(told.told.empty());
            EXPECT_EQ(told.told.back(), std::make_pair(QString::fromUtf8(row.link), start->offset));
        }
        handler->setClickDelegate(nullptr);
    }
}

// A pointer written quoted is followed as its quoting reads it: the YAML single-quoted `''`, the
// YAML double-quoted and the JSON `\"` are one quote in the component's name.
TEST_F(RefLinkHandlerTest, ACommandClickFollowsAQuotedPointerAsItsQuotingReadsIt) {
    const QString yaml = QStringLiteral(
        "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n"
        "    it's:\n      description: single\n    a\"b:\n      description: double\n    Holder:\n"
        "      properties:\n        one:\n          $ref: '#/components/schemas/it''s'\n"
        "        two:\n          $ref: \"#/components/schemas/a\\\"b\"\n");
    const QString json = QStringLiteral(
        "{\"openapi\": \"3.0.3\", \"info\": {\"title\": \"t\", \"version\": \"1\"}, \"paths\": {},\n"
        " \"components\": {\"schemas\": {\n"
        "  \"it's\": {\"description\": \"single\"},\n  \"a\\\"b\": {\"description\": \"double\"},\n"
        "  \"Holder\": {\"properties\": {\n"
        "   \"one\": {\"$ref\": \"#/components/schemas/it's\"},\n"
        "   \"two\": {\"$ref\": \"#/components/schemas/a\\\"b\"}}}}}}\n");
    const struct {
        const char* name;
        const QString& text;
        DocumentLanguage language;
        VoziZazIre::Format format;
        const char* link;    // as written
        const char* target;  // the text at the target
    } rows[] = {
        {"YAML single-quoted", yaml, DocumentLanguage::yaml, VoziZazIre::Format::yaml, "#/components/schemas/it''s",
         "description: single"},
        {"YAML double-quoted", yaml, DocumentLanguage::yaml, VoziZazIre::Format::yaml, "#/components/schemas/a\\\"b",
         "description: double"},
        {"JSON, a quote escaped", json, DocumentLanguage::json, VoziZazIre::Format::json,
         "#/components/schemas/a\\\"b", "{\"description\": \"double\"}"},
        {"JSON, an apostrophe", json, DocumentLanguage::json, VoziZazIre::Format::json, "#/components/schemas/it's",
         "{\"description\": \"single\"}"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        load(row.text, row.language);
        parse(row.text, row.format);
        const qsizetype link = indexOf(QString::fromUtf8(row.link));
        ASSERT_GT(link, 0);
        view->setSelectedRange(TextRange{0, 0});
        EXPECT_TRUE(handler->handleCmdClick(pointAt(link + 3)));
        EXPECT_TRUE(view->viewText().mid(view->selectedRange().location).startsWith(QString::fromUtf8(row.target)))
            << view->viewText().mid(view->selectedRange().location, 30).toStdString();
        EXPECT_EQ(log().back().level, LogLevel::info);
    }
}

TEST_F(RefLinkHandlerTest, ATargetOffScreenIsBroughtToTheMiddleAndOneOnScreenStaysPut) {
    // A long description between the link and its target, and a second link close to its target.
    QString text = QStringLiteral("openapi: 3.0.3\ninfo:\n  title: t\n  version: '1'\n  description: |\n");
    for (int i = 0; i < 200; ++i) {
        text += QStringLiteral("    line %1\n").arg(i);
    }
    text += QStringLiteral("paths: {}\ncomponents:\n  schemas:\n    Near:\n      $ref: '#/components/schemas/Far'\n"
                           "    Far:\n      type: object\n      description: far\n    Last:\n      description: |\n");
    for (int i = 0; i < 60; ++i) {
        text += QStringLiteral("        line %1\n").arg(i);
    }
    text.insert(text.indexOf(u"  description: |"), QStringLiteral("  x-link:\n    $ref: '#/components/schemas/Far'\n"));
    load(text, DocumentLanguage::yaml);
    parse(text, VoziZazIre::Format::yaml);
    const QRect viewport = view->viewport()->rect();
    const auto rectOfCaret = [&] { return view->cursorRect(); };

    // From the top of the text: the target lies far below the view.
    view->setSelectedRange(TextRange{0, 0});
    view->ensureCursorVisible();
    ASSERT_TRUE(handler->handleCmdClick(indexOf(QStringLiteral("#/components/schemas/Far")) + 2));
    ASSERT_TRUE(view->viewText().mid(view->selectedRange().location).startsWith(QStringLiteral("type: object")));
    const QRect far = rectOfCaret();
    EXPECT_TRUE(viewport.contains(far));
    EXPECT_GT(far.top(), viewport.height() / 3) << "not left at the top edge";
    EXPECT_LT(far.bottom(), viewport.height() * 2 / 3) << "not left at the bottom edge, the definition hidden";

    // The link just above its target: the view does not move.
    const qsizetype near = indexOf(QStringLiteral("#/components/schemas/Far"), indexOf(QStringLiteral("Near:")));
    view->setSelectedRange(TextRange{near, 0});
    view->ensureCursorVisible();
    const int scrolled = view->verticalScrollBar()->value();
    ASSERT_TRUE(handler->handleCmdClick(near + 2));
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled);
    EXPECT_TRUE(viewport.contains(rectOfCaret()));
}

TEST_F(RefLinkHandlerTest, ClicksThatAreNoLinkActAsPlainClicksAndLogNothing) {
    const QString text = QString::fromUtf8(kYAML);
    load(text, DocumentLanguage::yaml);
    const qsizetype local = indexOf(QStringLiteral("#/components/schemas/Pet"));
    // Before any successful parse.
    EXPECT_FALSE(handler->handleCmdClick(local));
    EXPECT_FALSE(handler->handleCmdClick(pointAt(local)));
    parse(text, VoziZazIre::Format::yaml);
    const struct {
        const char* name;
        qsizetype index;
    } rows[] = {
        {"external link", indexOf(QStringLiteral("other.yaml"))},
        {"a key", indexOf(QStringLiteral("openapi"))},
        {"a link's quote", local - 1},
        {"before the text", -1},
        {"past the text", view->textLength() + 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(handler->handleCmdClick(row.index));
    }
    EXPECT_FALSE(handler->handleCmdClick(QPoint(5, 5)));
    EXPECT_TRUE(log().empty());
}

TEST_F(RefLinkHandlerTest, AStaleModelKeepsTheCaretUntilTheTextIsParsedAgain) {
    const QString text = QString::fromUtf8(kYAML);
    load(text, DocumentLanguage::yaml);
    parse(text, VoziZazIre::Format::yaml);
    // Lines inserted above the target: the model's lines no longer fit the text.
    ASSERT_TRUE(view->replaceCharacters(TextRange{0, 0}, QStringLiteral("# one\n# two\n")));
    const struct {
        const char* name;
        std::function<void()> change;
        bool lands;
    } steps[] = {
        {"a parse pending", [] {}, false},
        {"a text that does not parse",
         [&] { ASSERT_TRUE(view->replaceCharacters(TextRange{0, 0}, QStringLiteral("{ ["))); }, false},
        {"parsed again",
         [&] {
             ASSERT_TRUE(view->replaceCharacters(TextRange{0, 3}, QString()));
             parse(view->viewText(), VoziZazIre::Format::yaml);
         },
         true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        const qsizetype at = indexOf(QStringLiteral("#/components/schemas/Pet"));
        ASSERT_GE(at, 0);
        view->setSelectedRange(TextRange{0, 0});
        const std::size_t logged = log().size();
        EXPECT_EQ(handler->handleCmdClick(at + 1), step.lands);
        ASSERT_EQ(log().size(), logged + 1);
        if (step.lands) {
            EXPECT_TRUE(view->viewText().mid(view->selectedRange().location).startsWith(QStringLiteral("title: Pet")));
        } else {
            EXPECT_EQ(view->selectedRange(), (TextRange{0, 0}));
            EXPECT_EQ(log().back().level, LogLevel::warning);
            EXPECT_EQ(log().back().message, QStringLiteral("Cannot navigate: target not found"));
        }
    }
}

TEST_F(RefLinkHandlerTest, CommandOverAStyledLocalLinkShowsThePointingHand) {
    load(QString::fromUtf8(kJSON), DocumentLanguage::json);
    const qsizetype local = indexOf(QStringLiteral("#/components/schemas/Pet"));
    const struct {
        const char* name;
        qsizetype index;
        Qt::KeyboardModifiers modifiers;
        bool hand;
    } rows[] = {
        {"Command over a link", local + 2, Qt::ControlModifier, true},
        {"Command and Shift over a link", local + 2, Qt::ControlModifier | Qt::ShiftModifier, true},
        {"no Command", local + 2, Qt::NoModifier, false},
        {"Shift alone", local + 2, Qt::ShiftModifier, false},
        {"over a key", indexOf(QStringLiteral("openapi")), Qt::ControlModifier, false},
        {"over an external link", indexOf(QStringLiteral("other.yaml")) + 2, Qt::ControlModifier, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<QCursor> cursor = handler->cursor(pointAt(row.index), row.modifiers);
        EXPECT_EQ(cursor.has_value(), row.hand);
        if (cursor) {
            EXPECT_EQ(cursor->shape(), Qt::PointingHandCursor);
        }
    }
}

// MARK: Bad input

TEST_F(RefLinkHandlerTest, TargetsOutsideTheTextAndLargeTextsMoveNothingAndHangNothing) {
    // A model of a longer text that recorded no text: its target lies past the current end.
    const QString longer = QString::fromUtf8(kYAML);
    const QString shorter = QStringLiteral("openapi: 3.0.3\nx:\n  $ref: '#/components/schemas/Pet'\n");
    load(shorter, DocumentLanguage::yaml);
    const VoziZazIre::ParseResult result = VoziZazIre::OpenApiParser().parse(
        longer.toStdString(), VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none);
    document.parsedModel = Carvex::ParsedOpenAPIModel(result.document);
    view->setSelectedRange(TextRange{3, 0});
    EXPECT_TRUE(handler->handleCmdClick(indexOf(QStringLiteral("#/components")) + 1)) << "the click is consumed";
    EXPECT_EQ(view->selectedRange(), (TextRange{3, 0}));

    // A value of a megabyte, a million links on one line, a click while a long text still loads.
    QString huge = QStringLiteral("openapi: 3.0.3\nx:\n  $ref: '#/") + QString(1 << 20, u'a') + QStringLiteral("'\n");
    load(huge, DocumentLanguage::yaml);
    ASSERT_EQ(handler->styler()->styledLinks().size(), 1u);
    EXPECT_EQ(handler->styler()->styledLinks().front().range.length, (1 << 20) + 2);
    (void)view->viewport()->grab();

    // Links packed side by side on one line: a million are found and styled; twenty thousand
    // (a line the view lays out quickly) are followed through an edit, drawn and pointed at.
    for (const int count : {1'000'000, 20'000}) {
        QString packed;
        packed.reserve(count * 15);
        for (int i = 0; i < count; ++i) {
            packed += QStringLiteral("{\"$ref\":\"#/a\"},");
        }
        load(packed, DocumentLanguage::json);
        EXPECT_EQ(handler->cachedLinks().size(), std::size_t(count));
        EXPECT_EQ(handler->styler()->styledLinks().size(), std::size_t(count));
        EXPECT_EQ(handler->styler()->refPath(packed.size() - 4), QStringLiteral("#/a"));
        if (count > 20'000) {
            continue;
        }
        ASSERT_TRUE(view->replaceCharacters(TextRange{10, 0}, QStringLiteral("b")));
        EXPECT_EQ(handler->cachedLinks().front().refPath, QStringLiteral("#b/a"));
        EXPECT_EQ(handler->styler()->refPath(10), QStringLiteral("#b/a"));
        EXPECT_EQ(handler->styler()->styledLinks().size(), std::size_t(count));
        (void)view->viewport()->grab();
        EXPECT_TRUE(handler->cursor(pointAt(10), Qt::ControlModifier));
    }

    QString lines = QStringLiteral("openapi: 3.0.3\ninfo:\n  title: t\n  version: '1'\npaths: {}\n"
                                   "components:\n  schemas:\n    Pet:\n      type: object\n");
    for (int i = 0; i < 12'000; ++i) {
        lines += QStringLiteral("    S%1:\n      $ref: '#/components/schemas/Pet'\n").arg(i);
    }
    view->loadText(lines);
    ASSERT_TRUE(view->isLoading());
    document.setContent(lines);
    handler->updateLinks(DocumentLanguage::yaml);
    parse(lines, VoziZazIre::Format::yaml);
    const qsizetype first = indexOf(QStringLiteral("#/components/schemas/Pet"));
    EXPECT_TRUE(handler->handleCmdClick(first + 1));
    EXPECT_FALSE(view->isLoading()) << "the load is finished before the caret moves";
    EXPECT_TRUE(view->viewText().mid(view->selectedRange().location).startsWith(QStringLiteral("type: object")));
}

}  // namespace
