#pragma once

namespace Carvex {

// What the caret stands on in its container, as the cursor location service reports it.
enum class CursorRole {
    mappingKey,   // where a key of a mapping is written or being typed
    mappingValue, // in the value after a key's colon
    sequenceItem, // on an item of a sequence
    unknown,      // no role: the caret lies beyond the end of the text
};

} // namespace Carvex
