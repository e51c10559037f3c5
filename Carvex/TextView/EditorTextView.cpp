#include "Carvex/TextView/EditorTextView.h"

#include "Carvex/TextView/EditorDocumentLayout.h"
#include "Carvex/TextView/EditorTextOverlay.h"
#include "Carvex/TextView/EditorTextViewClickDelegate.h"
#include "Carvex/TextView/EditorTextViewDelegate.h"
#include "Carvex/TextView/EditorTextViewKeyDelegate.h"
#include "Carvex/TextView/EditorTextViewTooltipDelegate.h"
#include "Carvex/TextView/LineNumberRulerView.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/TextView/ValidationTooltipWindow.h"
#include "platform/Appearance.h"
#include "platform/BackgroundTask.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace Carvex {

namespace {

// Texts up to this length load in one go; longer ones load the first slice at once and the rest
// in slices of `sliceUnits` on later turns, each a few milliseconds of main-thread time.
constexpr qsizetype firstSliceUnits = 64 * 1024;
constexpr qsizetype sliceUnits = 64 * 1024;
// A later slice also ends after this many lines: each line costs a block and its layout, so a
// text of short lines (converted JSON) would otherwise make a slice several times slower.
constexpr qsizetype sliceLines = 1'500;
// A slice longer than this holds a line that may take a noticeable while to lay out (emoji
// sequences and combining marks cost many times more per unit than letters); it waits for the
// window to come on screen and for the text's colours, at most this long.
constexpr qsizetype longSliceUnits = 128 * 1024;
constexpr qint64 longestWaitMilliseconds = 1000;

bool isModifierKey(int key) {
    return key == Qt::Key_Control || key == Qt::Key_Meta || key == Qt::Key_Shift ||
           key == Qt::Key_Alt || key == Qt::Key_AltGr;
}

bool isBlockSeparator(QChar c) {
    return c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
}

// A line break other than a line feed: CR, NEL, LS, PS.
bool isOtherLineBreak(QChar c) {
    const char16_t unit = c.unicode();
    return unit == u'\r' || unit == 0x0085 || unit == 0x2028 || unit == 0x2029;
}

// Whether `text` holds a stray block separator, and whether it holds another line break, in one pass.
std::pair<bool, bool> findSeparators(QStringView text) {
    bool stray = false;
    bool other = false;
    for (const QChar c : text) {
        stray |= isBlockSeparator(c);
        other |= isOtherLineBreak(c);
    }
    return {stray, other};
}

// The end of a slice starting at `from` of at most `lines` lines: just after the line feed that
// ends the last of them, or `end` when fewer line feeds come before it.
qsizetype capLines(const QString& text, qsizetype from, qsizetype end, qsizetype lines) {
    const QChar* units = text.constData();
    for (qsizetype at = from; at < end; ++at) {
        if (units[at] == u'\n' && --lines == 0) {
            return at + 1;
        }
    }
    return end;
}

// The end of a slice starting at `from` of about `units`: just after the last line feed in reach.
// A line longer than that goes whole into one slice: Qt lays a block out again whenever text is
// appended to it, so a long line loaded in pieces would be laid out once per piece, which is
// quadratic in its length (minutes for a one-line text of a few megabytes).
qsizetype sliceEnd(const QString& text, qsizetype from, qsizetype units) {
    const qsizetype n = text.size();
    const qsizetype end = std::min(n, from + units);
    if (end >= n) {
        return n;
    }
    const qsizetype lineFeed = text.lastIndexOf(u'\n', end - 1);
    if (lineFeed >= from) {
        return lineFeed + 1;
    }
    const qsizetype lineEnd = text.indexOf(u'\n', end);
    return lineEnd < 0 ? n : lineEnd + 1;
}

// The caret's block keeps its shaped text between layouts when it is longer than this (and no
// longer than the second): the toolkit otherwise drops it after each layout and each paint, and
// analyses and shapes the whole block again to place the caret (on every blink of it) and to draw
// any line of it. A kept block holds about 30 bytes per unit. In a longer block the caret stays
// shown instead of blinking (`holdsCaretStill`).
constexpr int longestUncachedBlock = 20'000;
constexpr int longestCachedBlock = 8 * 1024 * 1024;

// Lines up to this length wrap at word boundaries. Qt looks for the end of a word before it
// breaks inside it, so a longer line with few break opportunities (minified JSON, a long base64
// value) would be laid out in time quadratic in its length: such a text wraps anywhere instead.
constexpr qsizetype longestWordWrappedLine = 32 * 1024;

// What a load needs to know of its text, in one pass: whether it holds a stray block separator
// or another line break, and the length of its longest line.
struct TextFacts {
    bool strayBlockSeparators = false;
    bool otherLineBreaks = false;
    qsizetype longestLine = 0;
};

TextFacts scanLoadedText(QStringView text) {
    TextFacts facts;
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    qsizetype lineStart = 0;
    for (qsizetype at = 0; at < n; ++at) {
        const char16_t unit = units[at];
        if (unit > u'\r' && unit < 0x0085) {
            continue;  // most of any text: nothing to note
        }
        if (unit == u'\n') {
            facts.longestLine = std::max(facts.longestLine, at - lineStart);
            lineStart = at + 1;
            continue;
        }
        facts.strayBlockSeparators |= isBlockSeparator(QChar(unit));
        facts.otherLineBreaks |= isOtherLineBreak(QChar(unit));
    }
    facts.longestLine = std::max(facts.longestLine, n - lineStart);
    return facts;
}

QString blockSeparatorsToLineFeeds(QString text) {
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator) {
            c = u'\n';
        }
    }
    return text;
}

}  // namespace

struct EditorTextView::Load {
    qsizetype appended = 0;
    // Edits made while the text loads, one group per announced change, in view-text units. The
    // document keeps no undo history while slices come in; when the last one is in, the edits are
    // taken back and made again with undo on, so that undo takes back exactly them.
    struct Edit {
        qsizetype position = 0;
        QString removed;
        QString inserted;
    };
    std::vector<std::vector<Edit>> edits;
    bool editGroupOpen = false;
    // A slice of a long line waits a little for the window and for the text's colours.
    QElapsedTimer waited;
};

struct EditorTextView::Weak {};

