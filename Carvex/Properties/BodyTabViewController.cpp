#include "Carvex/Properties/BodyTabViewController.h"

#include "Carvex/ModelAdapters/ParamLocation.h"
#include "Carvex/Properties/CollapsibleSectionView.h"
#include "Carvex/Properties/DetailFonts.h"
#include "Carvex/Properties/TopAlignedScrollArea.h"
#include "Carvex/Properties/ElidingLabel.h"
#include "Carvex/Properties/FlowLayout.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/SelfSizingTextView.h"
#include "platform/NotificationCenter.h"
#include "platform/SystemSymbol.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace Carvex {

namespace {

using CarvexPlatform::SystemColor;

int clampedLine(int64_t line) {
    return static_cast<int>(std::clamp<int64_t>(line, 1, std::numeric_limits<int>::max()));
}

QHBoxLayout* horizontalStack(QWidget* owner, int spacing) {
    auto* layout = new QHBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

// A row of labels and buttons that goes on in a new line where the pane is too narrow for it.
FlowLayout* flowingRow(QWidget* owner, int spacing) { return new FlowLayout(owner, spacing, 2); }

// A one-line label in `font` and `color` that cuts its text with an ellipsis where it is too narrow.
ElidingLabel* elidingLabel(const QString& text, const QFont& font, SystemColor color) {
    auto* label = new ElidingLabel(text);
    label->setFont(font);
    DetailFonts::setTextColor(label, color);
    return label;
}

}  // namespace

QWidget* BodyTabViewController::loadView() {
    auto* root = new QWidget();
    root->setObjectName(QStringLiteral("bodyTab"));
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(0);

    setupToolbar(root);
    layout->addWidget(toolbarBar_);

    documentView_ = new QWidget();
    stackView_ = new QVBoxLayout(documentView_);
    stackView_->setContentsMargins(12, 8, 12, 12);
    stackView_->setSpacing(8);

    scrollView_ = makeTopAlignedScrollArea(documentView_);
    layout->addWidget(scrollView_, 1);

    emptyLabel_ = DetailFonts::label(tr("No request data"), DetailFonts::system(13), SystemColor::tertiaryLabel);
    emptyLabel_->setAlignment(Qt::AlignCenter);
    emptyLabel_->hide();
    layout->addWidget(emptyLabel_, 1);
    return root;
}

void BodyTabViewController::setupToolbar(QWidget* root) {
    toolbarBar_ = new QWidget(root);
    toolbarBar_->setObjectName(QStringLiteral("bodyToolbar"));
    toolbarBar_->setFixedHeight(28);
    auto* bar = horizontalStack(toolbarBar_, 4);
    bar->setContentsMargins(12, 0, 12, 0);
    bar->addStretch(1);
    expandAllButton_ = new QToolButton(toolbarBar_);
    configureToolbarIconButton(expandAllButton_, QStringLiteral("arrow.up.left.and.arrow.down.right"),
                               QStringLiteral("Expand All"));
    connect(expandAllButton_, &QToolButton::clicked, this, [this] { expandAllSections(); });
    collapseAllButton_ = new QToolButton(toolbarBar_);
    configureToolbarIconButton(collapseAllButton_, QStringLiteral("arrow.down.right.and.arrow.up.left"),
                               QStringLiteral("Collapse All"));
    connect(collapseAllButton_, &QToolButton::clicked, this, [this] { collapseAllSections(); });
    bar->addWidget(expandAllButton_, 0, Qt::AlignVCenter);
    bar->addWidget(collapseAllButton_, 0, Qt::AlignVCenter);
}

void BodyTabViewController::configureToolbarIconButton(QToolButton* button, const QString& symbolName,
                                                       const QString& label) {
    if (auto image = CarvexPlatform::SystemSymbol::image(symbolName, 14, label)) {
        // Symbols come in black: tint them with the secondary label colour. The colour replaces the
        // black, its own transparency included (drawn atop, a translucent grey would leave it black).
        QPixmap pixmap = QPixmap::fromImage(*image);
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), CarvexPlatform::systemColor(SystemColor::secondaryLabel));
        painter.end();
        button->setIcon(QIcon(pixmap));
    }
    button->setAccessibleName(label);
    button->setToolTip(label);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setFixedSize(24, 24);
}

