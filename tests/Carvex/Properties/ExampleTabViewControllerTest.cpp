// The Example tab offscreen: its states for each kind of source, the info line, the colours in its
// text's layer, Copy, and the pop-ups acting only on the user's choice.

#include "Carvex/ModelAdapters/AnyValueText.h"
#include "Carvex/ModelAdapters/GeneratedExample.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/Properties/ExampleTabViewController.h"
#include "Carvex/Properties/OperationDetailsTabController.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/TabButtonBar.h"
#include "Carvex/Syntax/JSONLexer.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "kit/facade/OpenApiParser.h"
#include "kit/parsing/JSONParser.h"
#include "platform/Appearance.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/TestApplication.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using Carvex::ExampleTabViewController;
using Carvex::HTTPMethod;
using Carvex::OperationDetailsViewModel;
using Carvex::ParsedOpenAPIModel;
using VoziZazIreCore::AnyValue;

const char* const kDocument = R"(openapi: 3.0.3
info: {title: t, version: '1'}
paths:
  /pets:
    post:
      requestBody:
        content:
          application/json:
            examples:
              c: {value: {id: 3, tags: [x], ok: false, none: null}}
              b: {summary: Only a summary, value: [1, 0.25, "two"]}
              a: {summary: Cat, description: "A cat\u0001 called \"Tom\"", value: {name: Tom, id: 1, good: true}}
          application/octet-stream: {}
      responses:
        '201': {description: created, content: {application/json: {schema: {$ref: '#/components/schemas/Pet'}}}}
  /toys/{id}:
    delete:
      responses:
        '204': {description: gone}
components:
  schemas:
    Pet: {type: object, required: [id, name], properties: {id: {type: integer}, name: {type: string}}}
)";

ParsedOpenAPIModel modelOf(const std::string& text) {
    return ParsedOpenAPIModel(
        VoziZazIre::OpenApiParser().parse(text, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none).document);
}

OperationDetailsViewModel detailsOf(const ParsedOpenAPIModel& model, const char* path, HTTPMethod method) {
    auto details = Carvex::OperationDetailsBuilder().build({QString::fromUtf8(path), method}, model);
    EXPECT_TRUE(details.has_value()) << path;
    return details.value_or(OperationDetailsViewModel{});
}

QStringList itemsOf(const QComboBox& popup) {
    QStringList items;
    for (int i = 0; i < popup.count(); ++i) {
        items << popup.itemText(i);
    }
    return items;
}

// The text read back through the library's JSON parser, as a value; fails the test when it is no JSON.
std::optional<AnyValue> readBack(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    try {
        const auto root = VoziZazIreParsing::JSONParser().parse(
            std::span(reinterpret_cast<const std::uint8_t*>(utf8.constData()), static_cast<std::size_t>(utf8.size())));
        return Carvex::GeneratedExample::anyValue(*root);
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what() << " in " << utf8.left(200).constData();
        return std::nullopt;
    }
}

// Which parts of the tab show: toolbar, example pop-up, info line, text, copy button, "No examples
// defined", "No examples available".
struct Shown {
    bool toolbar, examplePopup, info, text, copy, noExamples, noSources;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s) {
    return out << "toolbar=" << s.toolbar << " examplePopup=" << s.examplePopup << " info=" << s.info
               << " text=" << s.text << " copy=" << s.copy << " noExamples=" << s.noExamples
               << " noSources=" << s.noSources;
}

Shown shownIn(ExampleTabViewController& tab) {
    QWidget* root = tab.view();
    const auto shown = [root](const QWidget* widget) { return widget->isVisibleTo(root); };
    return {shown(tab.toolbarBar()), shown(tab.examplePopup()), shown(tab.infoLabel()),
            shown(tab.textView()),   shown(tab.copyButton()),   shown(tab.noExamplesLabel()),
            shown(tab.noSourcesStack())};
}

class ExampleTabViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
    void TearDown() override { CarvexPlatform::Appearance::shared().setOverride(std::nullopt); }

    const ParsedOpenAPIModel model = modelOf(kDocument);
};

