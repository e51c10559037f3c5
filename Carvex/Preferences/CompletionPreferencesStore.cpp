#include "Carvex/Preferences/CompletionPreferencesStore.h"

namespace Carvex {

CompletionPreferencesStore::CompletionPreferencesStore(
    std::shared_ptr<CarvexPlatform::Settings> defaults)
    : defaults_(std::move(defaults)) {}

CompletionPreferencesStore& CompletionPreferencesStore::shared() {
    static CompletionPreferencesStore* const store = new CompletionPreferencesStore();
    return *store;
}

bool CompletionPreferencesStore::read(const QString& key, bool whenAbsent) const {
    return defaults_->contains(key) ? defaults_->boolValue(key) : whenAbsent;
}

bool CompletionPreferencesStore::isAutoCompletionEnabled() const {
    return read(autoCompletionEnabledKey, false);
}

void CompletionPreferencesStore::setAutoCompletionEnabled(bool value) {
    defaults_->setBool(autoCompletionEnabledKey, value);
}

bool CompletionPreferencesStore::isDirectInsertEnabled() const {
    return read(directInsertEnabledKey, true);
}

void CompletionPreferencesStore::setDirectInsertEnabled(bool value) {
    defaults_->setBool(directInsertEnabledKey, value);
}

bool CompletionPreferencesStore::isInlineSnippetEnabled() const {
    return read(inlineSnippetEnabledKey, true);
}

void CompletionPreferencesStore::setInlineSnippetEnabled(bool value) {
    defaults_->setBool(inlineSnippetEnabledKey, value);
}

void CompletionPreferencesStore::reset() {
    defaults_->remove(autoCompletionEnabledKey);
    defaults_->remove(directInsertEnabledKey);
    defaults_->remove(inlineSnippetEnabledKey);
}

}  // namespace Carvex
