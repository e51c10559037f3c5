#pragma once

#include "Carvex/Completion/CompletionAnimation.h"
#include "Carvex/Completion/CompletionItem.h"
#include "platform/MainScheduler.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QFrame;
class QGraphicsOpacityEffect;
class QLabel;
class QPlainTextEdit;

namespace Carvex {

// The strip under the completion list that explains the selected proposal: its label as a title
// and below it either its description (at most five lines, the rest elided) or, for a snippet, its
// template as a coloured preview. A new proposal fades in over the old one unless the selection
// moves faster than one row per 0.1 s, when it is shown at once; at the end of a fade the pane
// shows the proposal last asked for. It tells its host the height it wants for what it shows.
// Colours follow the appearance. Timing runs on the main scheduler's clock. Main thread only.
class CompletionDetailsView : public QWidget {
    Q_OBJECT

public:
    using Duration = CarvexPlatform::MainScheduler::Duration;
    using TimePoint = CarvexPlatform::MainScheduler::Clock::time_point;

    static constexpr int descriptionHeight = 100;
    static constexpr int snippetPreviewHeight = 160;
    static constexpr int horizontalPadding = 8;
    static constexpr int verticalPadding = 6;
    static constexpr int cornerRadius = 6;
    static constexpr int borderWidth = 1;
    static constexpr int maximumDescriptionLines = 5;
    // The text width of the labels in a popup 320 wide.
    static constexpr int contentWidth = 304;
    static constexpr Duration fadeDuration{150};
    static constexpr Duration rapidChangeThreshold{100};
    // The part of a snippet's template that is previewed; a longer one ends in an ellipsis.
    static constexpr qsizetype maximumPreviewLines = 400;
    static constexpr qsizetype maximumPreviewLength = 32 * 1024;
    static inline const QString noDescriptionText = QStringLiteral("No description available");

    explicit CompletionDetailsView(QWidget* parent = nullptr,
                                   std::shared_ptr<CarvexPlatform::MainScheduler> scheduler =
                                       CarvexPlatform::MainScheduler::shared());
    ~CompletionDetailsView() override;

    // Shows `item` (nothing: an empty pane): at once, or with a fade when `animated` and the last
    // change lies more than `rapidChangeThreshold` back. Asking for the item last asked for
    // changes nothing.
    void update(const std::optional<CompletionItem>& item, bool animated);
    using QWidget::update;

    // Called with the height the pane wants after it shows a description or a preview.
    std::function<void(int height)> onHeightChanged;

    // The item whose content is shown (during a fade-out, still the old one).
    const std::optional<CompletionItem>& currentItem() const { return currentItem_; }
    const std::optional<TimePoint>& lastUpdateTime() const { return lastUpdateTime_; }
    bool isFading() const { return fade_.isRunning(); }
    // The content's opacity, 1 when no fade runs.
    double contentOpacity() const;

    QWidget* containerView() const;
    QLabel* titleLabel() const { return titleLabel_; }
    QLabel* descriptionLabel() const { return descriptionLabel_; }
    QPlainTextEdit* previewTextView() const { return previewTextView_; }
    bool isPreviewShown() const;

    static QFont titleFont();
    static QFont descriptionFont();
    // How many description lines the pane's height holds whole, at most `maximumDescriptionLines`.
    static int descriptionLinesThatFit();
    // `text` in at most `maximumLines` lines of `width` in `font`, the last one ending in an
    // ellipsis when text is left over; lines are joined by line feeds. Reads only as much of a long
    // text as the lines can hold.
    static QString fittedText(const QString& text, const QFont& font, int width, int maximumLines);
    // The part of a template that is previewed.
    static QString previewedTemplate(const QString& templateContent);

private:
    void apply(const std::optional<CompletionItem>& item);
    void showPreview(const CompletionItem& item);
    void showDescription(const CompletionItem& item);
    void applyColors();
    void fadeOut();
    void setOpacity(double opacity);

    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    QFrame* container_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* descriptionLabel_ = nullptr;
    QPlainTextEdit* previewTextView_ = nullptr;
    QGraphicsOpacityEffect* opacity_ = nullptr;
    std::optional<TimePoint> lastUpdateTime_;
    std::optional<CompletionItem> currentItem_;
    // The item last asked for: the one a fade shows at its end.
    std::optional<CompletionItem> requestedItem_;
    bool descriptionIsPlaceholder_ = false;
    CompletionAnimation fade_;
};

}  // namespace Carvex
