#pragma once

#include <QList>
#include <QTextLayout>

namespace Carvex {

// Formats that another display layer lays over the token colours (the `$ref` links). The colour
// layer asks for them when it gives a block on screen its formats and puts them after the tokens'
// formats, so a property they set wins over the token's. Like the colours, they never enter the
// document: no undo entry, no modified flag, no text signal.
class TextFormatLayer {
public:
    virtual ~TextFormatLayer() = default;
    // Appends the layer's formats over the characters from `blockStart` up to `blockEnd` to
    // `ranges`, with starts relative to `blockStart`.
    virtual void appendFormats(int blockStart, int blockEnd, QList<QTextLayout::FormatRange>& ranges) const = 0;
};

}  // namespace Carvex
