#include "Carvex/Preferences/GeneralPreferencesPane.h"

#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Preferences/PreferenceNotifications.h"
#include "Carvex/Preferences/PreferencesSectionBox.h"
#include "platform/NotificationCenter.h"
#include "platform/SystemColor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Carvex {

namespace {

using CarvexPlatform::SystemColor;

QLabel* makeLabel(const QString& text, double pointSize, QFont::Weight weight, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    label->setFont(font);
    return label;
}

void setTextColor(QWidget* widget, SystemColor color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, CarvexPlatform::systemColor(color));
    widget->setPalette(palette);
}

QLabel* makeSectionHeader(const QString& text, QWidget* parent) {
    QLabel* label = makeLabel(text, 13, QFont::DemiBold, parent);
    setTextColor(label, SystemColor::secondaryLabel);
    return label;
}

// A section: the header above its rows, in a box.
PreferencesSectionBox* makeSection(const QString& title, const std::vector<QWidget*>& rows, QWidget* parent) {
    auto* content = new QWidget(parent);
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(10);
    stack->addWidget(makeSectionHeader(title, content));
    auto* rowStack = new QVBoxLayout();
    rowStack->setSpacing(8);
    for (QWidget* row : rows) {
        rowStack->addWidget(row, 0, Qt::AlignLeft);
    }
    stack->addLayout(rowStack);
    stack->addStretch(1);
    return new PreferencesSectionBox(content, QMargins(16, 14, 16, 14), parent);
}

void post(const QString& name) { CarvexPlatform::NotificationCenter::defaultCenter().post(name); }

}  // namespace

GeneralPreferencesPane::GeneralPreferencesPane()
    : GeneralPreferencesPane(EditorPreferencesStore::shared(), CompletionPreferencesStore::shared(),
                             IndentationPreferencesStore()) {}

GeneralPreferencesPane::GeneralPreferencesPane(EditorPreferencesStore& editorStore,
                                               CompletionPreferencesStore& completionStore,
                                               IndentationPreferencesStore indentationStore)
    : highlightCurrentLineCheckbox_(new QCheckBox(QStringLiteral("Highlight current line"))),
      autoReloadCheckbox_(new QCheckBox(QStringLiteral("Auto-reload external changes"))),
      showIndentGuidesCheckbox_(new QCheckBox(QStringLiteral("Show indent guides"))),
      autoCompletionCheckbox_(new QCheckBox(QStringLiteral("Auto-completion"))),
      directInsertCheckbox_(new QCheckBox(QStringLiteral("Direct insert single match"))),
      inlineSnippetCheckbox_(new QCheckBox(QStringLiteral("Show inline snippet suggestions"))),
      spacesRadio_(new QRadioButton(QStringLiteral("Spaces"))),
      tabsRadio_(new QRadioButton(QStringLiteral("Tabs"))),
      spacesWidthPopup_(new QComboBox()),
      spacesWidthLabel_(new QLabel(QStringLiteral("Width:"))),
      useTabKeyCheckbox_(new QCheckBox(QStringLiteral("Use Tab key for indent"))),
      editorStore_(&editorStore),
      completionStore_(&completionStore),
      indentationStore_(std::move(indentationStore)) {
    // The pane keeps the two radio buttons exclusive itself.
    spacesRadio_->setAutoExclusive(false);
    tabsRadio_->setAutoExclusive(false);
    layOut();
    connectActions();
    loadValues();
}

void GeneralPreferencesPane::layOut() {
    PreferencesSectionBox* editorBox =
        makeSection(QStringLiteral("Editor"),
                    {highlightCurrentLineCheckbox_, autoReloadCheckbox_, showIndentGuidesCheckbox_}, this);
    PreferencesSectionBox* completionBox =
        makeSection(QStringLiteral("Completion"),
                    {autoCompletionCheckbox_, directInsertCheckbox_, inlineSnippetCheckbox_}, this);

    auto* indentation = new QWidget(this);
    auto* stack = new QVBoxLayout(indentation);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);
    stack->addWidget(makeSectionHeader(QStringLiteral("Indentation"), indentation));
    stack->addSpacing(12 - 8);
    stack->addWidget(makeLabel(QStringLiteral("Style:"), 12, QFont::Normal, indentation));
    auto* radioRow = new QHBoxLayout();
    radioRow->setSpacing(12);
    radioRow->addWidget(spacesRadio_);
    radioRow->addWidget(tabsRadio_);
    radioRow->addStretch(1);
    stack->addLayout(radioRow);
    for (const int width : widthChoices) {
        spacesWidthPopup_->addItem(QString::number(width));
    }
    auto* widthRow = new QHBoxLayout();
    widthRow->setSpacing(8);
    widthRow->addWidget(spacesWidthLabel_);
    widthRow->addWidget(spacesWidthPopup_);
    widthRow->addStretch(1);
    stack->addLayout(widthRow);
    stack->addSpacing(14 - 8);
    stack->addWidget(useTabKeyCheckbox_, 0, Qt::AlignLeft);
    stack->addStretch(1);
    auto* indentationBox = new PreferencesSectionBox(indentation, QMargins(16, 14, 16, 14), this);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 20, 20, 20);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);
    grid->addWidget(editorBox, 0, 0);
    grid->addWidget(completionBox, 1, 0);
    grid->addWidget(indentationBox, 0, 1, 2, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
}