EditorTextView::EditorTextView(QWidget* parent,
                               std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : QPlainTextEdit(parent),
      scheduler_(std::move(scheduler)),
      indentGuideColor_(
          CarvexPlatform::DynamicColor(CarvexPlatform::SystemColor::separator).withAlphaComponent(0.15)),
      activeIndentGuideColor_(
          CarvexPlatform::DynamicColor(CarvexPlatform::SystemColor::separator).withAlphaComponent(0.5)),
      currentLineHighlightColor_(
          CarvexPlatform::DynamicColor(CarvexPlatform::SystemColor::label).withAlphaComponent(0.06)),
      weak_(std::make_shared<Weak>()) {
    // The base's own document, as the base makes it, with the editor's layout.
    auto* textDocument = new QTextDocument(this);
    auto* documentLayout = new EditorDocumentLayout(textDocument);
    // A block of megabytes is laid out a slice of lines per turn, so that the window answers meanwhile.
    documentLayout->setLaysOutLongBlocksInSlices(true);
    textDocument->setDocumentLayout(documentLayout);
    textDocument->setDefaultFont(font());
    textDocument->documentLayout()->setPaintDevice(viewport());
    setDocument(textDocument);
    documentLayout->setSliceWidth(viewport()->width());
    connect(documentLayout, &EditorDocumentLayout::blockLaidOut, this, [this] {
        if (ruler_ != nullptr) {
            ruler_->update();
        }
    });
    for (QObject* child : children()) {
        if (child->inherits("QWidgetTextControl")) {
            textControl_ = child;
            child->installEventFilter(this);
        }
    }
    colorLayer_ = std::make_unique<SyntaxColorLayer>(*this);
    // A long line waits for colours on their way before it is laid out, so that it is laid out once.
    documentLayout->setHoldsLayoutWhile([this] { return colorLayer_ && colorLayer_->coloursPending(); });
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    connect(document(), &QTextDocument::contentsChange, this,
            &EditorTextView::documentContentsChange);
    connect(document(), &QTextDocument::contentsChanged, this,
            &EditorTextView::documentContentsChanged);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this,
            &EditorTextView::selectionMaybeChanged);
    connect(this, &QPlainTextEdit::selectionChanged, this, &EditorTextView::selectionMaybeChanged);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &EditorTextView::restoreVerticalScrollBarPolicy);
    connect(&CarvexPlatform::Appearance::shared(), &CarvexPlatform::Appearance::changed, this,
            &EditorTextView::appearanceChanged);
    updateTabStops();
}

void EditorTextView::updateTabStops() {
    // A tab stands for four columns, as the indent guides of a tab-indented text count it;
    // the toolkit's own 80 pixels would put tab-indented lines off their guides.
    setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(QString(tabColumns, QLatin1Char(' '))));
}

EditorTextView::~EditorTextView() {
    if (auto* delegate = textDelegate()) {
        delegate->editorTextViewWillGo(*this);
    }
    clearTooltip();
    weak_.reset();
}

// MARK: Delegates

void EditorTextView::setKeyDelegate(EditorTextViewKeyDelegate* delegate) { keyDelegate_.set(delegate); }

EditorTextViewKeyDelegate* EditorTextView::keyDelegate() const { return keyDelegate_.get(); }

void EditorTextView::setClickDelegate(EditorTextViewClickDelegate* delegate) {
    clickDelegate_.set(delegate);
}

EditorTextViewClickDelegate* EditorTextView::clickDelegate() const { return clickDelegate_.get(); }

void EditorTextView::setTooltipDelegate(EditorTextViewTooltipDelegate* delegate) {
    tooltipDelegate_.set(delegate);
}

EditorTextViewTooltipDelegate* EditorTextView::tooltipDelegate() const {
    return tooltipDelegate_.get();
}

void EditorTextView::setTextDelegate(EditorTextViewDelegate* delegate) {
    textDelegate_.set(delegate);
}

EditorTextViewDelegate* EditorTextView::textDelegate() const { return textDelegate_.get(); }

// MARK: Drawing settings

void EditorTextView::requestRedisplay() {
    ++redisplayRequests_;
    viewport()->update();
}

void EditorTextView::setIndentGuideWidth(int width) {
    if (width != indentGuideWidth_) {
        indentGuideWidth_ = width;
        requestRedisplay();
    }
}

void EditorTextView::setShowIndentGuides(bool show) {
    if (show != showIndentGuides_) {
        showIndentGuides_ = show;
        requestRedisplay();
    }
}

void EditorTextView::setIndentGuideColor(const CarvexPlatform::DynamicColor& color) {
    indentGuideColor_ = color;
    requestRedisplay();
}

void EditorTextView::setActiveIndentGuideColor(const CarvexPlatform::DynamicColor& color) {
    activeIndentGuideColor_ = color;
    requestRedisplay();
}

void EditorTextView::setHighlightCurrentLine(bool highlight) {
    if (highlight != highlightCurrentLine_) {
        highlightCurrentLine_ = highlight;
        requestRedisplay();
    }
}

void EditorTextView::setCurrentLineHighlightColor(const CarvexPlatform::DynamicColor& color) {
    currentLineHighlightColor_ = color;
    requestRedisplay();
}

// MARK: Text

void EditorTextView::loadText(const QString& text) {
    if (loading_) {
        // A sliced load still under way is abandoned (with what was typed into it).
        document()->setUndoRedoEnabled(true);
        loading_.reset();
        widthNudged_ = false;
        applyViewportMargins();
    }
    pendingChange_.reset();
    keptVisibleBlocksMayBeGone_ = true;
    lineEndingStyle_ = detectLineEndingStyle(text);
    viewText_ = normalizeLineEndings(text);
    // Nothing to normalise: the view's text is the loaded one (until it is given room to grow).
    const bool sameAsLoaded = viewText_.constData() == text.constData();
    // Room to grow, so that the first keystroke does not copy the whole text: taken now for short
    // texts; for long ones the copy is made on another thread and takes the text's place unless
    // an edit came first (which makes room itself).
    const qsizetype room = viewText_.size() + viewText_.size() / 8 + 4096;
    if (viewText_.size() <= firstSliceUnits + sliceUnits) {
        viewText_.reserve(room);
    } else {
        std::weak_ptr<Weak> alive = weak_;
        const quint64 revision = textRevision_ + 1;
        CarvexPlatform::BackgroundTask::run(
            [text = viewText_, room] {
                QString roomy;
                roomy.reserve(room);
                roomy.append(text);
                return roomy;
            },
            [this, alive, revision](QString roomy) {
                if (alive.lock() && textRevision_ == revision && roomy.size() == viewText_.size()) {
                    viewText_ = std::move(roomy);
                }
            },
            scheduler_);
    }
    loadedText_ = text;
    loadedTextIsViewText_ = sameAsLoaded;
    const TextFacts facts = scanLoadedText(viewText_);
    hasStrayBlockSeparators_ = facts.strayBlockSeparators;
    hasOtherLineBreaks_ = facts.otherLineBreaks;
    ++textRevision_;
    colorLayer_->reset();
    lastAnchor_ = -1;
    lastPosition_ = -1;

    applyingLoad_ = true;
    const QTextOption::WrapMode wrapMode = facts.longestLine > longestWordWrappedLine
                                               ? QTextOption::WrapAnywhere
                                               : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != wrapMode) {
        // Emptied first, so that the old text is not laid out again in the new mode.
        setPlainText(QString());
        setWordWrapMode(wrapMode);
    }
    if (viewText_.size() <= firstSliceUnits + sliceUnits) {
        setPlainText(viewText_);
        // After the text: a bar that goes lays out the new text's lines again, not the old one's.
        if (verticalPolicyAfterLoad_) {
            setVerticalScrollBarPolicy(*std::exchange(verticalPolicyAfterLoad_, std::nullopt));
        }
    } else {
        // A text that begins with a line of megabytes starts empty, and that line waits for the window.
        qsizetype first = sliceEnd(viewText_, 0, firstSliceUnits);
        if (first > longSliceUnits) {
            first = 0;
        }
        // Such a text fills more than a screen: its scroll bar shows from the start, as it would
        // appear only after a slice was laid out, narrow the lines and lay them out again (seconds
        // for a line of megabytes).
        if (!verticalPolicyAfterLoad_) {
            verticalPolicyAfterLoad_ = verticalScrollBarPolicy();
            setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        }
        setPlainText(viewText_.left(first));
        loading_ = std::make_unique<Load>();
        loading_->appended = first;
        document()->setUndoRedoEnabled(false);
        // Qt's plain-text layout remembers its widest line; when that line shrinks it walks every
        // block. Laying the first slice out once at the full width (a point narrower, then back)
        // makes the width itself the widest line, so typing never starts such a walk; the slices
        // that follow are laid out at that width, and no turn lays out the whole text again.
        widthNudged_ = true;
        applyViewportMargins();
        widthNudged_ = false;
        applyViewportMargins();
        std::weak_ptr<Weak> alive = weak_;
        loading_->waited.start();
        scheduler_->post([this, alive] {
            if (alive.lock()) {
                appendNextSlice(true);
            }
        });
    }
    applyingLoad_ = false;
    document()->setModified(false);
    updateCurrentLineState();
    emit textDidLoad();
}

