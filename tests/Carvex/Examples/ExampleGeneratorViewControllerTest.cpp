#include "Carvex/Conversion/StrictJSONReader.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Examples/ExampleGeneratorViewController.h"
#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Properties/PropertiesViewCoordinator.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "platform/Appearance.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/NotificationCenter.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QToolButton>

#include <map>
#include <string>

namespace {

using namespace std::chrono_literals;
using Carvex::DocumentFormat;
using Carvex::ExampleGeneratorViewController;
using Kind = Carvex::PlainValueTree::Kind;

// The parse service, answering each text as the real one does and counting the parses.
class ScriptedParser final : public Carvex::OpenAPIModelParsing {
public:
    Carvex::OpenAPIModelParseResult parse(const QString& text, DocumentFormat format) const override
    {
        ++calls;
        return service.parse(text, format);
    }
    mutable std::atomic<int> calls{0};

private:
    Carvex::OpenAPIModelParsingService service;
};

QString description(const QString& petProperties, bool withPost = true)
{
    QString text = QStringLiteral("openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n"
                                  "  /pets:\n"
                                  "    get:\n"
                                  "      responses:\n"
                                  "        '200': {description: ok, content: {application/json: {schema: {type: array, "
                                  "items: {$ref: '#/components/schemas/Pet'}}}}}\n");
    if (withPost) {
        text += QStringLiteral("    post:\n"
                               "      requestBody: {content: {application/xml: {}, application/json: {schema: {$ref: "
                               "'#/components/schemas/Pet'}}}}\n"
                               "      responses:\n"
                               "        '201': {description: created, content: {application/json: {schema: {$ref: "
                               "'#/components/schemas/Pet'}}}}\n");
    }
    text += QStringLiteral("  /toys:\n"
                           "    delete:\n"
                           "      responses:\n"
                           "        '204': {description: gone}\n"
                           "components:\n"
                           "  schemas:\n"
                           "    Pet: {type: object, required: [id, name], properties: {")
            + petProperties + QStringLiteral("}}\n");
    return text;
}

const QString kPets = description(QStringLiteral("id: {type: integer}, name: {type: string}"));
const QString kPetsWithTag =
    description(QStringLiteral("id: {type: integer}, name: {type: string}, tag: {type: boolean}"));
const QString kWithoutPost = description(QStringLiteral("id: {type: integer}, name: {type: string}"), false);
const QString kNoOperations =
    QStringLiteral("openapi: 3.1.0\ninfo: {title: t, version: '1'}\npaths:\n  /a: {parameters: []}\n");

// The kinds of the members of the JSON object `text`, read by our strict reader; fails the test when the
// text is not a JSON object.
std::map<std::string, Kind> memberKinds(const QString& text)
{
    std::map<std::string, Kind> kinds;
    const std::string utf8 = text.toStdString();
    try {
        const Carvex::PlainValueTree tree = Carvex::StrictJSONReader(utf8).read();
        if (tree.kind(tree.root()) != Kind::dictionary) {
            ADD_FAILURE() << "not an object: " << utf8;
            return kinds;
        }
        for (std::size_t i = 0; i < tree.count(tree.root()); ++i)
            kinds[std::string(tree.key(tree.root(), i))] = tree.kind(tree.value(tree.root(), i));
    } catch (const Carvex::StrictJSONReader::SyntaxError& error) {
        ADD_FAILURE() << error.what() << " in " << utf8;
    }
    return kinds;
}

QStringList itemsOf(const QComboBox& popup)
{
    QStringList items;
    for (int i = 0; i < popup.count(); ++i)
        items.append(popup.itemText(i));
    return items;
}

class ExampleGeneratorViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CarvexPlatform::TestApplication::ensure();
        coordinator = std::make_unique<Carvex::PropertiesViewCoordinator>(
            parser, std::make_shared<Carvex::OperationsIndexBuilder>(), std::make_shared<Carvex::OperationDetailsBuilder>(),
            std::make_shared<Carvex::PropertiesViewPolicyStore>(settings), fake);
        coordinator->setDocument(&document);
        panel.view();
        coordinator->setExampleGeneratorViewController(&panel);
    }

    void parse(const QString& text)
    {
        coordinator->documentDidChange(text, DocumentFormat::yaml);
        fake->advance(250ms);
        CarvexPlatform::BackgroundTask::waitForIdle();
        fake->runPending();
    }

    // What the user's choice in a pop-up does: the pop-up shows the item, then tells of it.
    static void choose(QComboBox& popup, const QString& title)
    {
        const int index = popup.findText(title);
        ASSERT_GE(index, 0) << title.toStdString();
        popup.setCurrentIndex(index);
        emit popup.activated(index);
    }

    QComboBox& operations() { return *panel.operationPopup(); }
    QComboBox& targets() { return *panel.targetPopup(); }
    bool placeholderShown() { return !panel.emptyPlaceholderView()->isHidden(); }
    bool outputShown() { return !panel.outputTextView()->isHidden() && !panel.copyButton()->isHidden(); }

    std::shared_ptr<CarvexPlatform::Settings> settings = CarvexPlatform::Settings::isolated();
    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    std::shared_ptr<ScriptedParser> parser = std::make_shared<ScriptedParser>();
    Carvex::EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    Carvex::Document document{&preferences};
    ExampleGeneratorViewController panel{fake};
    std::unique_ptr<Carvex::PropertiesViewCoordinator> coordinator;
};

