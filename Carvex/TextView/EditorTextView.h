#pragma once

#include "Carvex/Text/LineEndingStyle.h"
#include "Carvex/Text/TextChange.h"
#include "Carvex/Text/TextRange.h"
#include "platform/DynamicColor.h"
#include "platform/MainScheduler.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

class EditorTextOverlay;
class EditorTextViewClickDelegate;
class EditorTextViewDelegate;
class EditorTextViewKeyDelegate;
class EditorTextViewTooltipDelegate;
class LineNumberRulerView;
class SyntaxColorLayer;

// A delegate reference that empties itself when the delegate is a QObject that is destroyed.
template <class T>
class WeakDelegate {
public:
    void set(T* delegate) {
        pointer_ = delegate;
        object_ = dynamic_cast<QObject*>(delegate);
        tracked_ = object_ != nullptr;
    }
    T* get() const { return tracked_ && object_.isNull() ? nullptr : pointer_; }

private:
    T* pointer_ = nullptr;
    QPointer<QObject> object_;
    bool tracked_ = false;
};

// The plain-text view of the editor. It draws a band behind the caret's line and full-height
// indent guides over the visible levels, hands key presses, Command-clicks (Control here), pointer
// shapes and hover tooltips to its delegates, and runs every change of its text through one path:
// the text delegate is asked before a change the user makes (typing, paste, drop, cut, delete,
// input-method text) and every change (also undo and redo) is announced after it with its edited
// range and change in length, in UTF-16 units of the view's text.
//
// The view's text has line feeds only; `loadText` remembers the file's line-ending style and
// `text` writes it back. Until the first edit `text` returns the loaded text unchanged. Loading is
// not an edit: it announces nothing, leaves the document unmodified and leaves nothing to undo.
// Large texts load in slices on later turns of the main scheduler; the first screenful is there at
// once. Edits made meanwhile act on the loaded part and the rest comes in behind them; what needs
// all of the text (a place not loaded yet, the end of the text, Select All, undo and redo, a group
// of edits) finishes the load first. Undo takes back the edits made while loading, and nothing of
// the load.
//
// Delegates are weak when they are QObjects; others must be cleared by their owner. Main thread
// only.
class EditorTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    // Columns a tab advances to, in spaces of the view's font.
    static constexpr int tabColumns = 4;

    explicit EditorTextView(QWidget* parent = nullptr,
                            std::shared_ptr<CarvexPlatform::MainScheduler> scheduler =
                                CarvexPlatform::MainScheduler::shared());
    ~EditorTextView() override;

    // Delegates.
    void setKeyDelegate(EditorTextViewKeyDelegate* delegate);
    EditorTextViewKeyDelegate* keyDelegate() const;
    void setClickDelegate(EditorTextViewClickDelegate* delegate);
    EditorTextViewClickDelegate* clickDelegate() const;
    void setTooltipDelegate(EditorTextViewTooltipDelegate* delegate);
    EditorTextViewTooltipDelegate* tooltipDelegate() const;
    void setTextDelegate(EditorTextViewDelegate* delegate);
    EditorTextViewDelegate* textDelegate() const;

    // Indent guides and current-line band. Setting a flag or the width redraws only when the value
    // changes; setting a colour always redraws.
    int indentGuideWidth() const { return indentGuideWidth_; }
    void setIndentGuideWidth(int width);
    bool showIndentGuides() const { return showIndentGuides_; }
    void setShowIndentGuides(bool show);
    const CarvexPlatform::DynamicColor& indentGuideColor() const { return indentGuideColor_; }
    void setIndentGuideColor(const CarvexPlatform::DynamicColor& color);
    const CarvexPlatform::DynamicColor& activeIndentGuideColor() const {
        return activeIndentGuideColor_;
    }
    void setActiveIndentGuideColor(const CarvexPlatform::DynamicColor& color);
    bool highlightCurrentLine() const { return highlightCurrentLine_; }
    void setHighlightCurrentLine(bool highlight);
    const CarvexPlatform::DynamicColor& currentLineHighlightColor() const {
        return currentLineHighlightColor_;
    }
    void setCurrentLineHighlightColor(const CarvexPlatform::DynamicColor& color);
    int lastHighlightedLine() const { return lastHighlightedLine_; }
    int lastCursorIndentLevel() const { return lastCursorIndentLevel_; }
    const std::optional<QString>& currentTooltipText() const { return currentTooltipText_; }

    // Runs after the application's appearance changed (before the view redraws).
    std::function<void()> onAppearanceChange;

    // Text.
    void loadText(const QString& text);
    // The text with the loaded line-ending style.
    QString text() const;
    // The view's text: line feeds only; editor positions are offsets into it.
    const QString& viewText() const { return viewText_; }
    qsizetype textLength() const { return viewText_.size(); }
    // A copy of the view's text that shares nothing with it, for work on other threads: sharing
    // would make the next keystroke copy the whole text.
    QString detachedViewText() const {
        if (loadedText_ && loadedTextIsViewText_) {
            return *loadedText_;  // the same characters, in a buffer the view does not write to
        }
        return QString(viewText_.constData(), viewText_.size());
    }
    LineEndingStyle lineEndingStyle() const { return lineEndingStyle_; }
    // Whether the text may hold a line break other than a line feed (CR, NEL, LS, PS): set when one
    // comes in, cleared by a load without one.
    bool mayHoldOtherLineBreaks() const { return hasOtherLineBreaks_; }
    // Grows with every change of the text (loads included).
    quint64 textRevision() const { return textRevision_; }
    bool isLoading() const { return loading_ != nullptr; }
    // Appends what is left of a sliced load now.
    void finishLoading();

    // The one edit path: asks the text delegate (when `ask`), then replaces `range` by
    // `replacement`, puts the caret after it and announces the change. False when refused or
    // when the range lies outside the text.
    bool replaceCharacters(TextRange range, const QString& replacement, bool ask = true);
    // Types `text` over the selection, as typing does.
    bool insertTextAtSelection(const QString& text);
    // The changes made until the matching `endUndoGrouping` are one step of undo and are
    // announced as one change when the outermost group ends; the caret goes after the last
    // change then. Groups nest.
    void beginUndoGrouping();
    void endUndoGrouping();
    bool isGroupingUndo() const { return undoGroupDepth_ > 0; }

    TextRange selectedRange() const;
    void setSelectedRange(TextRange range);
    // Puts the caret at `position` (a place jumped to: a line, a finding, a reference's target)
    // and shows it: a place off screen comes to the middle of the view, with what follows it
    // below; one on screen leaves the view where it is.
    void moveCaretAndReveal(qsizetype position);

    // The number of lines (line feeds + 1).
    int lineCount() const;
    // The number of line feeds before `characterIndex` (0 for an index outside the text).
    int lineNumber(qsizetype characterIndex) const;
    // The indentation level of the caret's line: leading columns (tab = `indentGuideWidth`,
    // space = 1) divided by `indentGuideWidth`.
    int caretIndentLevel() const;
    // The indentation levels that get a guide: every level from 1 to the level of each non-blank
    // line on screen (tab = `indentGuideWidth` columns, space = 1), ascending.
    std::vector<int> visibleIndentLevels() const;
    // The character under a viewport point, or nothing when the point is beyond the text.
    std::optional<qsizetype> characterIndexAt(QPoint viewportPoint) const;
    // The characters of the blocks on screen.
    TextRange visibleCharacterRange() const;

    // Layout access for the colour layer and the ruler.
    QTextBlock firstVisibleTextBlock() const { return firstVisibleBlock(); }
    // A block's rectangle in viewport coordinates (walks from the first visible block: use
    // `visibleBlocks` for many blocks).
    QRectF blockGeometry(const QTextBlock& block) const;
    struct VisibleBlock {
        QTextBlock block;
        QRectF geometry;  // viewport coordinates
        // Being laid out a slice at a time: it has no lines to show yet (`geometry` is a stand-in
        // line), and what lines it has must not be drawn.
        bool layingOut = false;
    };
    // The visible blocks on screen, from the top, with their rectangles, in one walk.
    std::vector<VisibleBlock> visibleBlocks() const;
    void setLeftViewportMargin(int width);
    int leftViewportMargin() const { return leftMargin_; }

    SyntaxColorLayer& colorLayer() { return *colorLayer_; }
    // Display layers drawn over the text, in the order added (the owner removes its layer before
    // it goes away).
    void addOverlay(EditorTextOverlay* overlay);
    void removeOverlay(EditorTextOverlay* overlay);
    LineNumberRulerView* lineNumberRuler() const { return ruler_; }
    void setLineNumberRuler(LineNumberRulerView* ruler) { ruler_ = ruler; }
    const std::shared_ptr<CarvexPlatform::MainScheduler>& scheduler() const { return scheduler_; }

    // The edit menu's commands, as the base's; Select All, undo and redo on the whole text of a
    // view still loading (which finishes first). Cut is asked of the text delegate like every change.
    Q_SLOT void cut();
    Q_SLOT void paste();
    Q_SLOT void selectAll();
    Q_SLOT void undo();
    Q_SLOT void redo();

    // Re-evaluates the caret's line and indentation level, redrawing only when either changed.
    virtual void updateCurrentLineState();
    // How often the view asked to be redrawn (for tests of redisplay economy).
    int redisplayRequestCount() const { return redisplayRequests_; }

