#pragma once

#include "Carvex/ModelAdapters/ExampleExtractor.h"
#include "Carvex/ModelAdapters/ExampleSource.h"
#include "Carvex/ModelAdapters/OperationDetailsViewModel.h"
#include "Carvex/ModelAdapters/OperationExampleViewModel.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/Properties/LineLimitedLabel.h"
#include "Carvex/Syntax/SyntaxTheme.h"
#include "Carvex/TextView/EditorTextView.h"
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

// The fourth operation detail tab: a pop-up of the operation's example sources (request-body and
// response media types), a pop-up of the chosen source's examples, a line with the example's summary
// and description, and the example as coloured, read-only JSON that Copy puts on the clipboard. A source
// that declares no example shows the one generated from its schema. Colours are those of the stored
// syntax theme for the appearance at the time an example is shown. The pop-ups act only on the user's
// choice, never while they are filled. Main thread only.
class ExampleTabViewController : public CarvexPlatform::ViewController {
    Q_OBJECT

public:
    static constexpr int sourcePopupMaximumWidth = 200;
    static constexpr int examplePopupMaximumWidth = 160;
    static constexpr double textFontSize = 11;
    static inline const QString noExamplesText = QStringLiteral("No examples defined for this source");
    static inline const QString noSourcesText = QStringLiteral("No examples available");
    static inline const QString infoSeparator = QStringLiteral(" \u2014 ");

    explicit ExampleTabViewController(
        std::shared_ptr<CarvexPlatform::MainScheduler> scheduler = CarvexPlatform::MainScheduler::shared());

    // Shows the examples of an operation; without a model only the empty state shows, and what was
    // listed before stays (hidden).
    void configure(const OperationDetailsViewModel& details, const std::optional<ParsedOpenAPIModel>& model);
    // Lists the examples of the source at `index` and shows the first; an index outside the sources
    // does nothing.
    void selectSource(int index);
    // Shows the example at `index` of the chosen source; an index outside its examples does nothing.
    void showExample(int index);
    // Shows `text` coloured by the JSON lexer in the stored theme, in the tab's font. A text over
    // 256K units is lexed on a worker thread and takes its colours when that is done.
    void applyHighlightedText(const QString& text);
    // Puts the shown text on the clipboard as plain text; an empty text leaves the clipboard alone.
    void copyExample();
    // Lets go of an earlier model than `kept` at once, freeing it on a worker thread (a large model
    // takes tens of milliseconds to free); the tab is configured again only when it is next shown.
    void releaseModelUnless(const std::optional<ParsedOpenAPIModel>& kept);

    // The summary and the description that are present, joined by " — ".
    static QString infoText(const OperationExampleViewModel& example);
    // The monospaced system font, 11 points, regular weight.
    static QFont textFont();
    // `theme` with every entry in the tab's font.
    static SyntaxTheme themeInTextFont(const SyntaxTheme& theme);

    const std::vector<ExampleSource>& availableSources() const { return availableSources_; }
    const std::vector<OperationExampleViewModel>& currentSourceExamples() const { return currentSourceExamples_; }
    const std::optional<OperationDetailsViewModel>& currentDetails() const { return currentDetails_; }
    const std::optional<ExampleExtractor>& extractor() const { return extractor_; }

    // The views (made on first use of `view()`).
    QWidget* toolbarBar() const { return toolbarBar_; }
    QComboBox* sourcePopup() const { return sourcePopup_; }
    QComboBox* examplePopup() const { return examplePopup_; }
    QToolButton* copyButton() const { return copyButton_; }
    LineLimitedLabel* infoLabel() const { return infoLabel_; }
    EditorTextView* textView() const { return textView_; }
    QLabel* noExamplesLabel() const { return noExamplesLabel_; }
    QWidget* noSourcesStack() const { return noSourcesStack_; }

protected:
    QWidget* loadView() override;

private:
    void setupToolbar(QWidget* root);
    void setupInfoLabel(QWidget* root);
    void setupTextView(QWidget* root);
    void setupNoExamplesLabel(QWidget* root);
    void setupNoSourcesState(QWidget* root);
    void showNoSourcesState();
    void releaseExtractor();
    void sourceChanged(int index);
    void exampleChanged(int index);

    QPointer<QWidget> toolbarBar_;
    QPointer<QComboBox> sourcePopup_;
    QPointer<QComboBox> examplePopup_;
    QPointer<QToolButton> copyButton_;
    QPointer<LineLimitedLabel> infoLabel_;
    QPointer<EditorTextView> textView_;
    QPointer<QLabel> noExamplesLabel_;
    QPointer<QWidget> noSourcesStack_;
    std::vector<ExampleSource> availableSources_;
    std::vector<OperationExampleViewModel> currentSourceExamples_;
    std::optional<ExampleExtractor> extractor_;
    std::optional<OperationDetailsViewModel> currentDetails_;
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
};

}  // namespace Carvex
