#pragma once

#include <QString>

#include <cstdint>

namespace Carvex {

class RefLinkHandler;

// Told after a Command-click (Control here) on a `$ref` link moved the caret to its target.
class RefLinkClickDelegate {
public:
    virtual ~RefLinkClickDelegate() = default;
    // `path` is the link's reference text; `byteOffset` the target's start offset in the model.
    virtual void refLinkHandlerDidNavigateTo(RefLinkHandler& handler, const QString& path, int64_t byteOffset) = 0;
};

}  // namespace Carvex
