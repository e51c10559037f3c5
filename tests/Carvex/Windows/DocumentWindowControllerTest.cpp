#include "Carvex/Conversion/ConversionError.h"
#include "Carvex/Conversion/DocumentConversionService.h"
#include "Carvex/Validation/OpenAPIValidationService.h"
#include "platform/SegmentedControl.h"
#include "platform/SystemSymbol.h"
#include "platform/WindowTabHost.h"
#include "tests/Carvex/Windows/WindowTestSupport.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

using namespace Carvex;
using CarvexWindowTests::WindowTest;
using CarvexWindowTests::faultyYAML;
using CarvexWindowTests::validYAML;

namespace {

// The enabled Convert segments, "JSON" and "YAML", joined by ",".
QString enabledSegments(DocumentWindowController& window) {
    QString names;
    auto* control = window.convertSegmentedControl();
    if (control && control->isEnabled(0)) {
        names += "JSON";
    }
    if (control && control->isEnabled(1)) {
        names += names.isEmpty() ? "YAML" : ",YAML";
    }
    return names;
}

}  // namespace

TEST(DocumentWindowSymbolsTest, TheToolbarSymbolsExist) {
    for (const char* name : {"checkmark.seal", "curlybraces", "doc.text"}) {
        const auto image = CarvexPlatform::SystemSymbol::image(name, 18, "x");
        ASSERT_TRUE(image.has_value()) << name;
        EXPECT_GT(image->width(), 18) << name;
        // Something is drawn, and not the whole square.
        int inked = 0;
        for (int y = 0; y < image->height(); ++y) {
            for (int x = 0; x < image->width(); ++x) {
                inked += qAlpha(image->pixel(x, y)) > 0 ? 1 : 0;
            }
        }
        EXPECT_GT(inked, 10) << name;
        EXPECT_LT(inked, image->width() * image->height() * 3 / 4) << name;
    }
}

TEST_F(WindowTest, TheToolbarHoldsConvertASpaceAndValidate) {
    Document* document = openText("api.yaml", validYAML);
    DocumentWindowController* window = windowOf(document);
    ASSERT_NE(window, nullptr);
    QToolBar* toolbar = window->toolbar();
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->objectName(), "DocumentToolbar");
    EXPECT_EQ(toolbar->parentWidget(), window->window());
    QStringList identifiers;
    for (QAction* action : toolbar->actions()) {
        identifiers << action->objectName();
    }
    EXPECT_EQ(identifiers, DocumentWindowController::toolbarDefaultItemIdentifiers());
    EXPECT_EQ(identifiers.join(","), "ConvertGroupToolbarItem,NSToolbarFlexibleSpaceItem,ValidateToolbarItem");

    QAction* validate = window->validateToolbarItem();
    ASSERT_NE(validate, nullptr);
    EXPECT_EQ(validate->text(), "Validate");
    EXPECT_EQ(validate->toolTip(), "Validate the OpenAPI document");
    EXPECT_EQ(validate->property("paletteLabel").toString(), "Validate Document");
    EXPECT_FALSE(validate->icon().isNull());
    EXPECT_TRUE(validate->isEnabled());

    auto* control = window->convertSegmentedControl();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->toolTip(0), "Convert to JSON");
    EXPECT_EQ(control->toolTip(1), "Convert to YAML");
    EXPECT_EQ(control->button(0)->accessibleName(), "JSON");
    EXPECT_EQ(control->button(1)->accessibleName(), "YAML");
    EXPECT_EQ(toolbar->actions().front()->text(), "Convert");
    EXPECT_EQ(toolbar->actions().front()->property("paletteLabel").toString(), "Convert Format");

    // Sized within the screen and the limits, and marked for tabbing.
    EXPECT_GE(window->window()->width(), DocumentWindowController::minimumWidth);
    EXPECT_LE(window->window()->width(), 1400);
    EXPECT_LE(window->window()->height(), 900);
    EXPECT_EQ(CarvexPlatform::WindowTabHost::tabbingIdentifier(window->window()), "CarvexDocument");
}

