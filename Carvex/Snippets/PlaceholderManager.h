#pragma once

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Text/TextChange.h"
#include "Carvex/Text/TextRange.h"
#include "Carvex/Snippets/PlaceholderSession.h"
#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QKeyEvent;

namespace Carvex {

class PlaceholderChipRenderer;
class SyntaxThemePreferencesStore;

// Keeps the placeholder session of a snippet inserted into an editor: the chips, which one is
// active, and their places as the text changes.
//
// The text always holds what the user would save: a chip is its placeholder's default text,
// standing in the document as plain text, drawn over by a display layer. Making a chip active or
// inactive, and ending a session, is a repaint, never an edit. The insertion is one step of undo
// in the view's one history; fills are ordinary edits. The manager follows every change of the
// text (the editor reports each one through `didReplaceText`), and an undo that takes the
// insertion back ends the session first, so no chip outlives its session and nothing edits the
// text in reaction to an undo or a redo.
//
// One per editor, holding its text view weakly; every operation does nothing without it. The
// editor's tests stand in a manager of their own through the virtual members. Main thread only.
class PlaceholderManager {
public:
    explicit PlaceholderManager(EditorTextView* textView = nullptr, SyntaxThemePreferencesStore* themeStore = nullptr);
    virtual ~PlaceholderManager();
    PlaceholderManager(const PlaceholderManager&) = delete;
    PlaceholderManager& operator=(const PlaceholderManager&) = delete;

    EditorTextView* textView() const { return textView_.data(); }

    // The session, or null when no snippet is being filled in.
    virtual PlaceholderSession* session() const { return session_.get(); }
    // True while the manager changes the text or selection itself.
    virtual bool isPerformingInternalUpdate() const { return isPerformingInternalUpdate_; }

    // With an active session and an empty selection: the chip the caret touches (its start or
    // end) becomes the active one and its range is answered; a caret inside a chip selects the
    // chip whole. Nothing while the caret stands at the placeholder being filled, whose typing
    // continues there.
    virtual std::optional<TextRange> activePlaceholderRange();
    // `range` (in the text before the change) was replaced by `newLength` units: moves the
    // placeholders, drops the chips the change touched and ends the session when none is left or
    // when an undo took the insertion back.
    virtual void didReplaceText(TextRange range, qsizetype newLength);
    // Ends the running session: the chips are no longer drawn (their default texts stand in the
    // text already) and `onPlaceholderModeExit` runs.
    virtual void endSession();

    // Inserts a rendered snippet (its fields written `${n:default}`) at `location`, as one step of
    // undo announced like any edit, and starts a session with the first placeholder selected when
    // it has fields; a running session ends first. A location past the end goes to the end, one
    // inside a surrogate pair before the pair. Answers the inserted length (0 without a view).
    qsizetype insertSnippet(const QString& text, qsizetype location);
    // The same, replacing `replacing` by the snippet in the same step of undo.
    qsizetype insertSnippet(const QString& text, TextRange replacing);

    // Tab: the next placeholder that still has its chip becomes active and selected; past the last
    // one the session ends (false).
    bool nextPlaceholder();
    // Tab once the last field of a snippet has been typed over (which ends its session), while the
    // caret stays in the snippet and nothing else happened: the caret goes on after the snippet
    // and true is answered, so that the key inserts nothing.
    bool leaveFilledSnippet();
    // Shift-Tab: the previous placeholder with a chip; false (nothing changes) when there is none.
    bool previousPlaceholder();
    // Selects a placeholder's range and scrolls it into view; `activeIndex` does not change.
    void selectPlaceholder(int index);
    // Keys that treat a chip as one unit while a session runs: Left and Right (with or without
    // Shift) hop over a chip at the caret, Backspace at a chip's end and Delete at its start remove
    // it whole. True when the key was used.
    bool handleChipKey(const QKeyEvent& event);
    // Whether `position` lies on the lines the snippet spans now (from the line of its first unit
    // to the line of its last); false without a session.
    bool isOnSnippetLines(qsizetype position) const;
    // The text the snippet spans now, following every edit; none without a session.
    std::optional<TextRange> snippetExtent() const;

    // The display layers of the session (chips and snippet colours).
    const PlaceholderChipRenderer& chipRenderer() const { return *renderer_; }

    // A theme colour for the current appearance.
    QColor themeColor(SyntaxThemePreferenceKey key) const;
    const SyntaxThemePreferencesStore& themeStore() const;

    // Called by the manager when placeholder mode ends.
    std::function<void()> onPlaceholderModeExit;

protected:
    // Replaces the session (the editor's tests use it through their own manager).
    void setSession(std::unique_ptr<PlaceholderSession> session) { session_ = std::move(session); }

private:
    class InternalUpdate;

    bool hasActiveSession() const { return session_ && session_->isActive(); }
    bool isInStep() const;
    void makeActive(int index);
    void followEdit(TextRange range, qsizetype newLength);
    void followFilledSnippet(const TextChange& change);
    void forgetFilledSnippetIfLeft();
    bool hasChip() const;
    void refreshDisplay();
    std::optional<std::size_t> chipStartingAt(qsizetype position) const;
    std::optional<std::size_t> chipEndingAt(qsizetype position) const;

    QPointer<EditorTextView> textView_;
    SyntaxThemePreferencesStore* themeStore_ = nullptr;
    std::unique_ptr<PlaceholderSession> session_;
    bool isPerformingInternalUpdate_ = false;
    // The snippet's text as it stands now.
    TextRange extent_;
    // The view's undo steps right after the insertion: fewer means the insertion was undone.
    int undoStepsAfterInsertion_ = 0;
    // The view's text revision the placeholders were last placed for. The caret moves while the
    // text changes, before the change is reported: the ranges are out of step until then.
    quint64 placedRevision_ = 0;
    std::unique_ptr<PlaceholderChipRenderer> renderer_;
    // The snippet whose last field was just typed over, following the text until the caret leaves
    // it, and the view's text revision it was last placed for.
    std::optional<TextRange> filledSnippet_;
    quint64 filledRevision_ = 0;
    // Owns the connections to the view (first to go).
    QObject connections_;
};

}  // namespace Carvex
