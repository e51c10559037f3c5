#pragma once

#include "Carvex/Examples/ExampleGeneratorService.h"
#include "Carvex/ModelAdapters/ExampleGeneratorPanel.h"
#include "Carvex/ModelAdapters/ExampleSource.h"
#include "Carvex/Syntax/SyntaxTheme.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "platform/MainScheduler.h"
#include "platform/ViewController.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QToolButton>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

// The example-generator tab of the bottom panel: the user picks an operation of the open document and
// one of its targets (a request-body or response media type) and sees, as coloured read-only JSON that
// can be copied, the example its schema alone gives. The panel does not parse: the properties
// coordinator hands it the model and the operation rows after each successful parse and clears it when
// the document closes. What is chosen lives in the controller, so the coordinator may drive it before
// its view exists; the pop-ups mirror it and act only on the user's choice. Made in code with its plain
// initialiser. Main thread only.
class ExampleGeneratorViewController : public CarvexPlatform::ViewController, public ExampleGeneratorPanel {
    Q_OBJECT

public:
    // Height of the strip at the panel's top that holds only the copy button.
    static constexpr int tabButtonsHeight = 28;
    static constexpr int popupMinimumWidth = 120;
    static constexpr double outputFontSize = 12;
    static inline const QString noDocumentText = QStringLiteral("Open an OpenAPI document to generate examples");
    static inline const QString noOperationsText = QStringLiteral("No operations found in this document");
    static inline const QString noSchemaText = QStringLiteral("// No schema found for this target.");
    static inline const QString syntaxThemePreferencesDidChangeNotification =
        QStringLiteral("syntaxThemePreferencesDidChange");

    explicit ExampleGeneratorViewController(
        std::shared_ptr<CarvexPlatform::MainScheduler> scheduler = CarvexPlatform::MainScheduler::shared());
    ~ExampleGeneratorViewController() override;

    const std::optional<ParsedOpenAPIModel>& currentModel() const { return currentModel_; }
    const std::vector<ExampleSource>& currentTargets() const { return currentTargets_; }
    // The index chosen in the target pop-up, or -1.
    int selectedTargetIndex() const { return selectedTargetIndex_; }
    // The text the output shows (and Copy puts on the clipboard).
    const QString& outputText() const { return outputText_; }
    const ExampleGeneratorService& service() const { return service_; }

    void setCurrentModel(const std::optional<ParsedOpenAPIModel>& model) override;
    const std::vector<OperationRowViewModel>& operations() const override { return operations_; }
    void setOperations(std::vector<OperationRowViewModel> operations) override;
    int selectedOperationIndex() const override { return selectedOperationIndex_; }
    // Lists the operations, choosing the given one when it is listed and the first otherwise.
    void reloadOperations(const std::optional<QString>& path, std::optional<HTTPMethod> method) override;
    // Lists the targets of the chosen operation, keeping the chosen target when it is still there, and
    // generates its example.
    void reloadTargets() override;
    void updateEmptyState() override;
    void clear() override;

    // Shows the example of the chosen target, or the comment line when none can be generated.
    void regenerate();
    // Puts the shown text on the clipboard as plain text; an empty output leaves the clipboard alone.
    void copyOutputToPasteboard();
    // Colours for the current appearance and the stored syntax theme.
    void applyCurrentTheme();

    // The views, once loaded (null before).
    QComboBox* operationPopup() const { return operationPopup_; }
    QComboBox* targetPopup() const { return targetPopup_; }
    EditorTextView* outputTextView() const { return outputTextView_; }
    QWidget* emptyPlaceholderView() const { return emptyPlaceholderView_; }
    QLabel* emptyPlaceholderLabel() const { return emptyPlaceholderLabel_; }
    QToolButton* copyButton() const { return copyButton_; }
    SyntaxHighlightingController* highlightingController() const { return highlightingController_.get(); }

    // `theme` with every entry in the output's font, so tokens keep the size of the text around them.
    static SyntaxTheme themeInOutputFont(const SyntaxTheme& theme);
    // The monospaced system font, 12 points, regular weight.
    static QFont outputFont();

protected:
    QWidget* loadView() override;
    void viewDidLoad() override;

private:
    void setupUI();
    QWidget* makeHeaderView();
    EditorTextView* makeOutputView();
    QWidget* makeEmptyPlaceholderView();
    QToolButton* makeCopyButton();
    void setupHighlighting();
    void observeThemeChanges();
    void applyChromeColors(bool isDark);

    void operationSelected(int index);
    void targetSelected(int index);
    void fillOperationPopup();
    void fillTargetPopup();
    void setOutputText(const QString& text);
    void releaseInBackground(std::optional<ParsedOpenAPIModel> model);
    bool hasValidOperation() const;
    bool hasValidTarget() const;

    QPointer<QComboBox> operationPopup_;
    QPointer<QComboBox> targetPopup_;
    QPointer<EditorTextView> outputTextView_;
    QPointer<QWidget> emptyPlaceholderView_;
    QPointer<QLabel> emptyPlaceholderLabel_;
    QPointer<QToolButton> copyButton_;
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    ExampleGeneratorService service_;
    std::vector<OperationRowViewModel> operations_;
    std::optional<ParsedOpenAPIModel> currentModel_;
    std::vector<ExampleSource> currentTargets_;
    std::unique_ptr<SyntaxHighlightingController> highlightingController_;
    int selectedOperationIndex_ = -1;
    int selectedTargetIndex_ = -1;
    QString outputText_;
};

}  // namespace Carvex