TEST_F(WindowTest, ConvertSegmentsFollowTheDocumentsFormat) {
    struct Row {
        const char* name;
        std::optional<FileFormat> format;
        const char* enabled;
    };
    const Row rows[] = {
        {"yaml converts to JSON", FileFormat::yaml, "JSON"},
        {"json converts to YAML", FileFormat::json, "YAML"},
        {"no format converts to neither", std::nullopt, ""},
    };
    Document* document = openText("api.yaml", validYAML);
    DocumentWindowController* window = windowOf(document);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(enabledSegments(*window), "JSON") << "as opened";
    for (const Row& row : rows) {
        document->fileFormat = row.format;
        document->refreshConversionState();
        EXPECT_EQ(enabledSegments(*window), row.enabled) << row.name;
        EXPECT_EQ(window->conversionController().currentFormat(), row.format) << row.name;
    }
}

TEST_F(WindowTest, ValidateWritesTheOutcomeAndEachFindingInOrder) {
    struct Row {
        const char* name;
        QByteArray text;
    };
    const Row rows[] = {
        {"added faults", faultyYAML},
        {"valid", validYAML},
        {"swagger 2.0", "swagger: '2.0'\ninfo:\n  title: Old\n  version: '1'\npaths: {}\n"},
        {"unparsable", "openapi: 3.0.3\ninfo: [unclosed\n"},
        {"empty", "   \n"},
    };
    const OpenAPIValidationService service;
    int index = 0;
    for (const Row& row : rows) {
        Document* document = openText(QStringLiteral("case%1.yaml").arg(index++), row.text);
        DocumentWindowController* window = windowOf(document);
        ASSERT_NE(window, nullptr) << row.name;
        // The expected lines, from the service's own result for the same text.
        const CarvexValidationResult result = service.validateNow(document->content());
        std::vector<QString> expected;
        expected.reserve(8);
        expected.emplace_back("Validating document...");
        switch (result.kind()) {
            case CarvexValidationResult::Kind::success:
                expected.push_back("Document is valid");
                break;
            case CarvexValidationResult::Kind::unsupportedVersion:
                expected.push_back("Unsupported OpenAPI version");
                break;
            case CarvexValidationResult::Kind::parsingError:
                expected.push_back((result.parsingErrorValue()->isParsingError ? "Parsing error: " : "Validation error: ") +
                                   result.parsingErrorValue()->message);
                break;
            case CarvexValidationResult::Kind::validationErrors: {
                int errors = 0;
                int warnings = 0;
                for (const auto& finding : *result.validationErrorsValue()) {
                    (finding.severity == CarvexValidationSeverity::error ? errors : warnings) += 1;
                }
                expected.push_back(errors > 0 ? QStringLiteral("Validation failed with %1 error(s) and %2 warning(s)")
                                                    .arg(errors)
                                                    .arg(warnings)
                                              : QStringLiteral("Validation completed with %1 warning(s)").arg(warnings));
                for (const auto& finding : *result.validationErrorsValue()) {
                    expected.push_back(finding.message);
                }
                break;
            }
        }
        window->validateDocument();
        EXPECT_TRUE(window->isValidating()) << row.name;
        EXPECT_FALSE(window->validateToolbarItem()->isEnabled()) << row.name;
        EXPECT_FALSE(window->validateToolbarItem(window->validateToolbarItem())) << row.name;
        settle();
        EXPECT_FALSE(window->isValidating()) << row.name;
        EXPECT_TRUE(window->validateToolbarItem()->isEnabled()) << row.name;
        EXPECT_EQ(logLines(*document), expected) << row.name;
    }
}