TEST_F(ExampleTabViewControllerTest, TheViewIsBuiltAsDescribed) {
    ExampleTabViewController tab;
    tab.view();
    EXPECT_EQ(tab.sourcePopup()->maximumWidth(), 200);
    EXPECT_EQ(tab.examplePopup()->maximumWidth(), 160);
    EXPECT_EQ(tab.copyButton()->toolTip(), QStringLiteral("Copy to Clipboard"));
    EXPECT_EQ(tab.copyButton()->accessibleName(), QStringLiteral("Copy"));
    EXPECT_FALSE(tab.copyButton()->icon().isNull());
    EXPECT_TRUE(tab.textView()->isReadOnly());
    EXPECT_FALSE(tab.textView()->highlightCurrentLine());
    EXPECT_FALSE(tab.textView()->showIndentGuides());
    EXPECT_EQ(tab.textView()->font().pointSizeF(), 11);
    EXPECT_TRUE(tab.infoLabel()->wordWrap());
    EXPECT_EQ(tab.noExamplesLabel()->text(), QStringLiteral("No examples defined for this source"));
    QStringList stackTexts;
    for (const QLabel* label : tab.noSourcesStack()->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            stackTexts << label->text();
        }
        if (label->accessibleName() == QStringLiteral("No examples")) {
            EXPECT_FALSE(label->pixmap().isNull());
        }
    }
    EXPECT_EQ(stackTexts, QStringList{QStringLiteral("No examples available")});
    // Before any operation the tab says there is nothing to show.
    EXPECT_EQ(shownIn(tab), (Shown{false, false, false, false, false, false, true}));
}

TEST_F(ExampleTabViewControllerTest, StatesFollowTheOperationAndTheChosenSource) {
    const struct Row {
        const char* name;
        const char* path;
        HTTPMethod method;
        int source;  // -1: as configured
        QStringList sources;
        QStringList examples;
        Shown shown;
        QString info;
    } rows[] = {
        {"a 204 alone", "/toys/{id}", HTTPMethod::delete_, -1, {}, {}, {false, false, false, false, false, false, true}, {}},
        {"three named examples",
         "/pets",
         HTTPMethod::post,
         -1,
         {"Request Body (application/json)", "Request Body (application/octet-stream)", "201 Response (application/json)"},
         {"a", "b", "c"},
         {true, true, true, true, true, false, false},
         QStringLiteral("Cat \u2014 A cat\u0001 called \"Tom\"")},
        {"then a source without any", "/pets", HTTPMethod::post, 1, {}, {}, {true, false, false, false, false, true, false}, {}},
        {"a generated one",
         "/pets",
         HTTPMethod::post,
         2,
         {},
         {"Generated"},
         {true, false, true, true, true, false, false},
         QStringLiteral("Auto-generated from schema")},
    };
    ExampleTabViewController tab;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.source < 0) {
            tab.configure(detailsOf(model, row.path, row.method), model);
            EXPECT_EQ(itemsOf(*tab.sourcePopup()), row.sources);
        } else {
            tab.selectSource(row.source);
        }
        EXPECT_EQ(itemsOf(*tab.examplePopup()), row.examples);
        EXPECT_EQ(shownIn(tab), row.shown);
        if (row.shown.info) {
            EXPECT_EQ(tab.infoLabel()->fullText(), row.info);
        }
        if (!row.shown.text) {
            continue;
        }
        // The first example shows, as indented JSON that reads back to its value.
        const AnyValue& value = tab.currentSourceExamples().front().value;
        EXPECT_EQ(tab.textView()->viewText(), QString::fromStdString(Carvex::AnyValueText::prettyJSONString(value, 2)));
        EXPECT_EQ(readBack(tab.textView()->viewText()), value);
    }
    // The generated example of the 201 response is a pet.
    const auto shown = readBack(tab.textView()->viewText());
    ASSERT_TRUE(shown && shown->objectValue());
    const AnyValue* id = shown->objectValue()->find("id");
    const AnyValue* name = shown->objectValue()->find("name");
    ASSERT_TRUE(id && name);
    EXPECT_EQ(id->kind(), AnyValue::Kind::int_);
    EXPECT_EQ(name->kind(), AnyValue::Kind::string);
}