signals:
    // After every change of the text except loads.
    void textDidChange(Carvex::TextChange change);
    void selectionDidChange();
    // A sliced load has appended its last slice.
    void loadFinished();
    // `loadText` gave the view a new text (announced by no `textDidChange`).
    void textDidLoad();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

    virtual void updateTooltip(QPoint viewportPoint);
    virtual void drawCurrentLineHighlight(QPainter& painter, const QRect& rect);
    virtual void drawIndentGuides(QPainter& painter, const QRect& rect);
    // Shows or hides the hover tooltip; the validation tooltip window takes these over.
    virtual void showTooltip(const QString& text, QPoint viewportPoint);
    virtual void hideTooltip();

private:
    struct Load;
    struct Weak;

    void documentContentsChange(int position, int removed, int added);
    void documentContentsChanged();
    // Appends the next slice; `mayWait` lets a slice of a long line wait for the window's first
    // showing on screen.
    void appendNextSlice(bool mayWait = false);
    // Whether the text is laid out for a viewport `width` wide.
    bool isLaidOutForWidth(int width) const;
    void completeLoad();
    void restoreVerticalScrollBarPolicy();
    void redoEditsWithUndo(const Load& load);
    void applyViewportMargins();
    void appearanceChanged();
    void updateTabStops();
    bool handleEditingKey(QKeyEvent* event);
    void updatePointer(QPoint viewportPoint, Qt::KeyboardModifiers modifiers, bool resetToIBeam);
    void clearTooltip();
    void deleteSelection();
    void cutSelection();
    void requestRedisplay();
    void selectionMaybeChanged();
    // Lets the caret's block, when long, keep its shaped text between layouts and paints.
    void keepCaretBlockLayout();
    // Lets the other blocks on screen keep their shaped text between paints, and makes those that
    // left the screen drop it.
    void keepVisibleBlockLayouts();
    // Whether the text control's timer event `timerId` is a blink of a caret that stays shown: a
    // block too long to keep its shaped text would be analysed whole again for each blink.
    bool holdsCaretStill(int timerId) const;
    QStringView lineText(const QTextBlock& block) const;

    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    std::unique_ptr<SyntaxColorLayer> colorLayer_;
    std::vector<EditorTextOverlay*> overlays_;
    LineNumberRulerView* ruler_ = nullptr;

    WeakDelegate<EditorTextViewKeyDelegate> keyDelegate_;
    WeakDelegate<EditorTextViewClickDelegate> clickDelegate_;
    WeakDelegate<EditorTextViewTooltipDelegate> tooltipDelegate_;
    WeakDelegate<EditorTextViewDelegate> textDelegate_;

    int indentGuideWidth_ = 2;
    bool showIndentGuides_ = true;
    CarvexPlatform::DynamicColor indentGuideColor_;
    CarvexPlatform::DynamicColor activeIndentGuideColor_;
    bool highlightCurrentLine_ = true;
    CarvexPlatform::DynamicColor currentLineHighlightColor_;
    int lastHighlightedLine_ = -1;
    int lastCursorIndentLevel_ = -1;
    std::optional<QString> currentTooltipText_;

    QString viewText_;
    std::optional<QString> loadedText_;  // the loaded text as given, until the first edit
    bool loadedTextIsViewText_ = false;  // it holds the view's text exactly (nothing normalised)
    LineEndingStyle lineEndingStyle_ = LineEndingStyle::lf;
    bool hasStrayBlockSeparators_ = false;
    bool hasOtherLineBreaks_ = false;
    quint64 textRevision_ = 0;
    std::unique_ptr<Load> loading_;
    // The vertical scroll bar's policy, while a load keeps the bar shown.
    std::optional<Qt::ScrollBarPolicy> verticalPolicyAfterLoad_;
    bool applyingLoad_ = false;
    std::optional<TextChange> pendingChange_;
    struct OwnEdit {
        TextRange range;
        qsizetype addedLength = 0;
    };
    std::optional<OwnEdit> ownEdit_;  // the change `replaceCharacters` is making
    int undoGroupDepth_ = 0;
    QTextCursor undoGroupCursor_;
    QTextCursor groupCaret_;  // where the caret goes when the group ends
    std::shared_ptr<Weak> weak_;
    int redisplayRequests_ = 0;
    struct GuideImageKey {
        std::vector<std::pair<int, bool>> columns;
        QRgb ordinary = 0;
        QRgb active = 0;
        int height = 0;
        bool operator==(const GuideImageKey&) const = default;
    };
    GuideImageKey guideImageKey_;
    QImage guideImage_;
    int leftMargin_ = 0;
    bool widthNudged_ = false;
    mutable quint64 lineCountRevision_ = 0;
    mutable int lineCount_ = 1;
    QTextBlock keptBlock_;
    std::vector<QTextBlock> keptVisibleBlocks_;  // on screen at the last paint, shaped text kept
    bool keptVisibleBlocksMayBeGone_ = false;     // text was removed since: some may be deleted
    QObject* textControl_ = nullptr;  // the base's text control, which blinks the caret
    QElapsedTimer lastDoubleClick_;
    int lastAnchor_ = -1;
    int lastPosition_ = -1;
};

}  // namespace Carvex