void EditorTextView::appendNextSlice(bool mayWait) {
    if (!loading_) {
        return;
    }
    const qsizetype from = loading_->appended;
    const qsizetype end = capLines(viewText_, from, sliceEnd(viewText_, from, sliceUnits), sliceLines);
    // A slice holding a line of megabytes is laid out for seconds as it comes in: a window shown
    // but not yet on screen shows what is loaded first (its frame, toolbar, ruler and first lines),
    // and colours on their way come first, so that the line is laid out once, with them.
    const QWindow* handle = window()->windowHandle();
    const bool offScreen = isVisible() && handle != nullptr && !handle->isExposed();
    if (mayWait && end - from > longSliceUnits && (offScreen || colorLayer_->awaitsColours()) &&
        loading_->waited.elapsed() < longestWaitMilliseconds) {
        std::weak_ptr<Weak> alive = weak_;
        scheduler_->post([this, alive] {
            if (alive.lock()) {
                appendNextSlice(true);
            }
        });
        return;
    }
    applyingLoad_ = true;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const int firstNewBlock = cursor.blockNumber();
    // A caret at the end of what is loaded (the start of a text whose first line is still to come,
    // or just after keys typed there) would be carried along to the end of the slice.
    const int anchor = textCursor().anchor();
    const int position = textCursor().position();
    const bool caretAtEnd = anchor == cursor.position() || position == cursor.position();
    // One edit, laid out when it ends: the long lines put in have their formats by then.
    cursor.beginEditBlock();
    cursor.insertText(viewText_.mid(from, end - from));
    colorLayer_->formatNewLongBlocks(document()->findBlockByNumber(firstNewBlock));
    cursor.endEditBlock();
    if (caretAtEnd) {
        // The slice goes in behind the caret, which stays where the user sees it, and so does the view.
        const int vertical = verticalScrollBar()->value();
        const int horizontal = horizontalScrollBar()->value();
        QTextCursor kept(document());
        kept.setPosition(anchor);
        kept.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(kept);
        verticalScrollBar()->setValue(vertical);
        horizontalScrollBar()->setValue(horizontal);
    }
    applyingLoad_ = false;
    // Give every new block its layout object now, a slice at a time, so that the layout of the
    // whole text when the load completes does not create them all in one turn.
    for (QTextBlock block = document()->findBlockByNumber(firstNewBlock); block.isValid();
         block = block.next()) {
        (void)block.layout();
    }
    loading_->appended = end;
    std::weak_ptr<Weak> alive = weak_;
    scheduler_->post([this, alive] {
        if (!alive.lock() || !loading_) {
            return;
        }
        if (loading_->appended < viewText_.size()) {
            appendNextSlice(true);
        } else {
            completeLoad();
        }
    });
}

void EditorTextView::completeLoad() {
    if (!loading_) {
        return;
    }
    const std::unique_ptr<Load> load = std::move(loading_);
    if (load->edits.empty()) {
        document()->setUndoRedoEnabled(true);
        document()->setModified(false);
    } else {
        redoEditsWithUndo(*load);
    }
    restoreVerticalScrollBarPolicy();
    emit loadFinished();
}

void EditorTextView::restoreVerticalScrollBarPolicy() {
    // The scroll bar kept shown through the load stays until the text needs it anyway: a line not
    // yet laid out counts as one, and hiding the bar until it is would lay it out twice more.
    if (!loading_ && verticalPolicyAfterLoad_ &&
        (*verticalPolicyAfterLoad_ != Qt::ScrollBarAsNeeded || verticalScrollBar()->maximum() > 0)) {
        setVerticalScrollBarPolicy(*std::exchange(verticalPolicyAfterLoad_, std::nullopt));
    }
}

void EditorTextView::redoEditsWithUndo(const Load& load) {
    const std::vector<std::vector<Load::Edit>>& edits = load.edits;
    // The text stays as it is: nothing is announced, and the caret and the scroll position come
    // back. Every edit lies before the slices appended after it, so its place holds throughout.
    const QSignalBlocker quiet(this);
    const QTextCursor caret = textCursor();
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    applyingLoad_ = true;
    QTextCursor cursor(document());
    const auto replace = [&cursor](qsizetype position, qsizetype length, const QString& text) {
        cursor.setPosition(static_cast<int>(position));
        cursor.setPosition(static_cast<int>(position + length), QTextCursor::KeepAnchor);
        if (text.isEmpty()) {
            cursor.removeSelectedText();
        } else {
            cursor.insertText(text);
        }
    };
    for (auto group = edits.rbegin(); group != edits.rend(); ++group) {
        for (auto edit = group->rbegin(); edit != group->rend(); ++edit) {
            replace(edit->position, edit->inserted.size(), edit->removed);
        }
    }
    document()->setUndoRedoEnabled(true);
    for (const std::vector<Load::Edit>& group : edits) {
        if (group.size() > 1) {
            cursor.beginEditBlock();
        }
        for (const Load::Edit& edit : group) {
            replace(edit.position, edit.removed.size(), edit.inserted);
        }
        if (group.size() > 1) {
            cursor.endEditBlock();
        }
    }
    applyingLoad_ = false;
    QTextCursor restored(document());
    restored.setPosition(caret.anchor());
    restored.setPosition(caret.position(), QTextCursor::KeepAnchor);
    setTextCursor(restored);
    verticalScrollBar()->setValue(vertical);
    horizontalScrollBar()->setValue(horizontal);
}