TEST_F(ExampleTabViewControllerTest, TheInfoLineJoinsWhatIsPresent) {
    ExampleTabViewController tab;
    tab.configure(detailsOf(model, "/pets", HTTPMethod::post), model);
    const struct {
        int index;
        QString info;
    } rows[] = {
        {1, QStringLiteral("Only a summary")},
        {2, QString()},
        {0, QStringLiteral("Cat \u2014 A cat\u0001 called \"Tom\"")},
        {3, QStringLiteral("Cat \u2014 A cat\u0001 called \"Tom\"")},  // outside: nothing changes
        {-1, QStringLiteral("Cat \u2014 A cat\u0001 called \"Tom\"")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.index);
        tab.showExample(row.index);
        EXPECT_EQ(tab.infoLabel()->fullText(), row.info);
        EXPECT_EQ(tab.infoLabel()->isHidden(), row.info.isEmpty());
    }
    // The control character of the description is escaped in the JSON, never written raw.
    EXPECT_FALSE(tab.textView()->viewText().contains(QChar(1)));
}

TEST_F(ExampleTabViewControllerTest, TheInfoLineKeepsToTwoLinesWithAnEllipsis) {
    Carvex::LineLimitedLabel label(2);
    const QString words = QStringLiteral("A short-haired cat — that likes to sleep on the keyboard when nobody looks");
    label.setFullText(words);
    const QFontMetrics metrics = label.fontMetrics();
    const int wide = metrics.horizontalAdvance(words) + 10;
    const struct {
        const char* name;
        QString text;
        int width;
        int lineBreaks;
        bool cut;
    } rows[] = {
        {"fits on one line", words, wide, 0, false},
        {"needs two lines", words, wide * 2 / 3, 0, false},
        {"needs more", words, wide / 4, 1, true},
        {"one long word", QString(400, QLatin1Char('w')), wide / 4, 1, true},
        {"empty", QString(), 50, 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        label.setFullText(row.text);
        const QString shown = label.shownText(row.width);
        EXPECT_EQ(shown.count(QLatin1Char('\n')), row.lineBreaks);
        EXPECT_EQ(shown.endsWith(QChar(0x2026)), row.cut);
        if (!row.cut) {
            EXPECT_EQ(shown, row.text);
            continue;
        }
        // Each line fits the width, and the first line starts the text.
        for (const QString& line : shown.split(QLatin1Char('\n'))) {
            EXPECT_LE(metrics.horizontalAdvance(line), row.width) << line.toStdString();
        }
        EXPECT_TRUE(row.text.startsWith(shown.section(QLatin1Char('\n'), 0, 0)));
    }
    EXPECT_EQ(label.fullText(), QString());
}

TEST_F(ExampleTabViewControllerTest, WithoutAModelTheOldSourcesStayHidden) {
    ExampleTabViewController tab;
    tab.configure(detailsOf(model, "/pets", HTTPMethod::post), model);
    const QStringList sources = itemsOf(*tab.sourcePopup());
    const OperationDetailsViewModel other = detailsOf(model, "/toys/{id}", HTTPMethod::delete_);
    tab.configure(other, std::nullopt);
    EXPECT_EQ(itemsOf(*tab.sourcePopup()), sources);
    EXPECT_EQ(tab.availableSources().size(), 3u);
    EXPECT_EQ(tab.currentDetails()->id.path, QStringLiteral("/toys/{id}"));
    EXPECT_EQ(shownIn(tab), (Shown{false, false, false, false, false, false, true}));
    // A source chosen now lists nothing: the old sources do not belong to these details.
    tab.selectSource(2);
    EXPECT_TRUE(tab.currentSourceExamples().empty());
}

TEST_F(ExampleTabViewControllerTest, CopyPutsTheShownTextOnTheClipboardAndLeavesItAloneWhenEmpty) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("kept"));
    ExampleTabViewController tab;
    tab.view();
    tab.copyButton()->click();
    EXPECT_EQ(clipboard->text(), QStringLiteral("kept"));

    tab.configure(detailsOf(model, "/pets", HTTPMethod::post), model);
    for (int index : {0, 1, 2}) {
        SCOPED_TRACE(index);
        tab.showExample(index);
        tab.copyButton()->click();
        EXPECT_EQ(clipboard->text(), tab.textView()->viewText());
        EXPECT_EQ(readBack(clipboard->text()), tab.currentSourceExamples()[static_cast<std::size_t>(index)].value);
    }
}

