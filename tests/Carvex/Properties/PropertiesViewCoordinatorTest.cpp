#include "Carvex/Documents/Document.h"
#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "Carvex/Properties/PropertiesViewCoordinator.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QHash>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

using namespace std::chrono_literals;
using Carvex::DocumentFormat;
using Carvex::HTTPMethod;
using Carvex::OperationID;

// The real service, counting its calls and remembering the last text (calls come from worker threads).
class CountingParser final : public Carvex::OpenAPIModelParsing {
public:
    Carvex::OpenAPIModelParseResult parse(const QString& text, DocumentFormat format) const override
    {
        ++calls;
        {
            std::unique_lock lock(mutex);
            released.wait(lock, [this] { return !held; });
            lastText = text;
        }
        return service.parse(text, format);
    }
    // While held, a parse waits before it starts, so its result cannot reach the main thread early.
    void hold()
    {
        std::lock_guard lock(mutex);
        held = true;
    }
    void release()
    {
        {
            std::lock_guard lock(mutex);
            held = false;
        }
        released.notify_all();
    }
    QString last() const
    {
        std::lock_guard lock(mutex);
        return lastText;
    }
    mutable std::atomic<int> calls{0};

private:
    Carvex::OpenAPIModelParsingService service;
    mutable std::mutex mutex;
    mutable std::condition_variable released;
    bool held = false;
    mutable QString lastText;
};

struct Log {
    std::vector<std::string> events;
};

class RecordingDelegate final : public Carvex::PropertiesViewCoordinatorDelegate {
public:
    explicit RecordingDelegate(Log& log) : log(log) {}
    void coordinatorDidUpdateOperations(Carvex::PropertiesViewCoordinator& coordinator,
                                        const std::vector<Carvex::OperationRowViewModel>& operations) override
    {
        std::string event = "operations";
        for (const auto& row : operations) {
            event.append(" ");
            event.append(row.id.description().toStdString());
        }
        log.events.push_back(event);
        documentHadModelAtRows = coordinator.document() && coordinator.document()->parsedModel.has_value();
    }
    void coordinatorDidUpdateDetails(Carvex::PropertiesViewCoordinator&, const Carvex::OperationDetailsViewModel& details) override
    {
        std::string event = "details ";
        event.append(details.id.description().toStdString());
        log.events.push_back(event);
    }
    void coordinatorDidRequestNoOperationsState(Carvex::PropertiesViewCoordinator&) override { log.events.push_back("no operations"); }
    void coordinatorDidRequestVersionGatedState(Carvex::PropertiesViewCoordinator&) override { log.events.push_back("version gated"); }
    void coordinatorDidRequestParseErrorState(Carvex::PropertiesViewCoordinator&) override { log.events.push_back("parse error"); }
    void coordinatorDidRequestNoDocumentState(Carvex::PropertiesViewCoordinator&) override { log.events.push_back("no document"); }
    void coordinatorDidClearSelection(Carvex::PropertiesViewCoordinator&) override { log.events.push_back("selection cleared"); }

    Log& log;
    bool documentHadModelAtRows = false;
};

class RecordingPanel final : public Carvex::ExampleGeneratorPanel {
public:
    explicit RecordingPanel(Log& log) : log(log) {}
    void setCurrentModel(const std::optional<Carvex::ParsedOpenAPIModel>& model) override
    {
        log.events.push_back("panel model");
        current = model;
    }
    const std::vector<Carvex::OperationRowViewModel>& operations() const override { return rows; }
    void setOperations(std::vector<Carvex::OperationRowViewModel> operations) override { rows = std::move(operations); }
    int selectedOperationIndex() const override { return selected; }
    void reloadOperations(const std::optional<QString>& path, std::optional<HTTPMethod> method) override
    {
        std::string event = "panel reload ";
        event.append(path ? path->toStdString() : std::string("-"));
        event.append(" ");
        event.append(method ? Carvex::rawValue(*method) : std::string_view("-"));
        log.events.push_back(event);
        selected = -1;
        for (std::size_t i = 0; path && i < rows.size(); ++i) {
            if (rows[i].path() == *path && rows[i].method() == *method)
                selected = static_cast<int>(i);
        }
    }
    void reloadTargets() override { log.events.push_back("panel targets"); }
    void updateEmptyState() override { log.events.push_back("panel empty state"); }
    void clear() override
    {
        log.events.push_back("panel clear");
        current.reset();
        rows.clear();
    }

