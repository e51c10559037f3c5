#include "platform/AlertScript.h"

#include <algorithm>

namespace CarvexPlatform {

int AlertScript::answer(const Alert& alert, bool asSheet) {
    int response = defaultResponse_;
    if (!responses_.empty()) {
        response = responses_.front();
        responses_.pop_front();
    }
    const int buttonCount = std::max<int>(1, static_cast<int>(alert.buttons.size()));
    response = std::clamp(response, 0, buttonCount - 1);
    presented_.push_back(Presented{alert, asSheet, response});
    return response;
}

}  // namespace CarvexPlatform