void EditorTextView::finishLoading() {
    while (loading_ && loading_->appended < viewText_.size()) {
        appendNextSlice();
    }
    completeLoad();
}

QString EditorTextView::text() const {
    if (loadedText_) {
        return *loadedText_;
    }
    return applyLineEndingStyle(viewText_, lineEndingStyle_);
}

void EditorTextView::documentContentsChange(int position, int removed, int added) {
    if (removed > 0) {
        keptVisibleBlocksMayBeGone_ = true;
    }
    if (applyingLoad_ || position < 0) {
        return;
    }
    const qsizetype documentLength = std::max(0, document()->characterCount() - 1);
    const qsizetype start = std::min<qsizetype>(position, viewText_.size());
    const qsizetype oldLength = std::clamp<qsizetype>(removed, 0, viewText_.size() - start);
    const qsizetype newLength = std::clamp<qsizetype>(added, 0, documentLength - start);

    QString inserted;
    if (newLength > 0) {
        QTextCursor cursor(document());
        cursor.setPosition(static_cast<int>(start));
        cursor.setPosition(static_cast<int>(start + newLength), QTextCursor::KeepAnchor);
        inserted = blockSeparatorsToLineFeeds(cursor.selectedText());
    }
    // Qt may report more than what changed; keep only the part that differs. A change made
    // through `replaceCharacters` is taken as it was made when Qt's report covers it, so that
    // the replaced range (and the colours of the new text) is the one asked for.
    const QStringView before = QStringView(viewText_).mid(start, oldLength);
    const QStringView after(inserted);
    qsizetype prefix = 0;
    qsizetype suffix = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    bool exact = false;
    if (ownEdit_) {
        const qsizetype ownPrefix = ownEdit_->range.location - start;
        const qsizetype ownSuffix = oldLength - ownPrefix - ownEdit_->range.length;
        exact = ownPrefix >= 0 && ownSuffix >= 0 &&
                newLength - ownPrefix - ownSuffix == ownEdit_->addedLength &&
                before.first(ownPrefix) == after.first(ownPrefix) &&
                before.last(ownSuffix) == after.last(ownSuffix);
        if (exact) {
            prefix = ownPrefix;
            suffix = ownSuffix;
        }
        ownEdit_.reset();
    }
    while (!exact && prefix < shorter && before[prefix] == after[prefix]) {
        ++prefix;
    }
    while (!exact && suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const qsizetype changeStart = start + prefix;
    const qsizetype removedUnits = before.size() - prefix - suffix;
    const qsizetype addedUnits = after.size() - prefix - suffix;
    if (removedUnits == 0 && addedUnits == 0) {
        return;
    }
    if (auto* delegate = textDelegate()) {
        delegate->editorTextViewWillChangeText(*this);
    }
    const qsizetype removedLineFeeds = before.mid(prefix, removedUnits).count(u'\n');
    if (loading_) {
        // Kept for undo (read before the text may move below). The document holds the text up to
        // `appended`; the rest is appended after it.
        if (!loading_->editGroupOpen) {
            loading_->edits.emplace_back();
            loading_->editGroupOpen = true;
        }
        loading_->edits.back().push_back(Load::Edit{changeStart, before.mid(prefix, removedUnits).toString(),
                                                    after.mid(prefix, addedUnits).toString()});
        loading_->appended += addedUnits - removedUnits;
    }
    // Room to grow, so that typing does not reallocate the whole text every few keys.
    const qsizetype needed = viewText_.size() + addedUnits - removedUnits;
    if (needed > viewText_.capacity()) {
        viewText_.reserve(needed + needed / 8 + 4096);
    }
    viewText_.replace(changeStart, removedUnits, after.mid(prefix, addedUnits).toString());
    const auto [stray, other] = findSeparators(after.mid(prefix, addedUnits));
    hasStrayBlockSeparators_ = hasStrayBlockSeparators_ || stray;
    hasOtherLineBreaks_ = hasOtherLineBreaks_ || other;
    loadedText_.reset();
    // The line count follows the change rather than counting a long text again on every key.
    const bool lineCountKnown = lineCountRevision_ == textRevision_;
    ++textRevision_;
    if (lineCountKnown) {
        lineCount_ += static_cast<int>(after.mid(prefix, addedUnits).count(u'\n') - removedLineFeeds);
        lineCountRevision_ = textRevision_;
    }
    colorLayer_->textDidChange(changeStart, removedUnits, addedUnits);

    // Merge with a change not yet announced (several changes inside one edit block).
    const qsizetype delta = addedUnits - removedUnits;
    if (!pendingChange_) {
        pendingChange_ = TextChange{TextRange{changeStart, addedUnits}, delta};
        return;
    }
    TextChange& pending = *pendingChange_;
    const qsizetype pendingStart = pending.editedRange.location;
    qsizetype pendingEnd = pending.editedRange.end();
    if (pendingEnd > changeStart) {
        pendingEnd = pendingEnd >= changeStart + removedUnits ? pendingEnd + delta
                                                              : changeStart + addedUnits;
    }
    const qsizetype unionStart = std::min(pendingStart, changeStart);
    const qsizetype unionEnd = std::max(pendingEnd, changeStart + addedUnits);
    pending.editedRange = TextRange{unionStart, unionEnd - unionStart};
    pending.changeInLength += delta;
}

void EditorTextView::documentContentsChanged() {
    if (loading_) {
        loading_->editGroupOpen = false;
    }
    if (!pendingChange_) {
        return;
    }
    const TextChange change = *pendingChange_;
    pendingChange_.reset();
    if (auto* delegate = textDelegate()) {
        delegate->editorTextViewDidChangeText(*this, change);
    }
    emit textDidChange(change);
    if (ruler_ != nullptr) {
        ruler_->update();
    }
}

bool EditorTextView::replaceCharacters(TextRange range, const QString& replacement, bool ask) {
    if (loading_ && range.end() > loading_->appended) {
        finishLoading();  // a place not loaded yet
    }
    if (range.location < 0 || range.length < 0 || range.end() > textLength()) {
        return false;
    }
    const QString text = normalizeLineEndings(replacement);
    if (ask) {
        if (auto* delegate = textDelegate();
            delegate && !delegate->editorTextViewShouldChangeText(*this, range, text)) {
            return false;
        }
    }
    if (range.length == 0 && text.isEmpty()) {
        return true;
    }
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(range.location));
    cursor.setPosition(static_cast<int>(range.end()), QTextCursor::KeepAnchor);
    ownEdit_ = OwnEdit{range, text.size()};
    if (text.isEmpty()) {
        cursor.removeSelectedText();
    } else {
        cursor.insertText(text);
    }
    ownEdit_.reset();
    if (undoGroupDepth_ > 0) {
        // Placed when the group ends: moving the caret (and scrolling) per change of a large group
        // would cost a redraw each.
        groupCaret_ = cursor;
    } else {
        setTextCursor(cursor);
    }
    return true;
}