TEST_F(WindowTest, ValidationOutcomesAreLoggedWithTheirLevelsAndDetails) {
    Document* document = openText("api.yaml", validYAML);
    DocumentWindowController* window = windowOf(document);
    ASSERT_NE(window, nullptr);
    const auto finding = [](CarvexValidationSeverity severity, const QString& message) {
        CarvexValidationError error;
        error.id = QUuid::createUuid();
        error.message = message;
        error.description = "why";
        error.jsonPointer = "/paths";
        error.sourceLocation = SourceLocation{"", 3, 5, 20};
        error.severity = severity;
        return error;
    };
    struct Row {
        const char* name;
        CarvexValidationResult result;
        std::vector<std::pair<LogLevel, QString>> lines;
    };
    const Row rows[] = {
        {"two warnings",
         CarvexValidationResult::validationErrors({finding(CarvexValidationSeverity::warning, "w1"),
                                                   finding(CarvexValidationSeverity::warning, "w2")}),
         {{LogLevel::warning, "Validation completed with 2 warning(s)"}, {LogLevel::warning, "w1"}, {LogLevel::warning, "w2"}}},
        {"one error",
         CarvexValidationResult::validationErrors({finding(CarvexValidationSeverity::error, "e1")}),
         {{LogLevel::error, "Validation failed with 1 error(s) and 0 warning(s)"}, {LogLevel::error, "e1"}}},
        {"no findings", CarvexValidationResult::validationErrors({}),
         {{LogLevel::warning, "Validation completed with 0 warning(s)"}}},
        {"unsupported", CarvexValidationResult::unsupportedVersion("2.0"),
         {{LogLevel::error, "Unsupported OpenAPI version"}}},
        {"success", CarvexValidationResult::success(), {{LogLevel::success, "Document is valid"}}},
    };
    for (const Row& row : rows) {
        document->logStore()->clear();
        window->logValidationResult(row.result, *document);
        const auto& entries = document->logStore()->entries();
        ASSERT_EQ(entries.size(), row.lines.size()) << row.name;
        for (std::size_t line = 0; line < entries.size(); ++line) {
            EXPECT_EQ(entries[line].level, row.lines[line].first) << row.name << " line " << line;
            EXPECT_EQ(entries[line].message, row.lines[line].second) << row.name << " line " << line;
        }
        if (row.result.kind() == CarvexValidationResult::Kind::validationErrors && entries.size() > 1) {
            // Findings keep their explanation, place and pointer; the summary has none.
            EXPECT_FALSE(entries[0].sourceLocation.has_value()) << row.name;
            EXPECT_EQ(entries[1].errorDescription, std::optional<QString>("why")) << row.name;
            EXPECT_EQ(entries[1].sourceLocation->line, 3) << row.name;
            EXPECT_EQ(entries[1].sourceLocation->column, 5) << row.name;
            EXPECT_EQ(entries[1].jsonPointer, std::optional<QString>("/paths")) << row.name;
        }
        if (row.result.kind() == CarvexValidationResult::Kind::unsupportedVersion) {
            EXPECT_EQ(entries[0].errorDescription,
                      std::optional<QString>("OpenAPI version '2.0' is not supported. Please use OpenAPI 3.0 or 3.1."));
        }
    }
}

TEST_F(WindowTest, ASecondValidatePressDuringARunIsIgnored) {
    Document* document = openText("api.yaml", faultyYAML);
    DocumentWindowController* window = windowOf(document);
    ASSERT_NE(window, nullptr);
    window->validateDocument();
    window->validateToolbarItem()->trigger();  // disabled: nothing
    window->validateDocument();                // the action itself refuses too
    settle();
    const auto lines = logLines(*document);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), QString("Validating document...")), 1);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const QString& line) { return line.startsWith("Validation "); }), 1);
    // A later press runs again.
    window->validateDocument();
    settle();
    const auto again = logLines(*document);
    EXPECT_EQ(std::count(again.begin(), again.end(), QString("Validating document...")), 2);
}

TEST_F(WindowTest, ResultsArrivingAfterTheWindowClosedAreDropped) {
    Document* document = openText("api.yaml", faultyYAML);
    DocumentWindowController* window = windowOf(document);
    ASSERT_NE(window, nullptr);
    const auto store = document->logStore();
    auto* split = splitOf(document);
    auto* pane = split ? dynamic_cast<PropertiesViewController*>(split->propertiesViewController()) : nullptr;
    ASSERT_TRUE(pane && pane->coordinator());
    EXPECT_TRUE(pane->coordinator()->isParsePending()) << "the text waits for its pause";
    window->validateDocument();
    window->convertToJSON();
    // Both runs end before the close, so that their results come while the closed document and its
    // window still stand.
    CarvexPlatform::BackgroundTask::waitForIdle();
    document->close();
    EXPECT_FALSE(pane->coordinator()->isParsePending());
    settle();
    // Only the start of the run reached the log; nothing touched the freed window or document.
    ASSERT_EQ(store->entries().size(), 1u);
    EXPECT_EQ(store->entries().front().message, "Validating document...");
    EXPECT_TRUE(controller.documents().empty());
}

