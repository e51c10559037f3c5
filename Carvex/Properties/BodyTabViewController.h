#pragma once

#include "Carvex/ModelAdapters/OperationDetailsViewModel.h"
#include "Carvex/Properties/CollapsibleSectionView.h"
#include "platform/ViewController.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

#include <functional>
#include <optional>
#include <vector>

class QVBoxLayout;

namespace Carvex {

// The second operation detail tab: the parameters grouped by location, the request body and the
// responses, with buttons that open a schema in the Schema tab or move the editor to a source
// line. Parameter groups and responses are sections that start folded; the toolbar folds or
// unfolds them all. Rebuilt from scratch (folds forgotten) by every `configure`. Main thread only.
class BodyTabViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    BodyTabViewController() = default;

    // Asks the host to show the Schema tab for the request body (nothing) or a response's code.
    std::function<void(std::optional<QString>)> onSwitchToSchemaTab;
    // Asks the host to move the editor to a source line.
    std::function<void(int)> onRevealInEditor;
    // The object of the navigation notification the tab posts: its window's properties pane.
    void setNavigationSender(const void* sender) { navigationSender_ = sender; }

    void configure(const OperationDetailsViewModel& details);

    void expandAllSections();
    void collapseAllSections();
    // A "View in Schema tab" button's action with the button's identifier.
    void switchToSchemaTabFromIdentifier(const QString& identifier);
    // A "Reveal in Editor" button's action: the host's callback, then the navigation notification.
    void requestReveal(int line);

    // Toolbar icon buttons, shared with other tabs: the symbol, its label as tooltip, 24 by 24.
    static void configureToolbarIconButton(QToolButton* button, const QString& symbolName, const QString& label);

    QWidget* toolbarBar() const { return toolbarBar_; }
    QToolButton* expandAllButton() const { return expandAllButton_; }
    QToolButton* collapseAllButton() const { return collapseAllButton_; }
    QScrollArea* scrollView() const { return scrollView_; }
    QVBoxLayout* stackView() const { return stackView_; }
    QLabel* emptyLabel() const { return emptyLabel_; }
    const std::vector<QPointer<CollapsibleSectionView>>& collapsibleSections() const { return collapsibleSections_; }

protected:
    QWidget* loadView() override;

private:
    void setupToolbar(QWidget* root);
    QWidget* makeParameterRow(const OperationParameterViewModel& parameter);
    void addRequestBodySection(const OperationRequestBodyViewModel& body);
    void addResponsesSection(const std::vector<OperationResponseViewModel>& responses);
    QWidget* makeResponseContent(const OperationResponseViewModel& response);
    QPushButton* makeRevealButton(int64_t line);
    QPushButton* makeSchemaButton(const QString& identifier);
    static QWidget* makeContentTypeChip(const QString& mediaType);
    void addToList(QWidget* view);
    QWidget* makeSeparator();

    QPointer<QWidget> toolbarBar_;
    QPointer<QToolButton> expandAllButton_;
    QPointer<QToolButton> collapseAllButton_;
    QPointer<QScrollArea> scrollView_;
    QPointer<QWidget> documentView_;
    QVBoxLayout* stackView_ = nullptr;
    QPointer<QLabel> emptyLabel_;
    std::vector<QPointer<CollapsibleSectionView>> collapsibleSections_;
    const void* navigationSender_ = nullptr;
};

}  // namespace Carvex