TEST_F(ExampleTabViewControllerTest, EachTokenKindTakesTheThemesColourInTheLayer) {
    ExampleTabViewController tab;
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark);
        CarvexPlatform::Appearance::shared().setOverride(dark);
        tab.configure(detailsOf(model, "/pets", HTTPMethod::post), model);
        tab.showExample(2);  // keys, strings, numbers, true, false, null, brackets
        const Carvex::SyntaxTheme theme = Carvex::SyntaxThemePreferencesStore::shared().buildTheme(dark);
        const QString text = tab.textView()->viewText();
        Carvex::SyntaxColorLayer& layer = tab.textView()->colorLayer();
        std::set<Carvex::SyntaxTokenType> seen;
        for (const Carvex::SyntaxToken& token : Carvex::JSONLexer().tokenize(text)) {
            seen.insert(token.type);
            for (qsizetype at : {token.range.location, token.range.end() - 1}) {
                EXPECT_EQ(layer.colorAt(at), theme.attributes(token.type).foreground().color())
                    << static_cast<int>(token.type) << " at " << at;
            }
        }
        EXPECT_EQ(seen.size(), 6u);
        // Blanks between tokens take the default colour.
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        ASSERT_GE(blank, 0);
        EXPECT_EQ(layer.colorAt(blank), theme.defaultAttributes().foreground().color());
        // Every entry in the tab's font.
        EXPECT_EQ(layer.theme().defaultAttributes().font().pointSizeF(), 11);
        for (const auto& [type, attributes] : layer.theme().attributes()) {
            EXPECT_EQ(attributes.font().pointSizeF(), 11) << static_cast<int>(type);
        }
    }
}

TEST_F(ExampleTabViewControllerTest, FillingThePopupsGeneratesNothing) {
    // Hundreds of sources: one example is shown, once, and index changes made in code choose nothing.
    std::string text = "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /many:\n    get:\n      responses:\n";
    for (int code = 200; code < 500; ++code) {
        text += "        '" + std::to_string(code) + "': {description: d, content: {application/json: {schema: {type: "
                "object, properties: {code: {type: integer, example: " + std::to_string(code) + "}}}}}}\n";
    }
    const ParsedOpenAPIModel many = modelOf(text);
    ExampleTabViewController tab;
    tab.view();
    const quint64 before = tab.textView()->textRevision();
    tab.configure(detailsOf(many, "/many", HTTPMethod::get), many);
    EXPECT_EQ(tab.sourcePopup()->count(), 300);
    EXPECT_EQ(tab.textView()->textRevision(), before + 1);
    tab.sourcePopup()->setCurrentIndex(7);
    tab.examplePopup()->setCurrentIndex(-1);
    EXPECT_EQ(tab.textView()->textRevision(), before + 1);
    EXPECT_EQ(readBack(tab.textView()->viewText()), readBack(QStringLiteral("{\"code\": 200}")));

    // The user's choice acts.
    emit tab.sourcePopup()->activated(7);
    EXPECT_EQ(tab.textView()->textRevision(), before + 2);
    EXPECT_EQ(readBack(tab.textView()->viewText()), readBack(QStringLiteral("{\"code\": 207}")));
}

