#include "Carvex/Properties/PropertiesViewCoordinator.h"

#include "Carvex/Documents/Document.h"
#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "platform/BackgroundTask.h"

#include <QHash>

#include <utility>

namespace Carvex {

// What the background half of a parse hands to the main thread.
struct PropertiesViewCoordinator::Outcome {
    OpenAPIModelParseResult result;
    std::vector<OperationRowViewModel> rows;
    // The example panel's list when the row builder is not the plain one.
    std::optional<std::vector<OperationRowViewModel>> panelRows;
};

PropertiesViewCoordinator::PropertiesViewCoordinator(std::shared_ptr<const OpenAPIModelParsing> parser,
                                                     std::shared_ptr<const OperationsIndexBuilding> operationsBuilder,
                                                     std::shared_ptr<const OperationDetailsBuilding> detailsBuilder,
                                                     std::shared_ptr<PropertiesViewPolicyStore> policyStore,
                                                     std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : parser_(std::move(parser)), operationsBuilder_(std::move(operationsBuilder)),
      detailsBuilder_(std::move(detailsBuilder)), policyStore_(std::move(policyStore)), scheduler_(std::move(scheduler)),
      debouncer_(CarvexPlatform::Debouncer::Duration(250), scheduler_)
{
}

PropertiesViewCoordinator::PropertiesViewCoordinator()
    : PropertiesViewCoordinator(std::make_shared<OpenAPIModelParsingService>(), std::make_shared<OperationsIndexBuilder>(),
                                std::make_shared<OperationDetailsBuilder>(), nullptr)
{
}

const std::shared_ptr<PropertiesViewPolicyStore>& PropertiesViewCoordinator::policyStore()
{
    if (!policyStore_)
        policyStore_ = std::make_shared<PropertiesViewPolicyStore>(CarvexPlatform::Settings::standard());
    return policyStore_;
}

PropertiesViewCoordinator::~PropertiesViewCoordinator()
{
    parseTask_.cancel();
}

Document* PropertiesViewCoordinator::document() const
{
    return document_.data();
}

void PropertiesViewCoordinator::setDocument(Document* document)
{
    document_ = document;
}

void PropertiesViewCoordinator::documentDidChange(const QString& text, DocumentFormat format)
{
    const uint64_t request = ++latestRequestID_;
    debouncer_.cancel();
    parseTask_.cancel();
    const PropertiesViewUpdatePolicy policy = policyStore()->loadPolicy();
    // The text is shared, not copied (QString copies on write); it waits here, where a coming change
    // can let it go.
    waitingText_ = text;
    debouncer_.schedule(std::chrono::milliseconds(policy.debounceMilliseconds), [this, request, format, policy] {
        if (std::optional<QString> waiting = std::exchange(waitingText_, std::nullopt))
            startParse(request, std::move(*waiting), format, policy);
    });
}

void PropertiesViewCoordinator::documentWillChange()
{
    if (waitingText_) {
        debouncer_.cancel();
        waitingText_.reset();
    }
}

void PropertiesViewCoordinator::startParse(uint64_t request, QString text, DocumentFormat format,
                                           PropertiesViewUpdatePolicy policy)
{
    // The parse gets a text of its own when the editor still shares this one: the editor then goes on
    // changing its text in place while the parse runs.
    if (!text.isDetached())
        text = QString(text.constData(), text.size());
    auto work = [parser = parser_, builder = operationsBuilder_, text = std::move(text), format]() {
        Outcome outcome{parser->parse(text, format), {}, std::nullopt};
        if (const ParsedOpenAPIModel* model = outcome.result.model()) {
            ParsedOpenAPIModel hashed = model->withSourceTextHash(qHash(text));
            outcome.rows = builder->build(hashed);
            if (!dynamic_cast<const OperationsIndexBuilder*>(builder.get()))
                outcome.panelRows = OperationsIndexBuilder().build(hashed);
            outcome.result = std::move(hashed);
        }
        return outcome;
    };
    QPointer<PropertiesViewCoordinator> self(this);
    parseTask_ = CarvexPlatform::BackgroundTask::run(
        std::move(work),
        [self, request, policy](Outcome outcome) {
            // A newer change supersedes this one, also when its task was not cancelled in time.
            if (!self || self->latestRequestID_ != request)
                return;
            self->apply(outcome, policy);
        },
        scheduler_);
}

void PropertiesViewCoordinator::apply(Outcome& outcome, const PropertiesViewUpdatePolicy& policy)
{
    if (const ParsedOpenAPIModel* model = outcome.result.model())
        applyModel(*model, std::move(outcome.rows), std::move(outcome.panelRows));
    else
        applyError(*outcome.result.error(), policy);
}

void PropertiesViewCoordinator::applyModel(ParsedOpenAPIModel model, std::vector<OperationRowViewModel> rows,
                                           std::optional<std::vector<OperationRowViewModel>> panelRows)
{
    // The models replaced here may be the last holders of a large document: they are released on a
    // worker thread, so that tearing the old tree down does not hold up the main thread.
    std::optional<ParsedOpenAPIModel> replaced = std::exchange(lastSuccessfulModel_, model);
    std::optional<ParsedOpenAPIModel> replacedInDocument;
    if (document_)
        replacedInDocument = std::exchange(document_->parsedModel, model);
    releaseInBackground(std::move(replaced), std::move(replacedInDocument));
    if (examplePanel_.get())
        refreshExamplePanel(model, panelRows ? std::move(*panelRows) : rows);
    lastOperations_ = std::move(rows);
    if (auto* delegate = delegate_.get()) {
        if (!lastOperations_.empty())
            delegate->coordinatorDidUpdateOperations(*this, lastOperations_);
        else
            delegate->coordinatorDidRequestNoOperationsState(*this);
    }
    if (!currentSelection_)
        return;
    const OperationID selection = *currentSelection_;
    for (const auto& row : lastOperations_) {
        if (row.id == selection) {
            selectOperation(selection);
            return;
        }
    }
    currentSelection_.reset();
    if (auto* delegate = delegate_.get())
        delegate->coordinatorDidClearSelection(*this);
}

void PropertiesViewCoordinator::releaseInBackground(std::optional<ParsedOpenAPIModel> first,
                                                    std::optional<ParsedOpenAPIModel> second)
{
    if (!first && !second)
        return;
    CarvexPlatform::BackgroundTask::run(
        [first = std::move(first), second = std::move(second)]() mutable {
            first.reset();
            second.reset();
            return true;
        },
        [](bool) {}, scheduler_);
}

void PropertiesViewCoordinator::refreshExamplePanel(const ParsedOpenAPIModel& model,
                                                    std::vector<OperationRowViewModel> rows)
{
    ExampleGeneratorPanel* panel = examplePanel_.get();
    panel->setCurrentModel(model);
    std::optional<QString> path;
    std::optional<HTTPMethod> method;
    const int chosen = panel->selectedOperationIndex();
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < panel->operations().size()) {
        path = panel->operations()[static_cast<std::size_t>(chosen)].path();
        method = panel->operations()[static_cast<std::size_t>(chosen)].method();
    }
    panel->setOperations(std::move(rows));
    panel->reloadOperations(path, method);
    panel->reloadTargets();
    panel->updateEmptyState();
}

void PropertiesViewCoordinator::applyError(const OpenAPIParseError& error, const PropertiesViewUpdatePolicy& policy)
{
    if (error.kind() == OpenAPIParseError::Kind::unsupportedVersion) {
        if (auto* delegate = delegate_.get())
            delegate->coordinatorDidRequestVersionGatedState(*this);
        return;
    }
    if (policy.keepLastValidStateOnError)
        return;
    lastSuccessfulModel_.reset();
    lastOperations_.clear();
    if (auto* delegate = delegate_.get())
        delegate->coordinatorDidRequestParseErrorState(*this);
}

void PropertiesViewCoordinator::selectOperation(const OperationID& id)
{
    currentSelection_ = id;
    if (!lastSuccessfulModel_)
        return;
    const auto details = detailsBuilder_->build(id, *lastSuccessfulModel_);
    if (!details)
        return;
    if (auto* delegate = delegate_.get())
        delegate->coordinatorDidUpdateDetails(*this, *details);
}

void PropertiesViewCoordinator::clearSelection()
{
    currentSelection_.reset();
    if (auto* delegate = delegate_.get())
        delegate->coordinatorDidClearSelection(*this);
}

void PropertiesViewCoordinator::documentDidClose()
{
    waitingText_.reset();
    debouncer_.cancel();
    parseTask_.cancel();
    lastSuccessfulModel_.reset();
    lastOperations_.clear();
    currentSelection_.reset();
    if (auto* delegate = delegate_.get())
        delegate->coordinatorDidRequestNoDocumentState(*this);
    if (auto* panel = examplePanel_.get())
        panel->clear();
}

} // namespace Carvex
