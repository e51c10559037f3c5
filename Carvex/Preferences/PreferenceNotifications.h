#pragma once

#include <QString>

namespace Carvex {

// The names of the notifications that announce changed settings, posted on the default
// notification centre with no object and no user info.
namespace PreferenceNotifications {
inline const QString editorPreferencesDidChange = QStringLiteral("editorPreferencesDidChange");
inline const QString completionPreferencesDidChange = QStringLiteral("completionPreferencesDidChange");
inline const QString indentationPreferencesDidChange = QStringLiteral("indentationPreferencesDidChange");
inline const QString syntaxThemePreferencesDidChange = QStringLiteral("syntaxThemePreferencesDidChange");
}  // namespace PreferenceNotifications

}  // namespace Carvex