bool EditorTextView::insertTextAtSelection(const QString& text) {
    const bool changed = replaceCharacters(selectedRange(), text);
    if (changed) {
        ensureCursorVisible();
    }
    return changed;
}

void EditorTextView::beginUndoGrouping() {
    if (undoGroupDepth_++ == 0) {
        finishLoading();
        // Undoing the group puts the caret back where this cursor stood when the group began:
        // where the user had it, not at the start of the text.
        undoGroupCursor_ = QTextCursor(document());
        undoGroupCursor_.setPosition(textCursor().position());
        undoGroupCursor_.beginEditBlock();
    }
}

void EditorTextView::endUndoGrouping() {
    if (undoGroupDepth_ > 0 && --undoGroupDepth_ == 0) {
        undoGroupCursor_.endEditBlock();
        undoGroupCursor_ = QTextCursor();
        if (!groupCaret_.isNull()) {
            setTextCursor(std::exchange(groupCaret_, QTextCursor()));
        }
    }
}

TextRange EditorTextView::selectedRange() const {
    const QTextCursor cursor = textCursor();
    return TextRange{cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

void EditorTextView::setSelectedRange(TextRange range) {
    if (loading_ && range.end() > loading_->appended) {
        finishLoading();  // a place not loaded yet (a finding, a $ref target, a line to go to)
    }
    const qsizetype length = textLength();
    const qsizetype start = std::clamp<qsizetype>(range.location, 0, length);
    const qsizetype end = std::clamp<qsizetype>(range.end(), start, length);
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(start));
    cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void EditorTextView::moveCaretAndReveal(qsizetype position) {
    if (loading_ && position > loading_->appended) {
        finishLoading();
    }
    QTextCursor target(document());
    target.setPosition(static_cast<int>(std::clamp<qsizetype>(position, 0, textLength())));
    const bool shown = viewport()->rect().contains(cursorRect(target));
    setSelectedRange(TextRange{position, 0});
    if (shown) {
        ensureCursorVisible();
    } else {
        centerCursor();
    }
}

// MARK: Lines and levels

QStringView EditorTextView::lineText(const QTextBlock& block) const {
    const qsizetype start = std::min<qsizetype>(block.position(), viewText_.size());
    const qsizetype length =
        std::clamp<qsizetype>(block.length() - 1, 0, viewText_.size() - start);
    return QStringView(viewText_).mid(start, length);
}

int EditorTextView::lineCount() const {
    if (!hasStrayBlockSeparators_ && !loading_) {
        return document()->blockCount();
    }
    if (lineCountRevision_ != textRevision_) {
        lineCount_ = static_cast<int>(viewText_.count(u'\n')) + 1;
        lineCountRevision_ = textRevision_;
    }
    return lineCount_;
}

int EditorTextView::lineNumber(qsizetype characterIndex) const {
    if (characterIndex < 0 || characterIndex > textLength()) {
        return 0;
    }
    if (!hasStrayBlockSeparators_ && (!loading_ || characterIndex <= loading_->appended)) {
        return document()->findBlock(static_cast<int>(characterIndex)).blockNumber();
    }
    return static_cast<int>(std::count(viewText_.cbegin(), viewText_.cbegin() + characterIndex, u'\n'));
}

namespace {

// Leading columns of a line (tab = width, space = 1), or nothing when the line is blank.
std::optional<int> leadingColumns(QStringView line, int width, bool blankCounts) {
    int columns = 0;
    for (QChar c : line) {
        if (c == u'\t') {
            columns += width;
        } else if (c == u' ') {
            columns += 1;
        } else {
            return columns;
        }
    }
    return blankCounts ? std::optional<int>(columns) : std::nullopt;
}

}  // namespace

int EditorTextView::caretIndentLevel() const {
    const int width = indentGuideWidth_;
    const qsizetype location = selectedRange().location;
    if (width < 1 || location > textLength()) {
        return 0;
    }
    const QTextBlock block = document()->findBlock(static_cast<int>(location));
    return leadingColumns(lineText(block), width, true).value_or(0) / width;
}

void EditorTextView::updateCurrentLineState() {
    bool lineChanged = false;
    if (highlightCurrentLine_) {
        const int line = lineNumber(selectedRange().location);
        if (line != lastHighlightedLine_) {
            lastHighlightedLine_ = line;
            lineChanged = true;
        }
    }
    if (!showIndentGuides_) {
        if (lineChanged) {
            requestRedisplay();
        }
        return;
    }
    const int level = caretIndentLevel();
    if (level != lastCursorIndentLevel_) {
        lastCursorIndentLevel_ = level;
        requestRedisplay();
    } else if (lineChanged) {
        requestRedisplay();
    }
}

void EditorTextView::selectionMaybeChanged() {
    const QTextCursor cursor = textCursor();
    if (cursor.anchor() == lastAnchor_ && cursor.position() == lastPosition_) {
        return;
    }
    lastAnchor_ = cursor.anchor();
    lastPosition_ = cursor.position();
    updateCurrentLineState();
    if (auto* delegate = textDelegate()) {
        delegate->editorTextViewDidChangeSelection(*this);
    }
    emit selectionDidChange();
}

// MARK: Geometry

QRectF EditorTextView::blockGeometry(const QTextBlock& block) const {
    return blockBoundingGeometry(block).translated(contentOffset());
}

std::vector<EditorTextView::VisibleBlock> EditorTextView::visibleBlocks() const {
    std::vector<VisibleBlock> result;
    const auto* layingOut = qobject_cast<const EditorDocumentLayout*>(document()->documentLayout());
    QPointF offset = contentOffset();
    const int height = viewport()->height();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (!block.isVisible()) {
            continue;
        }
        const QRectF geometry = blockBoundingRect(block).translated(offset);
        if (geometry.top() > height) {
            break;
        }
        result.push_back(VisibleBlock{block, geometry, layingOut != nullptr && layingOut->isLayingOut(block)});
        offset.ry() += geometry.height();
    }
    return result;
}

void EditorTextView::setLeftViewportMargin(int width) {
    leftMargin_ = width;
    applyViewportMargins();
}

void EditorTextView::applyViewportMargins() {
    setViewportMargins(leftMargin_, 0, widthNudged_ ? 1 : 0, 0);
}

TextRange EditorTextView::visibleCharacterRange() const {
    const auto blocks = visibleBlocks();
    if (blocks.empty()) {
        return {};
    }
    const qsizetype start = std::min<qsizetype>(blocks.front().block.position(), textLength());
    const QTextBlock& last = blocks.back().block;
    const qsizetype end = std::min<qsizetype>(last.position() + last.length() - 1, textLength());
    return TextRange{start, std::max<qsizetype>(0, end - start)};
}

std::optional<qsizetype> EditorTextView::characterIndexAt(QPoint viewportPoint) const {
    if (textLength() == 0) {
        return std::nullopt;
    }
    const QTextBlock block = cursorForPosition(viewportPoint).block();
    if (!block.isValid()) {
        return std::nullopt;
    }
    const QRectF geometry = blockGeometry(block);
    QTextLayout* layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0) {
        return block.position();
    }
    const QPointF local = QPointF(viewportPoint) - geometry.topLeft();
    int lineIndex = layout->lineCount() - 1;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (local.y() < line.y() + line.height()) {
            lineIndex = i;
            break;
        }
    }
    const QTextLine line = layout->lineAt(lineIndex);
    int index = line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
    const int lastCharacter = line.textStart() + std::max(0, line.textLength() - 1);
    index = std::clamp(index, line.textStart(), lastCharacter);
    const qsizetype result = block.position() + index;
    return std::min(result, textLength() - 1);
}

