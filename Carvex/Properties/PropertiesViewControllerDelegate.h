#pragma once

namespace Carvex {

class PropertiesViewController;

// Told when the user asks the properties pane to go to the selected operation's source line.
class PropertiesViewControllerDelegate {
public:
    virtual ~PropertiesViewControllerDelegate() = default;
    // `line` counts from 1.
    virtual void propertiesViewControllerDidRequestNavigation(PropertiesViewController& controller, int line) = 0;
};

}  // namespace Carvex