    Log& log;
    std::optional<Carvex::ParsedOpenAPIModel> current;
    std::vector<Carvex::OperationRowViewModel> rows;
    int selected = -1;
};

const QString kTwoOperations = QStringLiteral(
    "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get: {responses: {}}\n  /b:\n"
    "    post: {responses: {}}\n");
const QString kRenamedA = QStringLiteral(
    "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a2:\n    get: {responses: {}}\n  /b:\n"
    "    post: {responses: {}, summary: changed}\n");
const QString kNoOperations =
    QStringLiteral("openapi: 3.1.0\ninfo: {title: t, version: '1'}\npaths:\n  /a: {parameters: []}\n");
const QString kSyntaxError = QStringLiteral("openapi: 3.0.3\ninfo: {title: t\npaths: [\n");
const QString kSwagger = QStringLiteral("swagger: '2.0'\ninfo: {title: t, version: '1'}\npaths: {}\n");

class PropertiesViewCoordinatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CarvexPlatform::TestApplication::ensure();
        make();
    }

    void make()
    {
        coordinator = std::make_unique<Carvex::PropertiesViewCoordinator>(
            parser, std::make_shared<Carvex::OperationsIndexBuilder>(), std::make_shared<Carvex::OperationDetailsBuilder>(),
            std::make_shared<Carvex::PropertiesViewPolicyStore>(settings), fake);
        coordinator->setDelegate(&delegate);
        coordinator->setDocument(&document);
    }

    // Moves the fake clock, lets background parses finish and applies what they hand back.
    void advance(CarvexPlatform::MainScheduler::Duration by)
    {
        fake->advance(by);
        CarvexPlatform::BackgroundTask::waitForIdle();
        fake->runPending();
    }

    std::shared_ptr<CarvexPlatform::Settings> settings = CarvexPlatform::Settings::isolated();
    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    std::shared_ptr<CountingParser> parser = std::make_shared<CountingParser>();
    Carvex::EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    Carvex::Document document{&preferences};
    Log log;
    RecordingDelegate delegate{log};
    std::unique_ptr<Carvex::PropertiesViewCoordinator> coordinator;
};

using Events = std::vector<std::string>;

TEST_F(PropertiesViewCoordinatorTest, ChangesWithinThePauseGiveOneParseOfTheLastText)
{
    coordinator->documentDidChange(QStringLiteral("first"), DocumentFormat::yaml);
    advance(100ms);
    coordinator->documentDidChange(QStringLiteral("second"), DocumentFormat::yaml);
    advance(100ms);
    coordinator->documentDidChange(kTwoOperations, DocumentFormat::yaml);
    advance(249ms);
    EXPECT_EQ(parser->calls, 0);
    EXPECT_TRUE(log.events.empty());
    advance(1ms);
    EXPECT_EQ(parser->calls, 1);
    EXPECT_EQ(parser->last(), kTwoOperations);
    EXPECT_EQ(log.events, (Events{"operations GET /a POST /b"}));
    EXPECT_EQ(coordinator->latestRequestID(), 3u);
    ASSERT_TRUE(document.parsedModel.has_value());
    EXPECT_EQ(document.parsedModel->sourceTextHash(), qHash(kTwoOperations));
}

