#pragma once

#include "Carvex/Text/TextRange.h"
#include "Carvex/Snippets/Placeholder.h"

#include <QtGlobal>

#include <optional>
#include <vector>

namespace Carvex {

// A half-open range of line numbers, [lowerBound, upperBound).
struct LineRange {
    qsizetype lowerBound = 0;
    qsizetype upperBound = 0;

    bool contains(qsizetype line) const { return lowerBound <= line && line < upperBound; }
    bool operator==(const LineRange&) const = default;
};

// The placeholders of one inserted snippet while the user fills them in. The accessors are virtual
// so that the editor's tests can stand in a session of their own.
class PlaceholderSession {
public:
    PlaceholderSession() = default;
    PlaceholderSession(std::vector<Placeholder> placeholders, int activeIndex, LineRange snippetLineRange,
                       bool isActive)
        : placeholders_(std::move(placeholders)),
          activeIndex_(activeIndex),
          snippetLineRange_(snippetLineRange),
          isActive_(isActive) {}
    PlaceholderSession(const PlaceholderSession&) = default;
    PlaceholderSession& operator=(const PlaceholderSession&) = default;
    PlaceholderSession(PlaceholderSession&&) = default;
    PlaceholderSession& operator=(PlaceholderSession&&) = default;
    virtual ~PlaceholderSession() = default;

    // In tab-stop order: ascending index, equal indices in text order.
    virtual const std::vector<Placeholder>& placeholders() const { return placeholders_; }
    std::vector<Placeholder>& mutablePlaceholders() { return placeholders_; }
    // Position in `placeholders` of the one being edited; may be out of range.
    virtual int activeIndex() const { return activeIndex_; }
    void setActiveIndex(int index) { activeIndex_ = index; }
    // The document lines the inserted snippet spans; a caret outside them ends the session.
    LineRange snippetLineRange() const { return snippetLineRange_; }
    void setSnippetLineRange(LineRange range) { snippetLineRange_ = range; }
    virtual bool isActive() const { return isActive_; }
    void setActive(bool active) { isActive_ = active; }

    // `replacing` (a range of the text before the edit) was replaced by `newLength` units. Every
    // placeholder sharing at least one unit with it takes the range (edit location, newLength) and
    // loses its chip; placeholders starting after the edit's location move by the change in length.
    // An insertion exactly at a placeholder's start shares no unit with it and moves nothing there.
    // Answers the position of the last placeholder the edit overlapped, if any.
    //
    // Negative lengths count as 0 and the part of an edit before location 0 as absent, and no
    // placeholder is ever moved in front of the replacement text: an empty placeholder inside the
    // replaced range ends up right after it.
    std::optional<std::size_t> adjustRanges(TextRange replacing, qsizetype newLength);

private:
    std::vector<Placeholder> placeholders_;
    int activeIndex_ = 0;
    LineRange snippetLineRange_;
    bool isActive_ = false;
};

}  // namespace Carvex
