#pragma once

#include "Carvex/CaretContext/DocumentFormat.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/ModelAdapters/ExampleGeneratorPanel.h"
#include "Carvex/ModelAdapters/OpenAPIModelParsing.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilding.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilding.h"
#include "Carvex/Properties/PropertiesViewCoordinatorDelegate.h"
#include "Carvex/ModelAdapters/PropertiesViewPolicyStore.h"
#include "platform/Debouncer.h"
#include "platform/MainScheduler.h"
#include "platform/WorkItem.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

class Document;

// Connects the editor to the properties pane. Each text change is numbered and supersedes the ones
// before it; after the policy's pause the text is parsed (UTF-8 conversion, parse and operation rows on a
// background thread), and the newest result only is applied on the main thread: the model goes to the
// document and the example panel, the rows to the delegate, and a kept selection is rebuilt into details.
// A failed parse shows the version-gated state, keeps the last state, or shows the parse-error state, as
// the policy says. Document, delegate and example panel are held weakly. Main thread only.
class PropertiesViewCoordinator : public QObject {
public:
    PropertiesViewCoordinator(std::shared_ptr<const OpenAPIModelParsing> parser,
                              std::shared_ptr<const OperationsIndexBuilding> operationsBuilder,
                              std::shared_ptr<const OperationDetailsBuilding> detailsBuilder,
                              std::shared_ptr<PropertiesViewPolicyStore> policyStore,
                              std::shared_ptr<CarvexPlatform::MainScheduler> scheduler =
                                  CarvexPlatform::MainScheduler::shared());
    // The application's own collaborators: the parse service, the plain builders and the policy in the
    // standard settings (opened on first use), on the shared main scheduler.
    PropertiesViewCoordinator();
    ~PropertiesViewCoordinator() override;

    // The whole text after it was loaded, replaced or changed. Returns at once.
    virtual void documentDidChange(const QString& text, DocumentFormat format);
    // The text is about to change and `documentDidChange` follows: the text waiting for its pause is
    // let go now, so that the editor changes its own text in place instead of copying it.
    virtual void documentWillChange();
    // The pane's document goes away: pending work is dropped and the no-document state requested.
    virtual void documentDidClose();
    virtual void selectOperation(const OperationID& id);
    virtual void clearSelection();

    Document* document() const;
    void setDocument(Document* document);
    PropertiesViewCoordinatorDelegate* delegate() const { return delegate_.get(); }
    void setDelegate(PropertiesViewCoordinatorDelegate* delegate) { delegate_.set(delegate); }
    ExampleGeneratorPanel* exampleGeneratorViewController() const { return examplePanel_.get(); }
    void setExampleGeneratorViewController(ExampleGeneratorPanel* panel) { examplePanel_.set(panel); }

    const std::shared_ptr<const OpenAPIModelParsing>& parser() const { return parser_; }
    const std::shared_ptr<const OperationsIndexBuilding>& operationsBuilder() const { return operationsBuilder_; }
    const std::shared_ptr<const OperationDetailsBuilding>& detailsBuilder() const { return detailsBuilder_; }
    const std::shared_ptr<PropertiesViewPolicyStore>& policyStore();
    uint64_t latestRequestID() const { return latestRequestID_; }
    const std::optional<OperationID>& currentSelection() const { return currentSelection_; }
    const std::optional<ParsedOpenAPIModel>& lastSuccessfulModel() const { return lastSuccessfulModel_; }
    const std::vector<OperationRowViewModel>& lastOperations() const { return lastOperations_; }
    // True while a change waits for its pause or its parse.
    bool isParsePending() const { return debouncer_.isPending() || parseTask_.isPending(); }

private:
    struct Outcome;

    void startParse(uint64_t request, QString text, DocumentFormat format, PropertiesViewUpdatePolicy policy);
    void apply(Outcome& outcome, const PropertiesViewUpdatePolicy& policy);
    void applyModel(ParsedOpenAPIModel model, std::vector<OperationRowViewModel> rows,
                    std::optional<std::vector<OperationRowViewModel>> panelRows);
    void applyError(const OpenAPIParseError& error, const PropertiesViewUpdatePolicy& policy);
    void releaseInBackground(std::optional<ParsedOpenAPIModel> first, std::optional<ParsedOpenAPIModel> second);
    void refreshExamplePanel(const ParsedOpenAPIModel& model, std::vector<OperationRowViewModel> rows);

    std::shared_ptr<const OpenAPIModelParsing> parser_;
    std::shared_ptr<const OperationsIndexBuilding> operationsBuilder_;
    std::shared_ptr<const OperationDetailsBuilding> detailsBuilder_;
    std::shared_ptr<PropertiesViewPolicyStore> policyStore_;
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    QPointer<Document> document_;
    CarvexPlatform::Debouncer debouncer_;
    CarvexPlatform::WorkItem parseTask_;
    // The text of the change waiting for its pause.
    std::optional<QString> waitingText_;
    uint64_t latestRequestID_ = 0;
    std::optional<OperationID> currentSelection_;
    std::optional<ParsedOpenAPIModel> lastSuccessfulModel_;
    std::vector<OperationRowViewModel> lastOperations_;
    WeakDelegate<PropertiesViewCoordinatorDelegate> delegate_;
    WeakDelegate<ExampleGeneratorPanel> examplePanel_;
};

} // namespace Carvex