TEST_F(PropertiesViewCoordinatorTest, DebounceComesFromTheSettings)
{
    const struct {
        const char* name;
        std::optional<long long> stored;
        std::chrono::milliseconds pause;
    } rows[] = {{"absent", std::nullopt, 250ms}, {"zero", 0, 250ms}, {"negative", -40, 250ms},
                {"one", 1, 1ms},                 {"a second", 1000, 1000ms}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.stored)
            settings->setInteger(Carvex::PropertiesViewPolicyStore::debounceKey, *row.stored);
        else
            settings->remove(Carvex::PropertiesViewPolicyStore::debounceKey);
        const int before = parser->calls;
        coordinator->documentDidChange(kTwoOperations, DocumentFormat::yaml);
        advance(row.pause - 1ms);
        EXPECT_EQ(parser->calls, before);
        advance(1ms);
        EXPECT_EQ(parser->calls, before + 1);
    }
    Carvex::PropertiesViewPolicyStore store(settings);
    store.savePolicy({.debounceMilliseconds = 40, .keepLastValidStateOnError = false});
    EXPECT_EQ(store.loadPolicy(), (Carvex::PropertiesViewUpdatePolicy{40, false}));
    const auto coded = Carvex::PropertiesViewUpdatePolicy{40, false}.encoded();
    EXPECT_EQ(coded.value("debounceMilliseconds").toInt(), 40);
    EXPECT_EQ(Carvex::PropertiesViewUpdatePolicy::decoded(coded), (Carvex::PropertiesViewUpdatePolicy{40, false}));
    EXPECT_FALSE(Carvex::PropertiesViewUpdatePolicy::decoded(QJsonObject{{"debounceMilliseconds", 1}}).has_value());
}

TEST_F(PropertiesViewCoordinatorTest, AResultArrivingAfterANewerChangeIsDropped)
{
    // The first text is parsed; its result waits for the main thread when the next change comes.
    parser->hold();
    coordinator->documentDidChange(kNoOperations, DocumentFormat::yaml);
    fake->advance(250ms);
    parser->release();
    CarvexPlatform::BackgroundTask::waitForIdle();
    coordinator->documentDidChange(kTwoOperations, DocumentFormat::yaml);
    fake->runPending();
    EXPECT_EQ(parser->calls, 1);
    EXPECT_TRUE(log.events.empty());
    EXPECT_FALSE(document.parsedModel.has_value());
    advance(250ms);
    EXPECT_EQ(log.events, (Events{"operations GET /a POST /b"}));
}

