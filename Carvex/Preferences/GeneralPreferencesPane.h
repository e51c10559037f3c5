#pragma once

#include "Carvex/Indentation/IndentationPreferencesStore.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace Carvex {

class CompletionPreferencesStore;
class EditorPreferencesStore;

// The General pane: the editor's display options, the completion behaviour and the indentation
// preferences. Shows the stored values of the moment it is made; every click writes straight to
// the settings and posts its notification (no Apply, no Cancel). Main thread only.
class GeneralPreferencesPane : public QWidget {
    Q_OBJECT

public:
    // The widths the pop-up offers, in its order.
    static constexpr std::array<int, 3> widthChoices = {2, 4, 8};

    // Over the shared editor and completion stores and an indentation store of the standard
    // settings.
    GeneralPreferencesPane();
    // Over the given stores (their settings may be isolated ones).
    GeneralPreferencesPane(EditorPreferencesStore& editorStore, CompletionPreferencesStore& completionStore,
                           IndentationPreferencesStore indentationStore);

    QCheckBox* highlightCurrentLineCheckbox() const { return highlightCurrentLineCheckbox_; }
    QCheckBox* autoReloadCheckbox() const { return autoReloadCheckbox_; }
    QCheckBox* showIndentGuidesCheckbox() const { return showIndentGuidesCheckbox_; }
    QCheckBox* autoCompletionCheckbox() const { return autoCompletionCheckbox_; }
    QCheckBox* directInsertCheckbox() const { return directInsertCheckbox_; }
    QCheckBox* inlineSnippetCheckbox() const { return inlineSnippetCheckbox_; }
    QRadioButton* spacesRadio() const { return spacesRadio_; }
    QRadioButton* tabsRadio() const { return tabsRadio_; }
    QComboBox* spacesWidthPopup() const { return spacesWidthPopup_; }
    QLabel* spacesWidthLabel() const { return spacesWidthLabel_; }
    QCheckBox* useTabKeyCheckbox() const { return useTabKeyCheckbox_; }

    // The actions of the controls.
    void editorCheckboxChanged();
    void completionCheckboxChanged();
    void styleChanged(QRadioButton* sender);
    void widthChanged();
    void tabKeyChanged();

private:
    void layOut();
    void connectActions();
    void loadValues();
    void setWidthControlsEnabled(bool enabled);
    int selectedWidth() const;

    QCheckBox* highlightCurrentLineCheckbox_;
    QCheckBox* autoReloadCheckbox_;
    QCheckBox* showIndentGuidesCheckbox_;
    QCheckBox* autoCompletionCheckbox_;
    QCheckBox* directInsertCheckbox_;
    QCheckBox* inlineSnippetCheckbox_;
    QRadioButton* spacesRadio_;
    QRadioButton* tabsRadio_;
    QComboBox* spacesWidthPopup_;
    QLabel* spacesWidthLabel_;
    QCheckBox* useTabKeyCheckbox_;
    EditorPreferencesStore* editorStore_;
    CompletionPreferencesStore* completionStore_;
    IndentationPreferencesStore indentationStore_;
};

}  // namespace Carvex
