#include "Carvex/Logging/InMemoryLogStore.h"
#include "Carvex/Validation/OpenAPIValidating.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "Carvex/Windows/ValidationResultApplier.h"
#include "platform/MainScheduler.h"
#include "tests/Carvex/Windows/WindowTestSupport.h"

using namespace Carvex;
using CarvexWindowTests::WindowTest;

namespace {

// A description with one path per line from line 6 on, and findings on the first `count` of them.
QByteArray manyPaths(int count) {
    QByteArray text = "openapi: 3.0.3\ninfo:\n  title: t\n  version: '1'\npaths:\n";
    for (int line = 0; line < count; ++line) {
        text += "  /p" + QByteArray::number(line) + ": {}\n";
    }
    return text;
}

std::vector<CarvexValidationError> findingsOnPaths(int count) {
    std::vector<CarvexValidationError> findings;
    for (int line = 0; line < count; ++line) {
        CarvexValidationError error;
        error.id = QUuid::createUuid();
        error.message = QStringLiteral("finding %1").arg(line);
        error.sourceLocation = SourceLocation{QString(), line + 6, 3, std::nullopt};
        error.severity = line % 3 == 0 ? CarvexValidationSeverity::warning : CarvexValidationSeverity::error;
        findings.push_back(error);
    }
    return findings;
}

// Hands out a fixed result on the next turn.
class FixedValidation : public OpenAPIValidating {
public:
    explicit FixedValidation(CarvexValidationResult result) : result_(std::move(result)) {}
    CarvexPlatform::WorkItem validate(const QString&, Completion completion) const override {
        return CarvexPlatform::MainScheduler::shared()->postCancellable(
            [result = result_, completion] { completion(result); });
    }

private:
    CarvexValidationResult result_;
};

std::vector<std::pair<LogLevel, QString>> entriesOf(const LogStore& store) {
    std::vector<std::pair<LogLevel, QString>> lines;
    for (const LogEntry& entry : store.entries()) {
        lines.emplace_back(entry.level, entry.message);
    }
    return lines;
}

}  // namespace

// Slice by slice (one step per turn), every kind of result writes the same entries in the same
// order as writing it at once, and hands over the marks placed in the validated text.
TEST(ValidationResultApplierTest, SlicesWriteWhatOneGoWritesAndPlaceTheMarks) {
    CarvexPlatform::TestApplication::ensure();
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    const QString text = QString::fromUtf8(manyPaths(40));
    CarvexValidationError unparsable;
    unparsable.message = "bad";
    unparsable.isParsingError = true;
    unparsable.sourceLocation = SourceLocation{QString(), 2, 7, std::nullopt};
    std::vector<CarvexValidationError> withUnplaceable = findingsOnPaths(5);
    withUnplaceable[2].sourceLocation = SourceLocation{QString(), 9999, 1, std::nullopt};
    withUnplaceable[3].sourceLocation.reset();
    struct Row {
        const char* name;
        CarvexValidationResult result;
        int marks;
    };
    const Row rows[] = {
        {"success", CarvexValidationResult::success(), 0},
        {"unsupported", CarvexValidationResult::unsupportedVersion("2.0"), 0},
        {"parsing error", CarvexValidationResult::parsingError(unparsable), 1},
        {"no findings", CarvexValidationResult::validationErrors({}), 0},
        {"forty findings", CarvexValidationResult::validationErrors(findingsOnPaths(40)), 40},
        {"some unplaceable", CarvexValidationResult::validationErrors(withUnplaceable), 3},
    };
    for (const Row& row : rows) {
        auto oneGo = std::make_shared<InMemoryLogStore>();
        const DocumentLogger oneGoLogger(oneGo, "api.yaml");
        for (std::size_t index = 0; index < ValidationResultApplier::entryCount(row.result); ++index) {
            ValidationResultApplier::writeEntry(row.result, index, oneGoLogger);
        }

        auto sliced = std::make_shared<InMemoryLogStore>();
        std::optional<std::vector<ValidationDecoration>> handed;
        ValidationResultApplier applier(row.result, DocumentLogger(sliced, "api.yaml"), text,
                                        [&](std::vector<ValidationDecoration> marks) { handed = std::move(marks); },
                                        std::chrono::microseconds(0));
        applier.start();
        std::size_t turns = 1;
        std::size_t mostPerTurn = sliced->entries().size();
        while (!handed && fake->runOne()) {
            const std::size_t before = sliced->entries().size();
            ++turns;
            mostPerTurn = std::max(mostPerTurn, sliced->entries().size() - before);
        }
        ASSERT_TRUE(handed.has_value()) << row.name;
        EXPECT_FALSE(applier.isRunning()) << row.name;
        EXPECT_EQ(entriesOf(*sliced), entriesOf(*oneGo)) << row.name;
        EXPECT_LE(mostPerTurn, 1u) << row.name;
        EXPECT_GE(turns, ValidationResultApplier::entryCount(row.result)) << row.name;
        ASSERT_EQ(handed->size(), static_cast<std::size_t>(row.marks)) << row.name;
        ValidationRangeConverter converter;
        const auto findings = row.result.findings();
        std::size_t next = 0;
        for (const CarvexValidationError& finding : findings) {
            if (auto expected = ValidationDecorationController::place(finding, converter, text)) {
                ASSERT_LT(next, handed->size()) << row.name;
                EXPECT_EQ((*handed)[next].id, expected->id) << row.name;
                EXPECT_EQ((*handed)[next].range, expected->range) << row.name;
                ++next;
            }
        }
    }
}