void BodyTabViewController::addToList(QWidget* view) { stackView_->addWidget(view); }

QWidget* BodyTabViewController::makeSeparator() {
    auto* separator = new QFrame();
    separator->setObjectName(QStringLiteral("separator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Plain);
    DetailFonts::setTextColor(separator, SystemColor::separator);
    return separator;
}

void BodyTabViewController::configure(const OperationDetailsViewModel& details) {
    view();
    collapsibleSections_.clear();
    while (QLayoutItem* item = stackView_->takeAt(0)) {
        // No row's own signal rebuilds the tab, so the rows can go at once.
        delete item->widget();
        delete item;
    }

    const bool hasContent = details.hasParameters() || details.hasRequestBody() || !details.responses.empty();
    scrollView_->setVisible(hasContent);
    toolbarBar_->setVisible(hasContent);
    emptyLabel_->setVisible(!hasContent);
    if (!hasContent) {
        return;
    }

    for (ParamLocation location : {ParamLocation::path, ParamLocation::query, ParamLocation::header, ParamLocation::cookie}) {
        std::vector<OperationParameterViewModel> parameters = details.parametersIn(location);
        if (parameters.empty()) {
            continue;
        }
        const QString title =
            QStringLiteral("%1 Parameters (%2)").arg(displayName(location)).arg(parameters.size());
        auto* section = new CollapsibleSectionView(title, true);
        section->setContentBuilder([this, parameters = std::move(parameters)](QVBoxLayout& content) {
            for (const auto& parameter : parameters) {
                content.addWidget(makeParameterRow(parameter));
            }
        });
        collapsibleSections_.emplace_back(section);
        addToList(section);
    }
    if (details.requestBody) {
        if (details.hasParameters()) {
            addToList(makeSeparator());
        }
        addRequestBodySection(*details.requestBody);
    }
    if (!details.responses.empty()) {
        if (details.hasRequestBody() || details.hasParameters()) {
            addToList(makeSeparator());
        }
        addResponsesSection(details.responses);
    }
}

QWidget* BodyTabViewController::makeParameterRow(const OperationParameterViewModel& parameter) {
    auto* row = new QWidget();
    auto* rows = new QVBoxLayout(row);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);

    auto* header = new QWidget(row);
    header->setObjectName(QStringLiteral("parameterHeader"));
    FlowLayout* line = flowingRow(header, 6);
    line->addWidget(elidingLabel(parameter.name, DetailFonts::monospaced(12, QFont::DemiBold), SystemColor::label));
    const QString type = parameter.schemaType.value_or(QString());
    const QString format = parameter.format.value_or(QString());
    QString typeText = type;
    if (!type.isEmpty() && parameter.format) {
        typeText = type + QStringLiteral(" \u00B7 ") + format;
    } else if (type.isEmpty() && parameter.format) {
        typeText = format;
    }
    if (!typeText.isEmpty()) {
        line->addWidget(elidingLabel(typeText, DetailFonts::monospaced(11), SystemColor::systemBlue));
    }
    if (parameter.required) {
        line->addWidget(DetailFonts::label(QStringLiteral("Required"), DetailFonts::system(10, QFont::Medium),
                                           SystemColor::systemRed));
    }
    if (parameter.deprecated) {
        line->addWidget(DetailFonts::label(QStringLiteral("Deprecated"), DetailFonts::system(10, QFont::Medium),
                                           SystemColor::systemOrange));
    }
    if (parameter.sourceLine) {
        line->addWidget(makeRevealButton(*parameter.sourceLine));
    }
    rows->addWidget(header);

    if (parameter.description && !parameter.description->isEmpty()) {
        rows->addWidget(SelfSizingTextView::makeDescriptionView(*parameter.description, 11));
    }
    if (parameter.defaultValue) {
        rows->addWidget(elidingLabel(QStringLiteral("Default: ") + *parameter.defaultValue, DetailFonts::monospaced(10),
                                     SystemColor::tertiaryLabel));
    }
    if (parameter.enumValues && !parameter.enumValues->isEmpty()) {
        auto* values = new ElidingLabel(QStringLiteral("Enum: ") + parameter.enumValues->join(QStringLiteral(", ")));
        values->setFont(DetailFonts::monospaced(10));
        DetailFonts::setTextColor(values, SystemColor::tertiaryLabel);
        rows->addWidget(values);
    }
    return row;
}

void BodyTabViewController::addRequestBodySection(const OperationRequestBodyViewModel& body) {
    auto* block = new QWidget();
    block->setObjectName(QStringLiteral("requestBody"));
    auto* rows = new QVBoxLayout(block);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(6);
    rows->addWidget(DetailFonts::label(QStringLiteral("Request Body"), DetailFonts::system(12, QFont::DemiBold),
                                       SystemColor::label));
    rows->addWidget(DetailFonts::label(body.required ? QStringLiteral("Required") : QStringLiteral("Optional"),
                                       DetailFonts::system(10, QFont::Medium),
                                       body.required ? SystemColor::systemRed : SystemColor::systemGray));
    if (body.contentTypes.size() == 1) {
        rows->addWidget(elidingLabel(body.contentTypes.front(), DetailFonts::monospaced(11), SystemColor::secondaryLabel));
    } else if (body.contentTypes.size() > 1) {
        auto* chips = new QWidget(block);
        chips->setObjectName(QStringLiteral("contentTypeChips"));
        FlowLayout* chipRow = flowingRow(chips, 6);
        for (const QString& type : body.contentTypes) {
            chipRow->addWidget(makeContentTypeChip(type));
        }
        rows->addWidget(chips);
    }
    if (body.description && !body.description->isEmpty()) {
        rows->addWidget(SelfSizingTextView::makeDescriptionView(*body.description, 12));
    }
    auto* actions = new QWidget(block);
    actions->setObjectName(QStringLiteral("actions"));
    FlowLayout* actionRow = flowingRow(actions, 8);
    if (body.schemaDescription) {
        actionRow->addWidget(elidingLabel(QStringLiteral("Schema: ") + body.schemaName.value_or(*body.schemaDescription),
                                          DetailFonts::monospaced(11), SystemColor::systemBlue));
    }
    actionRow->addWidget(makeSchemaButton(QStringLiteral("requestBody")));
    if (const auto line = body.sourceLine ? body.sourceLine : body.schemaSourceLine) {
        actionRow->addWidget(makeRevealButton(*line));
    }
    rows->addWidget(actions);
    addToList(block);
}

void BodyTabViewController::addResponsesSection(const std::vector<OperationResponseViewModel>& responses) {
    addToList(DetailFonts::label(QStringLiteral("Responses"), DetailFonts::system(12, QFont::DemiBold), SystemColor::label));
    for (const auto& response : responses) {
        auto* section = new CollapsibleSectionView(response.statusCode + QStringLiteral(" \u2014 ") + response.description, true);
        section->setContentBuilder([this, response](QVBoxLayout& content) { content.addWidget(makeResponseContent(response)); });
        collapsibleSections_.emplace_back(section);
        addToList(section);
    }
}

QWidget* BodyTabViewController::makeResponseContent(const OperationResponseViewModel& response) {
    auto* content = new QWidget();
    auto* rows = new QVBoxLayout(content);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(6);
    if (!response.description.isEmpty()) {
        rows->addWidget(SelfSizingTextView::makeDescriptionView(response.description, 11));
    }
    if (!response.contentTypes.isEmpty()) {
        rows->addWidget(elidingLabel(QStringLiteral("Content: ") + response.contentTypes.join(QStringLiteral(", ")),
                                     DetailFonts::monospaced(11), SystemColor::secondaryLabel));
    }
    auto* actions = new QWidget(content);
    actions->setObjectName(QStringLiteral("actions"));
    FlowLayout* actionRow = flowingRow(actions, 8);
    if (response.schemaDescription) {
        actionRow->addWidget(elidingLabel(QStringLiteral("Schema: ") + *response.schemaDescription,
                                          DetailFonts::monospaced(11), SystemColor::systemBlue));
        actionRow->addWidget(makeSchemaButton(QStringLiteral("response:") + response.statusCode));
    }
    if (const auto line = response.sourceLine ? response.sourceLine : response.schemaSourceLine) {
        actionRow->addWidget(makeRevealButton(*line));
    }
    if (actionRow->count() > 0) {
        rows->addWidget(actions);
    } else {
        delete actions;
    }
    return content;
}

QPushButton* BodyTabViewController::makeRevealButton(int64_t line) {
    const int target = clampedLine(line);
    auto* button = new QPushButton(QStringLiteral("Reveal in Editor"));
    button->setObjectName(QStringLiteral("revealInEditor"));
    button->setProperty("line", target);
    button->setFlat(true);
    button->setFont(DetailFonts::system(11));
    button->setCursor(Qt::PointingHandCursor);
    DetailFonts::setTextColor(button, SystemColor::secondaryLabel);
    connect(button, &QPushButton::clicked, this, [this, target] { requestReveal(target); });
    return button;
}

QPushButton* BodyTabViewController::makeSchemaButton(const QString& identifier) {
    auto* button = new QPushButton(QStringLiteral("View in Schema tab"));
    button->setObjectName(identifier);
    button->setFlat(true);
    button->setFont(DetailFonts::system(11));
    button->setCursor(Qt::PointingHandCursor);
    DetailFonts::setTextColor(button, SystemColor::secondaryLabel);
    connect(button, &QPushButton::clicked, this, [this, identifier] { switchToSchemaTabFromIdentifier(identifier); });
    return button;
}

QWidget* BodyTabViewController::makeContentTypeChip(const QString& mediaType) {
    // A media type too long for the pane is cut.
    ElidingLabel* chip = elidingLabel(mediaType, DetailFonts::monospaced(10), SystemColor::label);
    chip->setObjectName(QStringLiteral("contentTypeChip"));
    chip->setContentsMargins(4, 1, 4, 1);
    chip->setStyleSheet(QStringLiteral("QLabel#contentTypeChip { background-color: %1; border: 0.5px solid %2;"
                                       " border-radius: 4px; }")
                            .arg(CarvexPlatform::systemColor(SystemColor::controlBackground).name(QColor::HexArgb),
                                 CarvexPlatform::systemColor(SystemColor::separator).name(QColor::HexArgb)));
    return chip;
}

void BodyTabViewController::switchToSchemaTabFromIdentifier(const QString& identifier) {
    if (!onSwitchToSchemaTab) {
        return;
    }
    static const QString responsePrefix = QStringLiteral("response:");
    if (identifier.isEmpty() || identifier == QLatin1String("requestBody")) {
        onSwitchToSchemaTab(std::nullopt);
    } else if (identifier.startsWith(responsePrefix)) {
        onSwitchToSchemaTab(identifier.mid(responsePrefix.size()));
    }
}

void BodyTabViewController::requestReveal(int line) {
    if (onRevealInEditor) {
        onRevealInEditor(line);
    }
    CarvexPlatform::NotificationCenter::defaultCenter().post(PropertiesViewController::didRequestNavigationNotification,
                                                             navigationSender_,
                                                             QVariantMap{{PropertiesViewController::lineKey, line}});
}

void BodyTabViewController::expandAllSections() {
    // The list is laid out once for all the sections, not once for each as it is shown.
    const bool hidden = documentView_->isHidden();
    documentView_->setHidden(true);
    for (const auto& section : collapsibleSections_) {
        if (section && section->isCollapsed()) {
            section->setCollapsed(false, true);
        }
    }
    documentView_->setHidden(hidden);
}

void BodyTabViewController::collapseAllSections() {
    for (const auto& section : collapsibleSections_) {
        if (section && !section->isCollapsed()) {
            section->setCollapsed(true, true);
        }
    }
}

}  // namespace Carvex
