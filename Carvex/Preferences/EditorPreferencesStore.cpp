#include "Carvex/Preferences/EditorPreferencesStore.h"

namespace Carvex {

EditorPreferencesStore::EditorPreferencesStore(std::shared_ptr<CarvexPlatform::Settings> defaults)
    : defaults_(std::move(defaults)) {}

EditorPreferencesStore& EditorPreferencesStore::shared() {
    static EditorPreferencesStore* const store = new EditorPreferencesStore();
    return *store;
}

bool EditorPreferencesStore::read(const QString& key, bool whenAbsent) const {
    return defaults_->contains(key) ? defaults_->boolValue(key) : whenAbsent;
}

bool EditorPreferencesStore::highlightCurrentLine() const {
    return read(highlightCurrentLineKey, true);
}

void EditorPreferencesStore::setHighlightCurrentLine(bool value) {
    defaults_->setBool(highlightCurrentLineKey, value);
}

bool EditorPreferencesStore::autoReloadExternalChanges() const {
    return read(autoReloadExternalChangesKey, true);
}

void EditorPreferencesStore::setAutoReloadExternalChanges(bool value) {
    defaults_->setBool(autoReloadExternalChangesKey, value);
}

bool EditorPreferencesStore::showIndentGuides() const { return read(showIndentGuidesKey, true); }

void EditorPreferencesStore::setShowIndentGuides(bool value) {
    defaults_->setBool(showIndentGuidesKey, value);
}

void EditorPreferencesStore::reset() {
    defaults_->remove(highlightCurrentLineKey);
    defaults_->remove(autoReloadExternalChangesKey);
    defaults_->remove(showIndentGuidesKey);
}

}  // namespace Carvex
