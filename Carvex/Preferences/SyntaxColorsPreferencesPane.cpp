#include "Carvex/Preferences/SyntaxColorsPreferencesPane.h"

#include "Carvex/Preferences/PreferenceNotifications.h"
#include "Carvex/Preferences/PreferencesSectionBox.h"
#include "Carvex/Syntax/JSONLexer.h"
#include "Carvex/Syntax/SyntaxTheme.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/Syntax/YAMLLexer.h"
#include "platform/AlertPresenter.h"
#include "platform/Appearance.h"
#include "platform/ColorWell.h"
#include "platform/NotificationCenter.h"
#include "platform/SystemColor.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace Carvex {

namespace {

using CarvexPlatform::SystemColor;
using Key = SyntaxThemePreferenceKey;

QFont previewFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(SyntaxColorsPreferencesPane::previewPointSize);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

QLabel* makeLabel(const QString& text, double pointSize, QFont::Weight weight, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    label->setFont(font);
    return label;
}

QTextEdit* makePreviewTextView() {
    auto* view = new QTextEdit();
    view->setReadOnly(true);
    view->setAcceptRichText(false);
    view->setTextInteractionFlags(Qt::NoTextInteraction);
    view->setFont(previewFont());
    view->setLineWrapMode(QTextEdit::WidgetWidth);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setFrameShape(QFrame::NoFrame);
    view->document()->setDocumentMargin(8);
    view->viewport()->setAutoFillBackground(true);
    return view;
}

// Colours the sample into the view: the base attributes everywhere, each token's attributes over
// its range, every font replaced by the preview font.
void colorPreview(QTextEdit* view, const QString& sample, const SyntaxLexer& lexer, const SyntaxTheme& theme,
                  const QColor& background) {
    QPalette palette = view->viewport()->palette();
    palette.setColor(QPalette::Base, background);
    view->viewport()->setPalette(palette);
    view->setPalette(palette);

    const QFont font = previewFont();
    QTextCharFormat base = theme.defaultAttributes();
    base.setFont(font);
    QTextDocument* document = view->document();
    document->clear();
    QTextCursor cursor(document);
    cursor.insertText(sample, base);
    for (const SyntaxToken& token : lexer.tokenize(sample)) {
        QTextCharFormat format = theme.attributes(token.type);
        format.setFont(font);
        cursor.setPosition(static_cast<int>(token.range.location));
        cursor.setPosition(static_cast<int>(token.range.location + token.range.length), QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

void post() {
    CarvexPlatform::NotificationCenter::defaultCenter().post(
        PreferenceNotifications::syntaxThemePreferencesDidChange);
}

}  // namespace

const QString SyntaxColorsPreferencesPane::jsonSample = QStringLiteral(
    "{\n  \"title\": \"Pet Store API\",\n  \"version\": 42,\n  \"active\": true,\n  \"deprecated\": null,\n"
    "  \"paths\": {\n    \"/pets\": {}\n  }\n}");

const QString SyntaxColorsPreferencesPane::yamlSample = QStringLiteral(
    "# OpenAPI specification\nopenapi: \"3.1.0\"\ninfo:\n  title: \"Pet Store API\"\n  version: 42\n"
    "  active: true\n  deprecated: null\npaths:\n  /pets: {}");

const std::vector<SyntaxColorsPreferencesPane::ColorSection>& SyntaxColorsPreferencesPane::colorSections() {
    static const std::vector<ColorSection> sections = {
        {QStringLiteral("Token Colors"),
         {Key::stringColor, Key::numberColor, Key::booleanColor, Key::nullColor, Key::punctuationColor,
          Key::keyColor, Key::commentColor, Key::indicatorColor, Key::defaultColor}},
        {QStringLiteral("Editor Colors"),
         {Key::linkColor, Key::ghostTextColor, Key::snippetTextColor, Key::snippetInputTextColor,
          Key::activeIndentGuideColor}},
    };
    return sections;
}

SyntaxColorsPreferencesPane::SyntaxColorsPreferencesPane()
    : SyntaxColorsPreferencesPane(SyntaxThemePreferencesStore::shared(),
                                  CarvexPlatform::Appearance::shared().isDark()) {}

SyntaxColorsPreferencesPane::SyntaxColorsPreferencesPane(SyntaxThemePreferencesStore& store, bool isDark)
    : appearanceSegment_(new QButtonGroup(this)),
      resetButton_(new QPushButton(QStringLiteral("Reset to Defaults"))),
      jsonPreviewTextView_(makePreviewTextView()),
      yamlPreviewTextView_(makePreviewTextView()),
      previewTabView_(new QTabWidget()),
      isDark_(isDark),
      store_(&store) {
    auto* body = new QHBoxLayout();
    body->setSpacing(12);
    body->addWidget(makeColorList(), 0, Qt::AlignTop);
    body->addWidget(makePreviewTabs(), 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(16);
    layout->addWidget(makeHeader());
    auto* bodyHolder = new QWidget(this);
    bodyHolder->setLayout(body);
    body->setContentsMargins(0, 0, 0, 0);
    bodyHolder->setFixedHeight(440);
    layout->addWidget(bodyHolder);

    reloadColorWells();
    updatePreviews();
}

QWidget* SyntaxColorsPreferencesPane::makeHeader() {
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(makeLabel(QStringLiteral("Appearance:"), 13, QFont::Medium, header));

    // Two segments, one selected at a time.
    auto* segments = new QHBoxLayout();
    segments->setSpacing(0);
    int index = 0;
    for (const QString& title : {QStringLiteral("Dark"), QStringLiteral("Light")}) {
        auto* segment = new QPushButton(title, header);
        segment->setCheckable(true);
        appearanceSegment_->addButton(segment, index++);
        segments->addWidget(segment);
    }
    appearanceSegment_->setExclusive(true);
    appearanceSegment_->button(isDark_ ? 0 : 1)->setChecked(true);
    connect(appearanceSegment_, &QButtonGroup::idClicked, this, [this] { appearanceChanged(); });
    row->addLayout(segments);
    row->addStretch(1);
    resetButton_->setParent(header);
    connect(resetButton_, &QPushButton::clicked, this, [this] { resetToDefaults(); });
    row->addWidget(resetButton_);
    return header;
}

QWidget* SyntaxColorsPreferencesPane::makeColorList() {
    auto* list = new QWidget();
    auto* stack = new QVBoxLayout(list);
    stack->setContentsMargins(0, 0, 8, 8);
    stack->setSpacing(12);
    for (const ColorSection& section : colorSections()) {
        auto* content = new QWidget();
        auto* sectionStack = new QVBoxLayout(content);
        sectionStack->setContentsMargins(0, 0, 0, 0);
        sectionStack->setSpacing(8);
        QLabel* title = makeLabel(section.title, 12, QFont::DemiBold, content);
        QPalette palette = title->palette();
        palette.setColor(QPalette::WindowText, CarvexPlatform::systemColor(SystemColor::secondaryLabel));
        title->setPalette(palette);
        sectionStack->addWidget(title);
        auto* rows = new QVBoxLayout();
        rows->setSpacing(4);
        for (const Key key : section.keys) {
            auto* row = new QHBoxLayout();
            row->setSpacing(8);
            auto* well = new CarvexPlatform::ColorWell(content);
            connect(well, &CarvexPlatform::ColorWell::activated, this, [this, well] { colorChanged(well); });
            colorWells_[key] = well;
            row->addWidget(well);
            row->addWidget(makeLabel(displayName(key), 12, QFont::Normal, content));
            row->addStretch(1);
            rows->addLayout(row);
        }
        sectionStack->addLayout(rows);
        stack->addWidget(new PreferencesSectionBox(content, QMargins(12, 12, 12, 12), list));
    }
    stack->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->viewport()->setAutoFillBackground(false);
    list->setAutoFillBackground(false);
    scroll->setFixedWidth(200);
    return scroll;
}

QWidget* SyntaxColorsPreferencesPane::makePreviewTabs() {
    previewTabView_->setParent(this);
    const std::pair<QTextEdit*, QString> tabs[] = {{jsonPreviewTextView_, QStringLiteral("JSON")},
                                                   {yamlPreviewTextView_, QStringLiteral("YAML")}};
    for (const auto& [view, label] : tabs) {
        auto* container = new QWidget();
        auto* fill = new QVBoxLayout(container);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(view);
        container->setObjectName(label.toLower());
        previewTabView_->addTab(container, label);
    }
    return previewTabView_;
}

int SyntaxColorsPreferencesPane::selectedAppearanceSegment() const { return appearanceSegment_->checkedId(); }

QPushButton* SyntaxColorsPreferencesPane::appearanceSegmentButton(int segment) const {
    return qobject_cast<QPushButton*>(appearanceSegment_->button(segment));
}

CarvexPlatform::ColorWell* SyntaxColorsPreferencesPane::colorWell(SyntaxThemePreferenceKey key) const {
    const auto it = colorWells_.find(key);
    return it == colorWells_.end() ? nullptr : it->second;
}

void SyntaxColorsPreferencesPane::appearanceChanged() {
    isDark_ = selectedAppearanceSegment() == 0;
    reloadColorWells();
    updatePreviews();
}

void SyntaxColorsPreferencesPane::colorChanged(QObject* sender) {
    for (const auto& [key, well] : colorWells_) {
        if (well == sender) {
            store_->setColor(well->color(), key, isDark_);
            updatePreviews();
            post();
            return;
        }
    }
}

void SyntaxColorsPreferencesPane::resetToDefaults() {
    const CarvexPlatform::Alert alert{
        .style = CarvexPlatform::AlertStyle::warning,
        .messageText = QStringLiteral("Reset Syntax Colors"),
        .informativeText = QStringLiteral(
            "This will reset all syntax colors to their default values for both dark and light appearances."),
        .buttons = {QStringLiteral("Reset"), QStringLiteral("Cancel")},
    };
    QWidget* sheetWindow = parentWidget() != nullptr ? window() : nullptr;
    QPointer<SyntaxColorsPreferencesPane> pane(this);
    CarvexPlatform::AlertPresenter::shared().present(alert, sheetWindow, [pane](int button) {
        if (!pane || button != 0) {
            return;
        }
        pane->store_->resetAllColors();
        pane->reloadColorWells();
        pane->updatePreviews();
        post();
    });
}

void SyntaxColorsPreferencesPane::reloadColorWells() {
    for (const auto& [key, well] : colorWells_) {
        well->setColor(store_->color(key, isDark_));
    }
}

void SyntaxColorsPreferencesPane::updatePreviews() {
    const SyntaxTheme theme = store_->buildTheme(isDark_);
    const QColor background = isDark_ ? QColor::fromRgbF(0.12f, 0.12f, 0.14f)
                                      : CarvexPlatform::systemColor(SystemColor::white, false);
    colorPreview(jsonPreviewTextView_, jsonSample, JSONLexer(), theme, background);
    colorPreview(yamlPreviewTextView_, yamlSample, YAMLLexer(), theme, background);
}

}  // namespace Carvex
