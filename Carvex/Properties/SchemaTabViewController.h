#pragma once

#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/OperationDetailsViewModel.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/ModelAdapters/RefOrValue.h"
#include "Carvex/ModelAdapters/SchemaAdapter.h"
#include "Carvex/ModelAdapters/SchemaRefResolver.h"
#include "Carvex/ModelAdapters/SchemaTreeCache.h"
#include "Carvex/ModelAdapters/SchemaTreeNode.h"
#include "Carvex/Properties/ElidingLabel.h"
#include "Carvex/Properties/SchemaOutlineView.h"
#include "Carvex/Properties/TabButtonBar.h"
#include "platform/ViewController.h"

#include <QComboBox>
#include <QPointer>
#include <QString>
#include <QToolButton>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

// The third operation detail tab: every schema the operation declares (one per request-body media
// type, then one per response media type) in a pop-up, the chosen one shown as an outline of its
// schema tree. The mode bar shows references as leaves ("Referenced") or expands them ("Resolved");
// the toolbar opens or closes the whole outline. Trees are built on demand and kept per operation,
// media type, mode and source for as long as the model they came from is shown; the trees and the
// model they replace are released on a worker thread, never on the main one. Main thread only.
class SchemaTabViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    // One schema of the operation: the request body's or a response's, for one media type.
    class SchemaSource {
    public:
        enum class Kind { requestBody, response };

        static SchemaSource requestBody(QString contentType, RefOrValue<SchemaAdapter> schema);
        static SchemaSource response(QString statusCode, QString contentType, RefOrValue<SchemaAdapter> schema);

        Kind kind() const noexcept { return kind_; }
        // The status code of a response; empty for the request body.
        const QString& statusCode() const noexcept { return statusCode_; }
        const QString& contentType() const noexcept { return contentType_; }
        const RefOrValue<SchemaAdapter>& schema() const noexcept { return schema_; }
        // "Request Body (application/json)" or "200 Response (application/json)".
        QString title() const;

    private:
        SchemaSource(Kind kind, QString statusCode, QString contentType, RefOrValue<SchemaAdapter> schema);
        Kind kind_;
        QString statusCode_;
        QString contentType_;
        RefOrValue<SchemaAdapter> schema_;
    };

    static constexpr int maxDepth = 20;

    SchemaTabViewController();
    ~SchemaTabViewController() override;

    // Shows the schemas of an operation, the first source selected; the empty state without a model
    // or without any schema. The mode stays as it was.
    void configure(const OperationDetailsViewModel& details, const std::optional<ParsedOpenAPIModel>& model);
    // Selects the first request-body source (no status code) or the first response source with the
    // status code; nothing changes when no source matches.
    void selectSource(const std::optional<QString>& statusCode);
    // Releases the trees and the model held (on a worker thread) unless `kept` is that model; the tab
    // shows nothing until it is configured again.
    void releaseModelUnless(const std::optional<ParsedOpenAPIModel>& kept);

    // Called with the line of a schema whose row's "Reveal in Editor" was pressed.
    std::function<void(int)> onRevealInEditor;

    void rebuildSources(const OperationDetailsViewModel& details, const OpenAPIDocumentAdapter& adapter);
    // The schema slot of a response's media type; the status code is compared with the keys of the
    // model with quotation marks trimmed from both ends, and "default" falls back to the default
    // response.
    static std::optional<RefOrValue<SchemaAdapter>> responseSchema(const QString& statusCode, const QString& contentType,
                                                                   const OpenAPIDocumentAdapter& adapter,
                                                                   const OperationDetailsViewModel& details);
    void updateSourcePopup();
    void reloadTree();
    void updateSchemaNameLabel();

    // The user's actions: a source chosen in the pop-up, a mode button, the toolbar buttons.
    void sourceChanged(int index);
    void modeSelected(int index);
    void expandAll();
    void collapseAll();

    QWidget* headerBar() const { return headerBar_; }
    ElidingLabel* schemaNameLabel() const { return schemaNameLabel_; }
    TabButtonBar* modeBar() const { return modeBar_; }
    QWidget* toolbarBar() const { return toolbarBar_; }
    QComboBox* sourcePopup() const { return sourcePopup_; }
    QToolButton* expandAllButton() const { return expandAllButton_; }
    QToolButton* collapseAllButton() const { return collapseAllButton_; }
    SchemaOutlineView* outlineView() const { return outlineView_; }
    QWidget* emptyStateView() const { return emptyStateView_; }
    const SchemaTreeNode::Ptr& rootNode() const noexcept { return rootNode_; }
    const std::vector<SchemaSource>& availableSources() const noexcept { return availableSources_; }
    int selectedSourceIndex() const noexcept { return selectedSourceIndex_; }
    SchemaRefResolver::Mode currentMode() const noexcept { return currentMode_; }
    const SchemaTreeCache& cache() const noexcept { return cache_; }

protected:
    QWidget* loadView() override;

private:
    struct Held;

    void setShowsTree(bool showsTree);
    // Moves the model, its adapter and its trees out, the outline emptied first.
    Held takeHeld();
    static void releaseInBackground(Held held);

    QPointer<QWidget> headerBar_;
    QPointer<ElidingLabel> schemaNameLabel_;
    QPointer<TabButtonBar> modeBar_;
    QPointer<QWidget> toolbarBar_;
    QPointer<QComboBox> sourcePopup_;
    QPointer<QToolButton> expandAllButton_;
    QPointer<QToolButton> collapseAllButton_;
    QPointer<SchemaOutlineView> outlineView_;
    QPointer<QWidget> emptyStateView_;
    SchemaTreeNode::Ptr rootNode_;
    std::vector<SchemaSource> availableSources_;
    int selectedSourceIndex_ = 0;
    SchemaRefResolver::Mode currentMode_ = SchemaRefResolver::Mode::referenced;
    std::shared_ptr<const OpenAPIDocumentAdapter> documentAdapter_;
    std::optional<OperationID> currentOperationID_;
    std::optional<ParsedOpenAPIModel> currentModel_;
    SchemaTreeCache cache_;
};

} // namespace Carvex