// MARK: Events

bool EditorTextView::handleEditingKey(QKeyEvent* event) {
    const QTextCursor cursor = textCursor();
    const TextRange selection = selectedRange();
    if (event == QKeySequence::Cut) {
        cutSelection();
        return true;
    }
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) {
        if (selection.length > 0) {
            replaceCharacters(selection, {});
            return true;
        }
        qsizetype start = selection.location - 1;
        if (start < 0) {
            return true;
        }
        // One code point, as deleting backwards does (a pair of surrogates together).
        if (viewText_[start].isLowSurrogate() && start > 0 && viewText_[start - 1].isHighSurrogate()) {
            --start;
        }
        replaceCharacters(TextRange{start, selection.location - start}, {});
        return true;
    }
    const auto deleteTo = [&](QTextCursor::MoveOperation move) {
        if (selection.length > 0) {
            replaceCharacters(selection, {});
            return true;
        }
        QTextCursor probe = cursor;
        probe.movePosition(move, QTextCursor::KeepAnchor);
        const qsizetype a = std::min(probe.anchor(), probe.position());
        const qsizetype b = std::max(probe.anchor(), probe.position());
        if (b > a) {
            replaceCharacters(TextRange{a, b - a}, {});
        }
        return true;
    };
    if (event == QKeySequence::Delete) {
        return deleteTo(QTextCursor::NextCharacter);
    }
    if (event == QKeySequence::DeleteStartOfWord) {
        return deleteTo(QTextCursor::PreviousWord);
    }
    if (event == QKeySequence::DeleteEndOfWord) {
        return deleteTo(QTextCursor::NextWord);
    }
    if (event == QKeySequence::DeleteEndOfLine) {
        const QTextBlock block = cursor.block();
        const bool atLineEnd = cursor.position() == block.position() + block.length() - 1;
        return deleteTo(atLineEnd ? QTextCursor::NextCharacter : QTextCursor::EndOfBlock);
    }
    if (event == QKeySequence::InsertParagraphSeparator || event == QKeySequence::InsertLineSeparator) {
        insertTextAtSelection(QStringLiteral("\n"));
        return true;
    }
    // Control chords are commands; Control with Alt is AltGr on some systems and types text.
    if ((event->modifiers() & Qt::ControlModifier) && !(event->modifiers() & Qt::AltModifier)) {
        return false;
    }
    const QString text = event->text();
    if (!text.isEmpty()) {
        const char32_t first = text.toUcs4().value(0);
        if (QChar::isPrint(first) || first == U'\t') {
            insertTextAtSelection(text);
            return true;
        }
    }
    return false;
}

void EditorTextView::keyPressEvent(QKeyEvent* event) {
    // While a long text loads, keys act on the part loaded so far and the rest keeps coming in
    // behind them. Keys that reach for the whole text (its end, all of it, undo and redo) wait
    // for the rest of it first.
    if (loading_ && (event == QKeySequence::MoveToEndOfDocument || event == QKeySequence::SelectEndOfDocument ||
                     event == QKeySequence::SelectAll || event == QKeySequence::Undo ||
                     event == QKeySequence::Redo)) {
        finishLoading();
    }
    if (auto* delegate = keyDelegate(); delegate && delegate->editorTextViewHandleKeyDown(*this, *event)) {
        event->accept();
        return;
    }
    if (isModifierKey(event->key())) {
        updatePointer(viewport()->mapFromGlobal(QCursor::pos()), event->modifiers(), true);
    }
    if (!isReadOnly() && handleEditingKey(event)) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditorTextView::keyReleaseEvent(QKeyEvent* event) {
    if (isModifierKey(event->key())) {
        updatePointer(viewport()->mapFromGlobal(QCursor::pos()),
                      QGuiApplication::queryKeyboardModifiers(), true);
    }
    QPlainTextEdit::keyReleaseEvent(event);
}

void EditorTextView::updatePointer(QPoint viewportPoint, Qt::KeyboardModifiers modifiers,
                                   bool resetToIBeam) {
    std::optional<QCursor> shape;
    if (auto* delegate = clickDelegate()) {
        shape = delegate->editorTextViewCursorAt(*this, viewportPoint, modifiers);
    }
    if (shape) {
        viewport()->setCursor(*shape);
    } else if (resetToIBeam) {
        viewport()->setCursor(Qt::IBeamCursor);
    }
}

void EditorTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
        if (auto* delegate = clickDelegate();
            delegate && delegate->editorTextViewHandleCmdClickAt(*this, event->position().toPoint())) {
            event->accept();
            return;
        }
    }
    QPlainTextEdit::mousePressEvent(event);
}

void EditorTextView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    updatePointer(point, event->modifiers(), false);
    updateTooltip(point);
    QPlainTextEdit::mouseMoveEvent(event);
}

bool EditorTextView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) {
        clearTooltip();
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        lastDoubleClick_.start();
    }
    return QPlainTextEdit::viewportEvent(event);
}

bool EditorTextView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == textControl_ && event->type() == QEvent::Timer &&
        holdsCaretStill(static_cast<QTimerEvent*>(event)->timerId())) {
        return true;
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

bool EditorTextView::holdsCaretStill(int timerId) const {
    const QTextCursor caret = textCursor();
    if (caret.block().length() <= longestCachedBlock) {
        return false;
    }
    // The text control times triple clicks too, for a double-click interval after a double click.
    if (lastDoubleClick_.isValid() && lastDoubleClick_.elapsed() < 2 * QApplication::doubleClickInterval()) {
        return false;
    }
    const int blinkInterval = QApplication::cursorFlashTime() / 2;
    const QList<QAbstractEventDispatcher::TimerInfo> timers =
        QAbstractEventDispatcher::instance()->registeredTimers(textControl_);
    if (std::none_of(timers.begin(), timers.end(), [&](const auto& timer) {
            return timer.timerId == timerId && timer.interval == blinkInterval;
        })) {
        return false;
    }
    // Held while it is shown (a blink hides it after a key or a click), or for good under a selection.
    return getPaintContext().cursorPosition >= 0 || caret.hasSelection();
}

void EditorTextView::inputMethodEvent(QInputMethodEvent* event) {
    if (isReadOnly() || event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    TextRange range = selectedRange();
    if (event->replacementStart() != 0 || event->replacementLength() > 0) {
        const qsizetype start = std::clamp<qsizetype>(
            textCursor().position() + event->replacementStart(), 0, textLength());
        const qsizetype length =
            std::clamp<qsizetype>(event->replacementLength(), 0, textLength() - start);
        range = TextRange{start, length};
    }
    replaceCharacters(range, event->commitString());
    // The composition still under way (if any) is shown by the base class.
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    QPlainTextEdit::inputMethodEvent(&rest);
    event->accept();
}

void EditorTextView::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || source == nullptr) {
        return;
    }
    const QString text = source->text();
    if (text.isEmpty()) {
        return;
    }
    insertTextAtSelection(text);
}

