#pragma once

#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"

#include <QString>
#include <QWidget>
#include <map>
#include <vector>

class QButtonGroup;
class QPushButton;
class QTabWidget;
class QTextEdit;

namespace CarvexPlatform {
class ColorWell;
}

namespace Carvex {

class SyntaxThemePreferencesStore;

// The Syntax Colors pane: a colour well per user-editable colour of the syntax theme for the
// dark or the light appearance, live JSON and YAML previews coloured by the lexers, and a
// confirmed reset of every colour. Each colour change and each confirmed reset is announced once
// with "syntaxThemePreferencesDidChange". Main thread only.
class SyntaxColorsPreferencesPane : public QWidget {
    Q_OBJECT

public:
    struct ColorSection {
        QString title;
        std::vector<SyntaxThemePreferenceKey> keys;
    };

    static const QString jsonSample;
    static const QString yamlSample;
    // The point size of the previews' text, whatever the theme's font.
    static constexpr double previewPointSize = 12;

    // The two sections shown, in order.
    static const std::vector<ColorSection>& colorSections();

    // Over the shared store, editing the application's current appearance first.
    SyntaxColorsPreferencesPane();
    // Over the given store (its settings may be isolated ones).
    SyntaxColorsPreferencesPane(SyntaxThemePreferencesStore& store, bool isDark);

    bool isDark() const { return isDark_; }
    // 0 for "Dark", 1 for "Light".
    int selectedAppearanceSegment() const;
    QPushButton* appearanceSegmentButton(int segment) const;
    QPushButton* resetButton() const { return resetButton_; }
    // The well of `key`, or null for a key the pane does not show.
    CarvexPlatform::ColorWell* colorWell(SyntaxThemePreferenceKey key) const;
    const std::map<SyntaxThemePreferenceKey, CarvexPlatform::ColorWell*>& colorWells() const { return colorWells_; }
    QTextEdit* jsonPreviewTextView() const { return jsonPreviewTextView_; }
    QTextEdit* yamlPreviewTextView() const { return yamlPreviewTextView_; }
    QTabWidget* previewTabView() const { return previewTabView_; }

    // The actions.
    void appearanceChanged();
    void colorChanged(QObject* sender);
    void resetToDefaults();

    void reloadColorWells();
    void updatePreviews();

private:
    QWidget* makeHeader();
    QWidget* makeColorList();
    QWidget* makePreviewTabs();

    QButtonGroup* appearanceSegment_;
    QPushButton* resetButton_;
    std::map<SyntaxThemePreferenceKey, CarvexPlatform::ColorWell*> colorWells_;
    QTextEdit* jsonPreviewTextView_;
    QTextEdit* yamlPreviewTextView_;
    QTabWidget* previewTabView_;
    bool isDark_;
    SyntaxThemePreferencesStore* store_;
};

}  // namespace Carvex