TEST_F(ExampleTabViewControllerTest, DeeplyNestedAndLargeDeclaredValuesShowAndCopy) {
    const int depth = 900;
    std::string nested;
    for (int i = 0; i < depth; ++i) {
        nested += "[";
    }
    nested += "1";
    for (int i = 0; i < depth; ++i) {
        nested += "]";
    }
    std::string large = "[";
    for (int i = 0; i < 20000; ++i) {
        large += (i ? ", " : "") + std::string("{\"n\": ") + std::to_string(i) + "}";
    }
    large += "]";
    const ParsedOpenAPIModel deep = modelOf(
        "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /deep:\n    get:\n      responses:\n"
        "        '200': {description: d, content: {application/json: {example: " + nested + "}}}\n"
        "        '201': {description: d, content: {application/json: {example: " + large + "}}}\n"
        "        '202': {description: d, content: {application/json: {example: {a: 1}}}}\n");
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    ExampleTabViewController tab(fake);
    tab.configure(detailsOf(deep, "/deep", HTTPMethod::get), deep);
    for (int source : {0, 1}) {
        SCOPED_TRACE(source);
        tab.selectSource(source);
        ASSERT_EQ(tab.currentSourceExamples().size(), 1u);
        tab.copyExample();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), tab.textView()->viewText());
        EXPECT_EQ(readBack(tab.textView()->viewText()), tab.currentSourceExamples().front().value);
    }
    // The large text loads in slices and is lexed on a worker thread; the colours cover all of it.
    ASSERT_GT(tab.textView()->textLength(), Carvex::SyntaxHighlightingController::backgroundLexingThreshold);
    const qsizetype last = tab.textView()->textLength() - 1;
    CarvexPlatform::BackgroundTask::waitForIdle();
    fake->runPending();
    tab.textView()->finishLoading();
    EXPECT_EQ(tab.textView()->colorLayer().typeAt(last), Carvex::SyntaxTokenType::punctuation);

    // Colours of a text that another text replaced before they came are dropped.
    tab.selectSource(1);
    tab.selectSource(2);
    CarvexPlatform::BackgroundTask::waitForIdle();
    fake->runPending();
    const QString small = tab.textView()->viewText();
    EXPECT_EQ(tab.textView()->colorLayer().runs(),
              Carvex::SyntaxColorLayer::runsFromTokens(Carvex::JSONLexer().tokenize(small), static_cast<int>(small.size())));
}

TEST_F(ExampleTabViewControllerTest, TheDetailsShowTheTabConfiguredOnTheFourthButton) {
    Carvex::PropertiesViewController pane;
    Carvex::OperationDetailsTabController controller(&pane);
    // A click before any operation shows the tab unconfigured.
    controller.tabBar()->buttons()[3]->click();
    ASSERT_NE(controller.exampleTab(), nullptr);
    EXPECT_EQ(controller.currentChildView(), controller.exampleTab()->view());
    EXPECT_FALSE(controller.exampleTab()->currentDetails().has_value());

    controller.show(detailsOf(model, "/pets", HTTPMethod::post), model);
    controller.tabBar()->buttons()[3]->click();
    EXPECT_EQ(controller.currentChildView(), controller.exampleTab()->view());
    EXPECT_EQ(itemsOf(*controller.exampleTab()->examplePopup()), (QStringList{"a", "b", "c"}));
    // Each switch back rebuilds from the details.
    controller.exampleTab()->selectSource(2);
    controller.tabBar()->buttons()[0]->click();
    controller.tabBar()->buttons()[3]->click();
    EXPECT_EQ(itemsOf(*controller.exampleTab()->examplePopup()), (QStringList{"a", "b", "c"}));

    // Showing an operation of the same model keeps the tab's model; a new model lets go of the old one
    // at once, before the tab is shown again.
    controller.show(detailsOf(model, "/toys/{id}", HTTPMethod::delete_), model);
    ASSERT_TRUE(controller.exampleTab()->extractor().has_value());
    EXPECT_TRUE(controller.exampleTab()->extractor()->model == model);
    const ParsedOpenAPIModel reparsed = modelOf(kDocument);
    controller.show(detailsOf(reparsed, "/pets", HTTPMethod::post), reparsed);
    EXPECT_FALSE(controller.exampleTab()->extractor().has_value());
    controller.tabBar()->buttons()[3]->click();
    ASSERT_TRUE(controller.exampleTab()->extractor().has_value());
    EXPECT_TRUE(controller.exampleTab()->extractor()->model == reparsed);
    EXPECT_EQ(itemsOf(*controller.exampleTab()->examplePopup()), (QStringList{"a", "b", "c"}));
    CarvexPlatform::BackgroundTask::waitForIdle();
}

}  // namespace