TEST_F(WindowTest, ConvertOpensTheOtherFormatInANewDocument) {
    struct Row {
        const char* corpus;
        FileFormat target;
        const char* name;
        const char* segmentsOfNewWindow;
    };
    const Row rows[] = {
        {"v3.0/petstore.yaml", FileFormat::json, "petstore_converted.json", "YAML"},
        {"v3.1/webhook-example.json", FileFormat::yaml, "webhook-example_converted.yaml", "JSON"},
    };
    const DocumentConversionService service;
    for (const Row& row : rows) {
        Document* source = openCopy(row.corpus);
        if (!source) {
            GTEST_SKIP() << "the shared corpus is not here";
        }
        DocumentWindowController* window = windowOf(source);
        ASSERT_NE(window, nullptr);
        const std::size_t before = controller.documents().size();
        if (row.target == FileFormat::json) {
            window->convertSegmentedControl()->performClick(0);
        } else {
            window->convertSegmentedControl()->performClick(1);
        }
        EXPECT_TRUE(window->isConverting()) << row.corpus;
        settle();
        ASSERT_EQ(controller.documents().size(), before + 1) << row.corpus;
        auto* converted = dynamic_cast<Document*>(controller.documents().back());
        ASSERT_NE(converted, nullptr);
        EXPECT_EQ(converted->displayName(), row.name);
        EXPECT_EQ(converted->fileFormat, row.target);
        EXPECT_FALSE(converted->hasFile());
        EXPECT_EQ(converted->content(), row.target == FileFormat::json ? service.convertToJSON(source->content())
                                                                     : service.convertToYAML(source->content()));
        DocumentWindowController* newWindow = windowOf(converted);
        ASSERT_NE(newWindow, nullptr);
        // Marked as edited: the converted text is in no file yet.
        EXPECT_EQ(newWindow->window()->windowTitle(), QString(row.name) + "[*]");
        EXPECT_TRUE(newWindow->window()->isWindowModified());
        EXPECT_EQ(enabledSegments(*newWindow), row.segmentsOfNewWindow) << row.corpus;
        EXPECT_EQ(logLines(*source).back(),
                  QString("Converted to ") + (row.target == FileFormat::json ? "JSON" : "YAML") + ": " + row.name);
        EXPECT_EQ(source->logStore()->entries().back().level, LogLevel::success);
        // The source is untouched.
        EXPECT_FALSE(source->isDocumentEdited());
    }
}

TEST_F(WindowTest, AFailedConversionIsLoggedAndOpensNothing) {
    Document* document = openText("broken.yaml", "openapi: 3.0.0\ninfo: [unclosed\n");
    DocumentWindowController* window = windowOf(document);
    ASSERT_NE(window, nullptr);
    const QString before = document->content();
    QString expected;
    try {
        DocumentConversionService{}.convertToJSON(before);
    } catch (const ConversionError& error) {
        expected = error.localizedDescription();
    }
    ASSERT_FALSE(expected.isEmpty());
    window->convertToJSON();
    settle();
    EXPECT_EQ(controller.documents().size(), 1u);
    ASSERT_FALSE(logLines(*document).empty());
    EXPECT_EQ(logLines(*document).back(), expected);
    EXPECT_EQ(document->logStore()->entries().back().level, LogLevel::error);
    EXPECT_EQ(document->content(), before);

    // Any other failure names itself.
    document->logStore()->clear();
    window->logConversionFailure(std::make_exception_ptr(std::runtime_error("disk full")), *document);
    EXPECT_EQ(logLines(*document), std::vector<QString>{"Conversion failed: disk full"});
}