TEST_F(PropertiesViewCoordinatorTest, FailuresFollowThePolicy)
{
    const struct {
        const char* name;
        std::optional<bool> keep;
        QString text;
        Events events;
        bool rowsKept;
    } rows[] = {
        {"syntax error, keep by default", std::nullopt, kSyntaxError, {}, true},
        {"syntax error, keep", true, kSyntaxError, {}, true},
        {"syntax error, no keep", false, kSyntaxError, {"parse error"}, false},
        {"unknown format, no keep", false, QStringLiteral("x"), {"parse error"}, false},
        {"swagger, keep", true, kSwagger, {"version gated"}, true},
        {"swagger, no keep", false, kSwagger, {"version gated"}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        make();
        settings->remove(Carvex::PropertiesViewPolicyStore::keepStateKey);
        coordinator->documentDidChange(kTwoOperations, DocumentFormat::yaml);
        advance(250ms);
        coordinator->selectOperation({QStringLiteral("/a"), HTTPMethod::get});
        log.events.clear();
        if (row.keep)
            settings->setBool(Carvex::PropertiesViewPolicyStore::keepStateKey, *row.keep);
        coordinator->documentDidChange(row.text, row.text == QStringLiteral("x") ? DocumentFormat::unknown
                                                                                : DocumentFormat::yaml);
        advance(250ms);
        EXPECT_EQ(log.events, row.events);
        EXPECT_EQ(coordinator->lastOperations().size(), row.rowsKept ? 2u : 0u);
        EXPECT_EQ(coordinator->lastSuccessfulModel().has_value(), row.rowsKept);
        // The document keeps the last model and the selection stays, whatever the policy.
        EXPECT_TRUE(document.parsedModel.has_value());
        EXPECT_EQ(coordinator->currentSelection(), (OperationID{QStringLiteral("/a"), HTTPMethod::get}));
        log.events.clear();
        coordinator->selectOperation({QStringLiteral("/a"), HTTPMethod::get});
        EXPECT_EQ(log.events, row.rowsKept ? Events{"details GET /a"} : Events{});
    }
}

TEST_F(PropertiesViewCoordinatorTest, SelectionFollowsTheText)
{
    coordinator->documentDidChange(kTwoOperations, DocumentFormat::yaml);
    advance(250ms);
    coordinator->selectOperation({QStringLiteral("/b"), HTTPMethod::post});
    coordinator->selectOperation({QStringLiteral("/nowhere"), HTTPMethod::get});
    EXPECT_EQ(log.events, (Events{"operations GET /a POST /b", "details POST /b"}));
    coordinator->selectOperation({QStringLiteral("/b"), HTTPMethod::post});
    log.events.clear();
    // /b keeps its operation: its details are rebuilt from the new text.
    coordinator->documentDidChange(kRenamedA, DocumentFormat::yaml);
    advance(250ms);
    EXPECT_EQ(log.events, (Events{"operations GET /a2 POST /b", "details POST /b"}));
    coordinator->selectOperation({QStringLiteral("/a2"), HTTPMethod::get});
    log.events.clear();
    // The selected path disappears: the selection ends.
    coordinator->documentDidChange(kTwoOperations, DocumentFormat::yaml);
    advance(250ms);
    EXPECT_EQ(log.events, (Events{"operations GET /a POST /b", "selection cleared"}));
    EXPECT_FALSE(coordinator->currentSelection().has_value());
    log.events.clear();
    coordinator->documentDidChange(kNoOperations, DocumentFormat::yaml);
    advance(250ms);
    EXPECT_EQ(log.events, (Events{"no operations"}));
    coordinator->clearSelection();
    EXPECT_EQ(log.events.back(), "selection cleared");
}

TEST_F(PropertiesViewCoordinatorTest, DocumentAndPanelAreUpdatedBeforeTheRowsArrive)
{
    RecordingPanel panel(log);
    coordinator->setExampleGeneratorViewController(&panel);
    coordinator->documentDidChange(kTwoOperations, DocumentFormat::yaml);
    advance(250ms);
    EXPECT_TRUE(delegate.documentHadModelAtRows);
    EXPECT_EQ(log.events, (Events{"panel model", "panel reload - -", "panel targets", "panel empty state",
                                  "operations GET /a POST /b"}));
    ASSERT_EQ(panel.rows.size(), 2u);
    panel.selected = 1; // POST /b chosen in the panel
    log.events.clear();
    coordinator->documentDidChange(kRenamedA, DocumentFormat::yaml);
    advance(250ms);
    EXPECT_EQ(log.events[1], "panel reload /b POST");
    EXPECT_EQ(panel.selected, 1);
    log.events.clear();
    // A failed parse leaves the panel alone; closing clears it after the no-document state.
    settings->setBool(Carvex::PropertiesViewPolicyStore::keepStateKey, false);
    coordinator->documentDidChange(kSyntaxError, DocumentFormat::yaml);
    advance(250ms);
    coordinator->documentDidClose();
    EXPECT_EQ(log.events, (Events{"parse error", "no document", "panel clear"}));
}

TEST_F(PropertiesViewCoordinatorTest, ClosingWhileAParseIsPendingEndsEverything)
{
    coordinator->documentDidChange(kTwoOperations, DocumentFormat::yaml);
    advance(250ms);
    coordinator->selectOperation({QStringLiteral("/a"), HTTPMethod::get});
    log.events.clear();
    // One change waits for its pause, a second one is already parsing (held, so that its result
    // cannot reach the main thread while the clock moves, however fast the worker).
    parser->hold();
    coordinator->documentDidChange(kRenamedA, DocumentFormat::yaml);
    fake->advance(250ms);
    coordinator->documentDidClose();
    parser->release();
    EXPECT_EQ(log.events, (Events{"no document"}));
    EXPECT_FALSE(coordinator->isParsePending());
    advance(1000ms);
    EXPECT_EQ(log.events, (Events{"no document"}));
    EXPECT_TRUE(coordinator->lastOperations().empty());
    EXPECT_FALSE(coordinator->currentSelection().has_value());
    EXPECT_FALSE(coordinator->lastSuccessfulModel().has_value());
}

// The editor's text is shared while it waits for its pause, let go when the editor is about to change it,
// and never shared with a running parse.
TEST_F(PropertiesViewCoordinatorTest, TheEditorsTextIsHeldOnlyUntilItChanges)
{
    QString editorText(kTwoOperations.constData(), kTwoOperations.size());
    coordinator->documentDidChange(editorText, DocumentFormat::yaml);
    EXPECT_FALSE(editorText.isDetached());
    coordinator->documentWillChange();
    EXPECT_TRUE(editorText.isDetached());
    EXPECT_FALSE(coordinator->isParsePending());
    advance(1000ms);
    EXPECT_EQ(parser->calls, 0);

    editorText.replace(QStringLiteral("/a:"), QStringLiteral("/c:"));
    coordinator->documentDidChange(editorText, DocumentFormat::yaml);
    advance(250ms);
    EXPECT_EQ(parser->calls, 1);
    EXPECT_EQ(parser->last(), editorText);
    EXPECT_TRUE(editorText.isDetached());
    EXPECT_EQ(log.events, (Events{"operations POST /b GET /c"}));

    // With nothing waiting, a coming change leaves the running parse alone.
    log.events.clear();
    parser->hold();
    coordinator->documentDidChange(kRenamedA, DocumentFormat::yaml);
    fake->advance(250ms);
    coordinator->documentWillChange();
    parser->release();
    advance(0ms);
    EXPECT_EQ(parser->calls, 2);
    EXPECT_EQ(log.events, (Events{"operations GET /a2 POST /b"}));
}

// The pane and the editor talk to the coordinator through these calls; a test double may stand in.
TEST_F(PropertiesViewCoordinatorTest, TheEditorsCallsCanBeReplaced)
{
    struct Recording : Carvex::PropertiesViewCoordinator {
        void documentDidChange(const QString& text, DocumentFormat) override { texts.push_back(text); }
        std::vector<QString> texts;
    } recording;
    Carvex::PropertiesViewCoordinator& asCoordinator = recording;
    asCoordinator.documentDidChange(QStringLiteral("x"), DocumentFormat::yaml);
    EXPECT_EQ(recording.texts, std::vector<QString>{QStringLiteral("x")});
    recording.setDocument(&document);
    EXPECT_EQ(recording.document(), &document);
}

TEST_F(PropertiesViewCoordinatorTest, AGoneDelegateOrDocumentSkipsOnlyItsStep)
{
    {
        Carvex::EditorPreferencesStore otherPreferences{CarvexPlatform::Settings::isolated()};
        auto other = std::make_unique<Carvex::Document>(&otherPreferences);
        coordinator->setDocument(other.get());
    }
    coordinator->setDelegate(nullptr);
    coordinator->documentDidChange(kTwoOperations, DocumentFormat::yaml);
    advance(250ms);
    EXPECT_EQ(coordinator->document(), nullptr);
    EXPECT_EQ(coordinator->lastOperations().size(), 2u);
    EXPECT_TRUE(log.events.empty());
    // The coordinator going away with a parse in flight drops the result.
    parser->hold();
    coordinator->documentDidChange(kNoOperations, DocumentFormat::yaml);
    fake->advance(250ms);
    coordinator.reset();
    parser->release();
    CarvexPlatform::BackgroundTask::waitForIdle();
    fake->runPending();
    EXPECT_TRUE(log.events.empty());
}

} // namespace