TEST_F(ExampleGeneratorViewControllerTest, TheViewIsBuiltAsDescribed)
{
    const auto* strip = panel.view()->findChild<QWidget*>(QStringLiteral("ExampleGeneratorButtonStrip"));
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->maximumHeight(), ExampleGeneratorViewController::tabButtonsHeight);
    EXPECT_EQ(panel.copyButton()->parentWidget(), strip);
    QStringList labels;
    for (const QLabel* label : panel.view()->findChildren<QLabel*>())
        labels.append(label->text());
    EXPECT_TRUE(labels.contains(QStringLiteral("Operation:")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Target:")));
    EXPECT_GE(operations().minimumWidth(), 120);
    EXPECT_GE(targets().minimumWidth(), 120);
    EXPECT_EQ(panel.copyButton()->toolTip(), QStringLiteral("Copy to Clipboard"));
    EXPECT_FALSE(panel.copyButton()->icon().isNull());
    Carvex::EditorTextView& output = *panel.outputTextView();
    EXPECT_TRUE(output.isReadOnly());
    EXPECT_FALSE(output.highlightCurrentLine());
    EXPECT_FALSE(output.showIndentGuides());
    EXPECT_EQ(output.font().pointSizeF(), 12.0);
    EXPECT_EQ(output.font(), ExampleGeneratorViewController::outputFont());
    ASSERT_NE(panel.highlightingController(), nullptr);
    EXPECT_EQ(panel.highlightingController()->language(), Carvex::DocumentLanguage::json);
    // Tokens keep the output's size.
    for (const auto& entry : panel.highlightingController()->theme().attributes())
        EXPECT_EQ(entry.second.font().pointSizeF(), 12.0);
}

TEST_F(ExampleGeneratorViewControllerTest, StatesFollowTheParsesAndTheUsersChoices)
{
    // No document yet.
    EXPECT_TRUE(placeholderShown());
    EXPECT_FALSE(outputShown());
    EXPECT_EQ(panel.emptyPlaceholderLabel()->text(), ExampleGeneratorViewController::noDocumentText);
    EXPECT_FALSE(operations().isEnabled());
    EXPECT_FALSE(targets().isEnabled());

    parse(kPets);
    EXPECT_EQ(itemsOf(operations()).size(), 3);
    EXPECT_TRUE(itemsOf(operations()).contains(QStringLiteral("POST /pets")));
    EXPECT_TRUE(itemsOf(operations()).contains(QStringLiteral("DELETE /toys")));
    EXPECT_FALSE(placeholderShown());
    EXPECT_TRUE(outputShown());
    EXPECT_TRUE(operations().isEnabled());

    choose(operations(), QStringLiteral("POST /pets"));
    EXPECT_EQ(itemsOf(targets()), (QStringList{QStringLiteral("Request Body (application/xml)"),
                                               QStringLiteral("Request Body (application/json)"),
                                               QStringLiteral("201 Response (application/json)")}));
    EXPECT_TRUE(targets().isEnabled());
    // A target without a schema.
    EXPECT_EQ(panel.outputText(), ExampleGeneratorViewController::noSchemaText);
    choose(targets(), QStringLiteral("Request Body (application/json)"));
    EXPECT_EQ(memberKinds(panel.outputText()),
              (std::map<std::string, Kind>{{"id", Kind::integer}, {"name", Kind::text}}));
    EXPECT_EQ(panel.outputTextView()->viewText(), panel.outputText());

    // An edit that keeps the operation and the target shows the new example there.
    parse(kPetsWithTag);
    EXPECT_EQ(operations().currentText(), QStringLiteral("POST /pets"));
    EXPECT_EQ(targets().currentText(), QStringLiteral("Request Body (application/json)"));
    EXPECT_EQ(memberKinds(panel.outputText()),
              (std::map<std::string, Kind>{{"id", Kind::integer}, {"name", Kind::text}, {"tag", Kind::boolean}}));

    // A failed parse leaves the panel as it was.
    parse(QStringLiteral("openapi: 3.0.3\ninfo: {title: t\npaths: [\n"));
    EXPECT_EQ(operations().count(), 3);
    EXPECT_EQ(targets().currentText(), QStringLiteral("Request Body (application/json)"));

    // The chosen operation goes away: the first operation and its first target are shown.
    parse(kWithoutPost);
    EXPECT_EQ(operations().count(), 2);
    EXPECT_EQ(operations().currentIndex(), 0);
    EXPECT_EQ(operations().currentText(), QStringLiteral("GET /pets"));
    EXPECT_EQ(panel.selectedOperationIndex(), 0);
    EXPECT_EQ(targets().currentIndex(), 0);
    EXPECT_EQ(targets().currentText(), QStringLiteral("200 Response (application/json)"));
    EXPECT_TRUE(panel.outputText().startsWith(QLatin1Char('['))) << panel.outputText().toStdString();

    // An operation whose only response has no content: an empty, shown output; no targets to choose.
    choose(operations(), QStringLiteral("DELETE /toys"));
    EXPECT_EQ(targets().count(), 0);
    EXPECT_FALSE(targets().isEnabled());
    EXPECT_TRUE(operations().isEnabled());
    EXPECT_TRUE(outputShown());
    EXPECT_TRUE(panel.outputText().isEmpty());
    EXPECT_TRUE(panel.outputTextView()->viewText().isEmpty());

    parse(kNoOperations);
    EXPECT_TRUE(placeholderShown());
    EXPECT_FALSE(outputShown());
    EXPECT_EQ(panel.emptyPlaceholderLabel()->text(), ExampleGeneratorViewController::noOperationsText);
    EXPECT_FALSE(operations().isEnabled());
    EXPECT_FALSE(targets().isEnabled());

    parse(kPets);
    EXPECT_FALSE(placeholderShown());
    coordinator->documentDidClose();
    EXPECT_TRUE(placeholderShown());
    EXPECT_EQ(panel.emptyPlaceholderLabel()->text(), ExampleGeneratorViewController::noDocumentText);
    EXPECT_EQ(operations().count(), 0);
    EXPECT_EQ(targets().count(), 0);
    EXPECT_FALSE(panel.currentModel().has_value());
    EXPECT_TRUE(panel.outputText().isEmpty());
}

TEST_F(ExampleGeneratorViewControllerTest, FillingThePopupsGeneratesNothing)
{
    // Hundreds of operations: filling shows the first one's example once, and index changes made in
    // code (as filling makes them) choose nothing.
    QString text = QStringLiteral("openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n");
    for (int i = 0; i < 300; ++i) {
        text += QStringLiteral("  /p%1:\n    get:\n      responses:\n        '200': {description: ok, content: "
                               "{application/json: {schema: {type: object, required: [n%1], properties: {n%1: "
                               "{type: integer}}}}, text/plain: {schema: {type: string}}}}\n")
                    .arg(i, 3, 10, QLatin1Char('0'));
    }
    parse(text);
    ASSERT_EQ(operations().count(), 300);
    EXPECT_EQ(panel.selectedOperationIndex(), 0);
    const QString first = panel.outputText();
    EXPECT_EQ(memberKinds(first), (std::map<std::string, Kind>{{"n000", Kind::integer}}));

    const struct {
        const char* name;
        QComboBox* popup;
        int index;
    } rows[] = {{"operation", &operations(), 120}, {"target", &targets(), 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.popup->setCurrentIndex(row.index);
        EXPECT_EQ(panel.outputText(), first);
        EXPECT_EQ(panel.selectedOperationIndex(), 0);
        EXPECT_EQ(panel.selectedTargetIndex(), 0);
    }
    // The user's choice acts.
    choose(operations(), QStringLiteral("GET /p120"));
    EXPECT_EQ(memberKinds(panel.outputText()), (std::map<std::string, Kind>{{"n120", Kind::integer}}));
    choose(targets(), QStringLiteral("200 Response (text/plain)"));
    EXPECT_EQ(panel.outputText(), QStringLiteral("\"string\""));

    // A re-parse that lists the same operations keeps the pop-up's items (filling 300 again took most of
    // the panel's share of a re-parse) and the choice; another list fills it anew.
    int inserted = 0;
    const QMetaObject::Connection counting =
        QObject::connect(operations().model(), &QAbstractItemModel::rowsInserted, [&inserted] { ++inserted; });
    parse(text + QStringLiteral("# edited\n"));
    EXPECT_EQ(inserted, 0);
    EXPECT_EQ(operations().currentText(), QStringLiteral("GET /p120"));
    EXPECT_EQ(panel.outputText(), QStringLiteral("\"string\""));
    parse(text + QStringLiteral("  /zzz:\n    get: {responses: {'204': {description: d}}}\n"));
    EXPECT_GT(inserted, 0);
    EXPECT_EQ(operations().count(), 301);
    EXPECT_EQ(operations().currentText(), QStringLiteral("GET /p120"));
    QObject::disconnect(counting);
}

TEST_F(ExampleGeneratorViewControllerTest, CopyPutsTheShownTextOnTheClipboard)
{
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.setText(QStringLiteral("before"));
    // Nothing shown: the clipboard keeps its text.
    panel.copyButton()->click();
    EXPECT_EQ(clipboard.text(), QStringLiteral("before"));

    parse(kPets);
    choose(operations(), QStringLiteral("POST /pets"));
    choose(targets(), QStringLiteral("201 Response (application/json)"));
    panel.copyButton()->click();
    EXPECT_EQ(clipboard.text(), panel.outputText());
    EXPECT_EQ(memberKinds(clipboard.text()),
              (std::map<std::string, Kind>{{"id", Kind::integer}, {"name", Kind::text}}));

    choose(operations(), QStringLiteral("DELETE /toys"));
    panel.copyOutputToPasteboard();
    EXPECT_EQ(memberKinds(clipboard.text()),
              (std::map<std::string, Kind>{{"id", Kind::integer}, {"name", Kind::text}}));
}

TEST_F(ExampleGeneratorViewControllerTest, ColoursFollowTheAppearanceAndTheThemeAtOnce)
{
    auto& appearance = CarvexPlatform::Appearance::shared();
    const std::optional<bool> before = appearance.forced();
    const auto& store = Carvex::SyntaxThemePreferencesStore::shared();
    // A panel draws in the theme's colours from the start, before any pass has run: the line saying
    // there is no schema was once drawn white on white in the light appearance.
    for (const bool isDark : {false, true}) {
        appearance.setOverride(isDark);
        ExampleGeneratorViewController fresh(fake);
        fresh.view();
        const Carvex::SyntaxTheme expected = ExampleGeneratorViewController::themeInOutputFont(store.buildTheme(isDark));
        EXPECT_EQ(fresh.outputTextView()->colorLayer().theme(), expected) << isDark;
        EXPECT_EQ(fresh.outputTextView()->palette().color(QPalette::Text), expected.defaultAttributes().foreground().color())
            << isDark;
    }
    appearance.setOverride(before);
    parse(kPets);
    choose(operations(), QStringLiteral("POST /pets"));
    choose(targets(), QStringLiteral("Request Body (application/json)"));
    fake->runPending();
    Carvex::SyntaxColorLayer& layer = panel.outputTextView()->colorLayer();
    const qsizetype keyAt = panel.outputText().indexOf(QStringLiteral("\"id\"")) + 1;
    ASSERT_GT(keyAt, 0);
    ASSERT_EQ(layer.typeAt(keyAt), Carvex::SyntaxTokenType::jsonKey);

    for (const bool isDark : {true, false, true}) {
        SCOPED_TRACE(isDark ? "dark" : "light");
        appearance.setOverride(isDark);
        fake->runPending();
        const Carvex::SyntaxTheme expected = ExampleGeneratorViewController::themeInOutputFont(store.buildTheme(isDark));
        EXPECT_EQ(panel.highlightingController()->theme(), expected);
        EXPECT_EQ(layer.colorAt(keyAt), expected.attributes(Carvex::SyntaxTokenType::jsonKey).foreground().color());
    }

    // A changed theme preference recolours at once.
    panel.highlightingController()->setTheme(Carvex::SyntaxTheme::lightDefault());
    CarvexPlatform::NotificationCenter::defaultCenter().post(
        ExampleGeneratorViewController::syntaxThemePreferencesDidChangeNotification);
    fake->runPending();
    EXPECT_EQ(panel.highlightingController()->theme(),
              ExampleGeneratorViewController::themeInOutputFont(store.buildTheme(true)));
    appearance.setOverride(before);
}

TEST_F(ExampleGeneratorViewControllerTest, APanelLoadedAfterItWasFilledShowsWhatItHolds)
{
    ExampleGeneratorViewController late(fake);
    coordinator->setExampleGeneratorViewController(&late);
    parse(kPets);
    const QString shown = late.outputText();
    EXPECT_FALSE(shown.isEmpty());
    late.view();
    EXPECT_EQ(late.operationPopup()->count(), 3);
    EXPECT_EQ(late.operationPopup()->currentIndex(), late.selectedOperationIndex());
    EXPECT_EQ(late.targetPopup()->count(), static_cast<int>(late.currentTargets().size()));
    EXPECT_EQ(late.outputTextView()->viewText(), shown);
    EXPECT_TRUE(late.emptyPlaceholderView()->isHidden());
}

} // namespace