void EditorTextView::dragEnterEvent(QDragEnterEvent* event) {
    QPlainTextEdit::dragEnterEvent(event);
}

void EditorTextView::dropEvent(QDropEvent* event) {
    // Moving text within the view first removes it from where it was: that removal is a change
    // of its own and is asked for too (the insertion is asked in `insertFromMimeData`).
    if (event->source() == this && event->dropAction() == Qt::MoveAction && !isReadOnly()) {
        const TextRange moved = selectedRange();
        if (auto* delegate = textDelegate();
            moved.length > 0 && delegate &&
            !delegate->editorTextViewShouldChangeText(*this, moved, QString())) {
            event->ignore();
            return;
        }
    }
    QPlainTextEdit::dropEvent(event);
}

void EditorTextView::cut() {
    cutSelection();
}

void EditorTextView::paste() {
    QPlainTextEdit::paste();
}

void EditorTextView::undo() {
    finishLoading();  // the edits made while loading become undoable once the whole text is in
    QPlainTextEdit::undo();
}

void EditorTextView::redo() {
    finishLoading();
    QPlainTextEdit::redo();
}

void EditorTextView::selectAll() {
    finishLoading();
    QPlainTextEdit::selectAll();
}

void EditorTextView::cutSelection() {
    const TextRange selection = selectedRange();
    if (selection.length == 0 || isReadOnly()) {
        return;
    }
    copy();
    replaceCharacters(selection, {});
}

void EditorTextView::deleteSelection() {
    const TextRange selection = selectedRange();
    if (selection.length > 0 && !isReadOnly()) {
        replaceCharacters(selection, {});
    }
}

void EditorTextView::contextMenuEvent(QContextMenuEvent* event) {
    // The menu's edit items act on the whole text (and a loading view would leave them out).
    finishLoading();
    QMenu* menu = createStandardContextMenu(event->pos());
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-cut")) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &EditorTextView::cutSelection);
        } else if (action->objectName() == QLatin1String("edit-delete")) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &EditorTextView::deleteSelection);
        }
    }
    menu->exec(event->globalPos());
    delete menu;
}

void EditorTextView::resizeEvent(QResizeEvent* event) {
    if (auto* layout = qobject_cast<EditorDocumentLayout*>(document()->documentLayout())) {
        layout->setSliceWidth(viewport()->width());
    }
    // A resize without an old size (the first after a change of parent, as when the window joins
    // a tab host) makes the base lay the whole text out again, though the width may be the one
    // the text is laid out for: then it is told the width did not change.
    if (!event->oldSize().isValid() && isLaidOutForWidth(viewport()->width())) {
        QResizeEvent sameWidth(event->size(), QSize(event->size().width(), -1));
        QPlainTextEdit::resizeEvent(&sameWidth);
    } else {
        QPlainTextEdit::resizeEvent(event);
    }
    if (ruler_ != nullptr) {
        ruler_->updateGeometryFromView();
    }
}

bool EditorTextView::isLaidOutForWidth(int width) const {
    // Qt keeps the width private; the first block's first line is laid out to it, less the margins.
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
    const QTextBlock first = document()->firstBlock();
    if (layout == nullptr || !first.isValid()) {
        return false;
    }
    layout->blockBoundingRect(first);
    const QTextLayout* lines = first.layout();
    if (lines == nullptr || lines->lineCount() == 0) {
        return false;
    }
    return std::abs(lines->lineAt(0).width() + 2 * document()->documentMargin() - width) < 0.5;
}

void EditorTextView::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // Token formats carry a font only where it differs from the view's.
        colorLayer_->viewFontChanged();
        updateTabStops();
        if (ruler_ != nullptr) {
            ruler_->refreshDisplay();
        }
    }
}

void EditorTextView::appearanceChanged() {
    if (onAppearanceChange) {
        onAppearanceChange();
    }
    colorLayer_->invalidateAll();
    requestRedisplay();
}

// MARK: Tooltips

void EditorTextView::updateTooltip(QPoint viewportPoint) {
    auto* delegate = tooltipDelegate();
    std::optional<QString> text;
    if (delegate != nullptr) {
        if (const auto index = characterIndexAt(viewportPoint)) {
            text = delegate->editorTextViewTooltipAt(*this, *index);
        }
    }
    if (!text) {
        clearTooltip();
        return;
    }
    if (text != currentTooltipText_) {
        currentTooltipText_ = text;
        showTooltip(*text, viewportPoint);
    }
}

void EditorTextView::clearTooltip() {
    if (currentTooltipText_) {
        currentTooltipText_.reset();
        hideTooltip();
    }
}

void EditorTextView::showTooltip(const QString& text, QPoint viewportPoint) {
    ValidationTooltipWindow::show(text, viewportPoint, viewport());
}

void EditorTextView::hideTooltip() { ValidationTooltipWindow::hide(); }

// MARK: Painting

void EditorTextView::keepCaretBlockLayout() {
    const QTextBlock block = textCursor().block();
    if (block == keptBlock_) {
        return;
    }
    if (keptBlock_.isValid() && keptBlock_.layout() != nullptr) {
        keptBlock_.layout()->setCacheEnabled(false);
    }
    keptBlock_ = QTextBlock();
    if (block.isValid() && block.length() > longestUncachedBlock && block.length() <= longestCachedBlock) {
        block.layout()->setCacheEnabled(true);
        keptBlock_ = block;
    }
}

void EditorTextView::keepVisibleBlockLayouts() {
    std::vector<QTextBlock> shown;
    for (const VisibleBlock& visible : visibleBlocks()) {
        if (visible.block.length() <= longestUncachedBlock) {
            visible.block.layout()->setCacheEnabled(true);
            shown.push_back(visible.block);
        }
    }
    for (const QTextBlock& kept : keptVisibleBlocks_) {
        // A block whose text was removed since the last paint may be gone: one not on screen
        // any more is left as it is then.
        if (keptVisibleBlocksMayBeGone_ || kept == keptBlock_ ||
            std::find(shown.begin(), shown.end(), kept) != shown.end()) {
            continue;
        }
        // Laid out again without the cache, it drops its shaped text.
        kept.layout()->setCacheEnabled(false);
        document()->markContentsDirty(kept.position(), kept.length());
    }
    keptVisibleBlocks_ = std::move(shown);
    keptVisibleBlocksMayBeGone_ = false;
}