TEST(ValidationResultApplierTest, CancellingOrEndingItDropsTheRest) {
    CarvexPlatform::TestApplication::ensure();
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    const CarvexValidationResult result = CarvexValidationResult::validationErrors(findingsOnPaths(10));
    for (const bool destroy : {false, true}) {
        auto store = std::make_shared<InMemoryLogStore>();
        bool finished = false;
        auto applier = std::make_unique<ValidationResultApplier>(
            result, DocumentLogger(store, "api.yaml"), QString::fromUtf8(manyPaths(10)),
            [&](std::vector<ValidationDecoration>) { finished = true; }, std::chrono::microseconds(0));
        applier->start();
        fake->runOne();
        fake->runOne();
        ASSERT_EQ(store->entries().size(), 3u) << destroy;
        if (destroy) {
            applier.reset();
        } else {
            applier->cancel();
        }
        fake->runPending();
        EXPECT_EQ(store->entries().size(), 3u) << destroy;
        EXPECT_FALSE(finished) << destroy;
    }
}

namespace {

EditorViewController* editorOf(DocumentWindowController* window) {
    return window ? dynamic_cast<EditorViewController*>(window->editorViewController()) : nullptr;
}

// Delivers the result and runs `turns` slices of it.
void deliverAndRun(CarvexPlatform::FakeMainScheduler& fake, int turns) {
    CarvexPlatform::BackgroundTask::waitForIdle();
    for (int turn = 0; turn < turns; ++turn) {
        fake.runOne();
    }
}

}  // namespace

// A result applied over many turns: Validate stays off until its end; edits made between its
// slices move the marks; a reload of the text drops the rest of it.
TEST_F(WindowTest, AResultAppliedOverManyTurnsKeepsOrderFollowsEditsAndYieldsToAReload) {
    const int count = 60;
    const CarvexValidationResult result = CarvexValidationResult::validationErrors(findingsOnPaths(count));
    struct Row {
        const char* name;
        bool reload;
    };
    const Row rows[] = {{"edits meanwhile", false}, {"reload meanwhile", true}};
    int index = 0;
    for (const Row& row : rows) {
        Document* document = openText(QStringLiteral("many%1.yaml").arg(index++), manyPaths(count));
        DocumentWindowController* window = windowOf(document);
        EditorViewController* editor = editorOf(window);
        ASSERT_NE(editor, nullptr) << row.name;
        settle();
        window->setValidationService(std::make_shared<FixedValidation>(result));
        window->setValidationSliceBudget(std::chrono::microseconds(0));
        window->validateDocument();
        deliverAndRun(*fake, 10);
        EXPECT_TRUE(window->isValidating()) << row.name;
        EXPECT_FALSE(window->validateToolbarItem()->isEnabled()) << row.name;
        const QString typed = "# a\n# b\n";
        if (row.reload) {
            document->setContent(QString::fromUtf8(manyPaths(3)));
            window->reloadEditorContent();
        } else {
            ASSERT_TRUE(editor->editorTextView()->replaceCharacters(TextRange{0, 0}, typed, false)) << row.name;
        }
        deliverAndRun(*fake, 20);
        if (!row.reload) {
            // The second edit lands while the marks are being placed.
            ASSERT_TRUE(editor->editorTextView()->replaceCharacters(TextRange{0, 0}, typed, false)) << row.name;
        }
        settle();
        EXPECT_FALSE(window->isValidating()) << row.name;
        EXPECT_TRUE(window->validateToolbarItem()->isEnabled()) << row.name;
        const auto lines = logLines(*document);
        const auto& marks = editor->validationDecorationController()->decorations();
        if (row.reload) {
            EXPECT_LT(lines.size(), static_cast<std::size_t>(count + 2)) << row.name;
            EXPECT_TRUE(marks.empty()) << row.name;
            continue;
        }
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(count + 2)) << row.name;
        for (int finding = 0; finding < count; ++finding) {
            EXPECT_EQ(lines[finding + 2], QStringLiteral("finding %1").arg(finding)) << row.name;
        }
        ASSERT_EQ(marks.size(), static_cast<std::size_t>(count)) << row.name;
        const QString view = editor->editorTextView()->viewText();
        for (int finding = 0; finding < count; ++finding) {
            EXPECT_EQ(view.mid(marks[finding].range.location, marks[finding].range.length),
                      QStringLiteral("/p%1").arg(finding))
                << row.name << " finding " << finding;
        }
    }
}