void GeneralPreferencesPane::connectActions() {
    for (QCheckBox* box : {highlightCurrentLineCheckbox_, autoReloadCheckbox_, showIndentGuidesCheckbox_}) {
        connect(box, &QCheckBox::clicked, this, [this] { editorCheckboxChanged(); });
    }
    for (QCheckBox* box : {autoCompletionCheckbox_, directInsertCheckbox_, inlineSnippetCheckbox_}) {
        connect(box, &QCheckBox::clicked, this, [this] { completionCheckboxChanged(); });
    }
    for (QRadioButton* radio : {spacesRadio_, tabsRadio_}) {
        connect(radio, &QRadioButton::clicked, this, [this, radio] { styleChanged(radio); });
    }
    connect(spacesWidthPopup_, &QComboBox::activated, this, [this] { widthChanged(); });
    connect(useTabKeyCheckbox_, &QCheckBox::clicked, this, [this] { tabKeyChanged(); });
}

void GeneralPreferencesPane::loadValues() {
    highlightCurrentLineCheckbox_->setChecked(editorStore_->highlightCurrentLine());
    autoReloadCheckbox_->setChecked(editorStore_->autoReloadExternalChanges());
    showIndentGuidesCheckbox_->setChecked(editorStore_->showIndentGuides());
    autoCompletionCheckbox_->setChecked(completionStore_->isAutoCompletionEnabled());
    directInsertCheckbox_->setChecked(completionStore_->isDirectInsertEnabled());
    inlineSnippetCheckbox_->setChecked(completionStore_->isInlineSnippetEnabled());

    const IndentationStyle style = indentationStore_.indentationStyle();
    tabsRadio_->setChecked(style.isTabs());
    spacesRadio_->setChecked(!style.isTabs());
    setWidthControlsEnabled(!style.isTabs());
    if (!style.isTabs()) {
        // Widths outside the choices show as the first one.
        const int width = style.spacesWidth();
        spacesWidthPopup_->setCurrentIndex(width == 8 ? 2 : width == 4 ? 1 : 0);
    }
    useTabKeyCheckbox_->setChecked(indentationStore_.useTabKeyForIndent());
}

void GeneralPreferencesPane::setWidthControlsEnabled(bool enabled) {
    spacesWidthPopup_->setEnabled(enabled);
    setTextColor(spacesWidthLabel_, enabled ? SystemColor::label : SystemColor::disabledControlText);
}

int GeneralPreferencesPane::selectedWidth() const {
    const int index = spacesWidthPopup_->currentIndex();
    return index >= 0 && index < static_cast<int>(widthChoices.size()) ? widthChoices[index] : widthChoices[0];
}

void GeneralPreferencesPane::editorCheckboxChanged() {
    const auto& defaults = editorStore_->defaults();
    defaults->setBool(EditorPreferencesStore::highlightCurrentLineKey, highlightCurrentLineCheckbox_->isChecked());
    defaults->setBool(EditorPreferencesStore::autoReloadExternalChangesKey, autoReloadCheckbox_->isChecked());
    defaults->setBool(EditorPreferencesStore::showIndentGuidesKey, showIndentGuidesCheckbox_->isChecked());
    post(PreferenceNotifications::editorPreferencesDidChange);
}

void GeneralPreferencesPane::completionCheckboxChanged() {
    const auto& defaults = completionStore_->defaults();
    defaults->setBool(CompletionPreferencesStore::autoCompletionEnabledKey, autoCompletionCheckbox_->isChecked());
    defaults->setBool(CompletionPreferencesStore::directInsertEnabledKey, directInsertCheckbox_->isChecked());
    defaults->setBool(CompletionPreferencesStore::inlineSnippetEnabledKey, inlineSnippetCheckbox_->isChecked());
    post(PreferenceNotifications::completionPreferencesDidChange);
}

void GeneralPreferencesPane::styleChanged(QRadioButton* sender) {
    // A click on the button already on leaves it on, as radio buttons do.
    sender->setChecked(true);
    if (sender == tabsRadio_) {
        spacesRadio_->setChecked(false);
        indentationStore_.setIndentationStyle(IndentationStyle::tabs());
        setWidthControlsEnabled(false);
    } else {
        tabsRadio_->setChecked(false);
        indentationStore_.setIndentationStyle(IndentationStyle::spaces(selectedWidth()));
        setWidthControlsEnabled(true);
    }
    post(PreferenceNotifications::indentationPreferencesDidChange);
}

void GeneralPreferencesPane::widthChanged() {
    indentationStore_.setIndentationStyle(IndentationStyle::spaces(selectedWidth()));
    post(PreferenceNotifications::indentationPreferencesDidChange);
}

void GeneralPreferencesPane::tabKeyChanged() {
    indentationStore_.setUseTabKeyForIndent(useTabKeyCheckbox_->isChecked());
    post(PreferenceNotifications::indentationPreferencesDidChange);
}

}  // namespace Carvex