void EditorTextView::paintEvent(QPaintEvent* event) {
    keepCaretBlockLayout();
    // The toolkit drops a block's shaped text after each paint: each key (whose paint redraws
    // the caret's band, the guides and the line) would shape every line on screen again.
    keepVisibleBlockLayouts();
    colorLayer_->materializeVisible();
    if (highlightCurrentLine_) {
        QPainter painter(viewport());
        drawCurrentLineHighlight(painter, event->rect());
    }
    // A caret's block too long to keep its shaped text keeps it through the paint: the toolkit
    // would drop it once the lines are drawn and analyse the whole block again to draw the caret.
    QTextLayout* heldLayout = nullptr;
    if (const QTextBlock caretBlock = textCursor().block(); caretBlock.length() > longestCachedBlock) {
        heldLayout = caretBlock.layout();
        heldLayout->setCacheEnabled(true);
    }
    // A block laid out in slices shows as a line saying so until all its lines are made: the base
    // would draw the lines made so far (over the blocks below) and free their shaped text under the job.
    std::vector<QRectF> standIns;
    if (const auto* layout = qobject_cast<const EditorDocumentLayout*>(document()->documentLayout());
        layout != nullptr && layout->isLayingOutAnyBlock()) {
        for (const VisibleBlock& visible : visibleBlocks()) {
            if (visible.layingOut) {
                standIns.push_back(visible.geometry);
            }
        }
    }
    if (standIns.empty()) {
        QPlainTextEdit::paintEvent(event);
    } else {
        // The base draws the parts between them.
        const QRect exposed = event->rect();
        int from = exposed.top();
        const auto paintPart = [&](int until) {
            if (until > from) {
                QPaintEvent part(QRect(exposed.left(), from, exposed.width(), until - from));
                QPlainTextEdit::paintEvent(&part);
            }
        };
        for (const QRectF& standIn : standIns) {
            paintPart(std::min(exposed.bottom() + 1, static_cast<int>(std::floor(standIn.top()))));
            from = std::max(from, static_cast<int>(std::ceil(standIn.bottom())));
        }
        paintPart(exposed.bottom() + 1);
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::PlaceholderText));
        for (const QRectF& standIn : standIns) {
            const QRectF band(contentOffset().x() + document()->documentMargin(), standIn.top(), viewport()->width(),
                              standIn.height());
            painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, tr("Laying out a long line\u2026"));
        }
    }
    if (heldLayout != nullptr) {
        heldLayout->setCacheEnabled(false);
    }
    if (showIndentGuides_) {
        QPainter painter(viewport());
        drawIndentGuides(painter, event->rect());
    }
    if (!overlays_.empty()) {
        QPainter painter(viewport());
        for (EditorTextOverlay* overlay : overlays_) {
            overlay->paintOverlay(*this, painter, event->rect());
        }
    }
}

void EditorTextView::addOverlay(EditorTextOverlay* overlay) {
    if (overlay != nullptr && std::find(overlays_.begin(), overlays_.end(), overlay) == overlays_.end()) {
        overlays_.push_back(overlay);
        viewport()->update();
    }
}

void EditorTextView::removeOverlay(EditorTextOverlay* overlay) {
    overlays_.erase(std::remove(overlays_.begin(), overlays_.end(), overlay), overlays_.end());
}

void EditorTextView::drawCurrentLineHighlight(QPainter& painter, const QRect& rect) {
    const QTextBlock block = document()->findBlock(static_cast<int>(selectedRange().location));
    if (!block.isValid()) {
        return;
    }
    const QRectF geometry = blockGeometry(block);
    const QRectF band(0, geometry.top(), viewport()->width(), geometry.height());
    if (band.intersects(rect)) {
        painter.fillRect(band, currentLineHighlightColor_.resolved());
    }
}

std::vector<int> EditorTextView::visibleIndentLevels() const {
    const int width = indentGuideWidth_;
    std::vector<int> levels;
    if (width < 1) {
        return levels;
    }
    std::vector<bool> present;
    for (const VisibleBlock& visible : visibleBlocks()) {
        const auto columns = leadingColumns(lineText(visible.block), width, false);
        if (!columns) {
            continue;
        }
        const int level = *columns / width;
        if (static_cast<int>(present.size()) <= level) {
            present.resize(static_cast<std::size_t>(level) + 1, false);
        }
        for (int k = 1; k <= level; ++k) {
            present[static_cast<std::size_t>(k)] = true;
        }
    }
    for (int k = 1; k < static_cast<int>(present.size()); ++k) {
        if (present[static_cast<std::size_t>(k)]) {
            levels.push_back(k);
        }
    }
    return levels;
}

void EditorTextView::drawIndentGuides(QPainter& painter, const QRect& rect) {
    const int width = indentGuideWidth_;
    const std::vector<int> levels = visibleIndentLevels();
    if (levels.empty()) {
        return;
    }
    const qreal spaceWidth = QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' '));
    const int active = caretIndentLevel();
    const qreal origin = contentOffset().x() + document()->documentMargin();
    // The guides are one-pixel columns. Drawn one by one, each costs a span per scan line; drawn
    // as one image of all columns (kept while nothing changes), they cost one span per line.
    std::vector<std::pair<int, bool>> columns;  // x of the pixel column, active
    for (int k : levels) {
        const qreal x = std::floor(origin + spaceWidth * k * width) + 0.5;
        if (x < rect.left() || x > rect.right() + 1) {
            continue;
        }
        columns.emplace_back(static_cast<int>(std::floor(x)), k == active);
    }
    if (columns.empty()) {
        return;
    }
    const QColor ordinary = indentGuideColor_.resolved();
    const QColor activeColor = activeIndentGuideColor_.resolved();
    GuideImageKey key{columns, ordinary.rgba(), activeColor.rgba(), rect.height()};
    if (!(key == guideImageKey_) || guideImage_.isNull()) {
        const int left = columns.front().first;
        const int right = columns.back().first;
        QImage image(right - left + 1, rect.height(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        for (const auto& [x, isActive] : columns) {
            const QRgb pixel = qPremultiply((isActive ? activeColor : ordinary).rgba());
            for (int y = 0; y < image.height(); ++y) {
                reinterpret_cast<QRgb*>(image.scanLine(y))[x - left] = pixel;
            }
        }
        guideImage_ = image;
        guideImageKey_ = std::move(key);
    }
    painter.drawImage(QPoint(columns.front().first, rect.top()), guideImage_);
}

}  // namespace Carvex
