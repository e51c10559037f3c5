#pragma once

#include "Carvex/Logging/SourceLocation.h"

namespace Carvex {

class ConsoleViewController;

// Moves the editor to a place the console asks for (an entry selected or double-clicked). Held
// weakly by the console.
class ConsoleNavigationDelegate {
public:
    virtual ~ConsoleNavigationDelegate() = default;
    virtual void consoleViewControllerDidRequestNavigation(ConsoleViewController& console,
                                                           const SourceLocation& location) = 0;
};

}  // namespace Carvex
