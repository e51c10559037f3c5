#include "Carvex/Indentation/IndentationPreferencesStore.h"

namespace Carvex {

IndentationPreferencesStore::IndentationPreferencesStore(
    std::shared_ptr<CarvexPlatform::Settings> defaults)
    : defaults_(std::move(defaults)) {}

IndentationStyle IndentationPreferencesStore::indentationStyle() const {
    if (defaults_->boolValue(useTabsKey)) {
        return IndentationStyle::tabs();
    }
    const long long width = defaults_->integerValue(spacesWidthKey);
    // A width beyond any sensible indent (a hand-edited settings file) would make every new line
    // allocate that many spaces; it reads like an unusable one.
    if (width < 1 || width > IndentationStyle::maxSpacesWidth) {
        return IndentationStyle::spaces(2);
    }
    return IndentationStyle::spaces(static_cast<int>(width));
}

void IndentationPreferencesStore::setIndentationStyle(const IndentationStyle& style) {
    if (style.isTabs()) {
        defaults_->setBool(useTabsKey, true);
        defaults_->remove(spacesWidthKey);
    } else {
        defaults_->setBool(useTabsKey, false);
        defaults_->setInteger(spacesWidthKey, style.spacesWidth());
    }
}

bool IndentationPreferencesStore::useTabKeyForIndent() const {
    return defaults_->contains(useTabKeyForIndentKey) ? defaults_->boolValue(useTabKeyForIndentKey)
                                                      : true;
}

void IndentationPreferencesStore::setUseTabKeyForIndent(bool value) {
    defaults_->setBool(useTabKeyForIndentKey, value);
}

void IndentationPreferencesStore::reset() {
    defaults_->remove(useTabsKey);
    defaults_->remove(spacesWidthKey);
    defaults_->remove(useTabKeyForIndentKey);
}

}  // namespace Carvex
