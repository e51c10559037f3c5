#include "Carvex/Examples/ExampleGeneratorViewController.h"

#include "Carvex/ModelAdapters/AnyValueText.h"
#include "Carvex/Syntax/DocumentLanguage.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "platform/Appearance.h"
#include "platform/BackgroundTask.h"
#include "platform/NotificationCenter.h"
#include "platform/SystemColor.h"
#include "platform/SystemSymbol.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStringList>
#include <QToolButton>
#include <QVBoxLayout>

#include <map>
#include <string_view>
#include <utility>

namespace Carvex {

namespace {

QFont labelFont(double pointSize) {
    QFont font = QApplication::font();
    font.setPointSizeF(pointSize);
    return font;
}

QFrame* makeSeparator() {
    auto* separator = new QFrame();
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setFixedHeight(1);
    return separator;
}

void setTextColor(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget.setPalette(palette);
}

}  // namespace

ExampleGeneratorViewController::ExampleGeneratorViewController(
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : scheduler_(std::move(scheduler)) {
    setTitle(QStringLiteral("Examples"));
}

ExampleGeneratorViewController::~ExampleGeneratorViewController() {
    CarvexPlatform::NotificationCenter::defaultCenter().removeObserver(this);
}

QFont ExampleGeneratorViewController::outputFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(outputFontSize);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

SyntaxTheme ExampleGeneratorViewController::themeInOutputFont(const SyntaxTheme& theme) {
    return theme.inFont(outputFont());
}

// MARK: Views

QWidget* ExampleGeneratorViewController::loadView() {
    auto* view = new QWidget();
    view->setObjectName(QStringLiteral("ExampleGeneratorView"));
    return view;
}

void ExampleGeneratorViewController::viewDidLoad() {
    setupUI();
    setupHighlighting();
    observeThemeChanges();
    // The coordinator may have filled the panel before its view existed.
    fillOperationPopup();
    fillTargetPopup();
    setOutputText(outputText_);
    if (!outputText_.isEmpty() && outputText_ != noSchemaText && highlightingController_) {
        highlightingController_->performHighlight();
    }
    updateEmptyState();
}

void ExampleGeneratorViewController::setupUI() {
    QWidget* root = view();
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The top strip holds only the copy button, at its trailing end.
    auto* strip = new QWidget(root);
    strip->setObjectName(QStringLiteral("ExampleGeneratorButtonStrip"));
    strip->setFixedHeight(tabButtonsHeight);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 4, 0);
    stripLayout->addStretch(1);
    copyButton_ = makeCopyButton();
    stripLayout->addWidget(copyButton_, 0, Qt::AlignVCenter);

    layout->addWidget(strip);
    layout->addWidget(makeSeparator());
    layout->addWidget(makeHeaderView());
    outputTextView_ = makeOutputView();
    layout->addWidget(outputTextView_, 1);
    emptyPlaceholderView_ = makeEmptyPlaceholderView();
    layout->addWidget(emptyPlaceholderView_, 1);
}

QWidget* ExampleGeneratorViewController::makeHeaderView() {
    auto* header = new QWidget();
    header->setObjectName(QStringLiteral("ExampleGeneratorHeader"));
    auto* column = new QVBoxLayout(header);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* row = new QHBoxLayout();
    row->setContentsMargins(8, 4, 8, 4);
    row->setSpacing(4);
    const auto makeLabel = [](const QString& text) {
        auto* label = new QLabel(text);
        label->setFont(labelFont(11));
        return label;
    };
    const auto makePopup = [](const QString& name) {
        auto* popup = new QComboBox();
        popup->setObjectName(name);
        popup->setFont(labelFont(11));
        popup->setEditable(false);
        popup->setMinimumWidth(popupMinimumWidth);
        popup->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        popup->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        return popup;
    };
    operationPopup_ = makePopup(QStringLiteral("OperationPopup"));
    targetPopup_ = makePopup(QStringLiteral("TargetPopup"));
    // Only the user's choice acts: filling the pop-ups in code sends no `activated`.
    connect(operationPopup_, &QComboBox::activated, this, &ExampleGeneratorViewController::operationSelected);
    connect(targetPopup_, &QComboBox::activated, this, &ExampleGeneratorViewController::targetSelected);
    row->addWidget(makeLabel(QStringLiteral("Operation:")), 0, Qt::AlignVCenter);
    row->addWidget(operationPopup_, 0, Qt::AlignVCenter);
    row->addWidget(makeLabel(QStringLiteral("Target:")), 0, Qt::AlignVCenter);
    row->addWidget(targetPopup_, 0, Qt::AlignVCenter);
    row->addStretch(1);
    column->addLayout(row);
    column->addWidget(makeSeparator());
    return header;
}

EditorTextView* ExampleGeneratorViewController::makeOutputView() {
    auto* textView = new EditorTextView(nullptr, scheduler_);
    textView->setObjectName(QStringLiteral("ExampleGeneratorOutput"));
    textView->setReadOnly(true);
    textView->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    textView->setHighlightCurrentLine(false);
    textView->setShowIndentGuides(false);
    textView->setFont(outputFont());
    textView->setFrameShape(QFrame::NoFrame);
    textView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    textView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    textView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    textView->document()->setDocumentMargin(8);
    textView->setUndoRedoEnabled(false);
    // No background of its own: the panel's shows through.
    QPalette palette = textView->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    textView->setPalette(palette);
    textView->viewport()->setAutoFillBackground(false);
    return textView;
}

QWidget* ExampleGeneratorViewController::makeEmptyPlaceholderView() {
    auto* placeholder = new QWidget();
    placeholder->setObjectName(QStringLiteral("ExampleGeneratorPlaceholder"));
    auto* layout = new QVBoxLayout(placeholder);
    layout->setContentsMargins(16, 0, 16, 0);
    auto* label = new QLabel(noDocumentText);
    label->setFont(labelFont(13));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    layout->addWidget(label, 0, Qt::AlignCenter);
    emptyPlaceholderLabel_ = label;
    return placeholder;
}

QToolButton* ExampleGeneratorViewController::makeCopyButton() {
    auto* button = new QToolButton();
    button->setObjectName(QStringLiteral("ExampleGeneratorCopyButton"));
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setToolTip(QStringLiteral("Copy to Clipboard"));
    button->setAccessibleName(QStringLiteral("Copy"));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this] { copyOutputToPasteboard(); });
    return button;
}

// MARK: Colours

void ExampleGeneratorViewController::setupHighlighting() {
    if (!outputTextView_) {
        return;
    }
    const bool isDark = CarvexPlatform::Appearance::shared().isDark();
    const SyntaxTheme theme = themeInOutputFont(SyntaxThemePreferencesStore::shared().buildTheme(isDark));
    highlightingController_ = std::make_unique<SyntaxHighlightingController>(outputTextView_, theme);
    // The output takes the theme's colours at once: a text shown before any pass has run (the line
    // saying there is no schema gets none) is drawn in them too.
    outputTextView_->colorLayer().setTheme(theme);
    highlightingController_->setLanguage(DocumentLanguage::json);
    applyChromeColors(isDark);
}

void ExampleGeneratorViewController::observeThemeChanges() {
    CarvexPlatform::NotificationCenter::defaultCenter().addObserver(
        this, syntaxThemePreferencesDidChangeNotification, nullptr,
        [this](const CarvexPlatform::Notification&) { applyCurrentTheme(); });
    // Nothing here tells of the application's occlusion, so a new appearance recolours at once.
    connect(&CarvexPlatform::Appearance::shared(), &CarvexPlatform::Appearance::changed, this,
            [this](bool) { applyCurrentTheme(); });
}

void ExampleGeneratorViewController::applyCurrentTheme() {
    const bool isDark = CarvexPlatform::Appearance::shared().isDark();
    if (highlightingController_) {
        highlightingController_->setTheme(
            themeInOutputFont(SyntaxThemePreferencesStore::shared().buildTheme(isDark)));
    }
    applyChromeColors(isDark);
}

void ExampleGeneratorViewController::applyChromeColors(bool isDark) {
    const QColor secondary = CarvexPlatform::systemColor(CarvexPlatform::SystemColor::secondaryLabel, isDark);
    if (emptyPlaceholderLabel_) {
        setTextColor(*emptyPlaceholderLabel_, secondary);
    }
    if (QWidget* root = isViewLoaded() ? view() : nullptr) {
        for (QLabel* label : root->findChildren<QLabel*>()) {
            if (label != emptyPlaceholderLabel_) {
                setTextColor(*label, secondary);
            }
        }
    }
    if (copyButton_) {
        if (const auto image = CarvexPlatform::SystemSymbol::image(QStringLiteral("doc.on.doc"), 13,
                                                                   QStringLiteral("Copy"))) {
            QImage tinted = *image;
            QPainter painter(&tinted);
            painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            painter.fillRect(tinted.rect(),
                             CarvexPlatform::systemColor(CarvexPlatform::SystemColor::controlText, isDark));
            painter.end();
            copyButton_->setIcon(QIcon(QPixmap::fromImage(tinted)));
        }
    }
}

// MARK: What the coordinator drives

void ExampleGeneratorViewController::setCurrentModel(const std::optional<ParsedOpenAPIModel>& model) {
    releaseInBackground(std::exchange(currentModel_, model));
}

void ExampleGeneratorViewController::releaseInBackground(std::optional<ParsedOpenAPIModel> model) {
    // The panel may be the last holder of a large model, which takes tens of milliseconds to free.
    if (!model) {
        return;
    }
    CarvexPlatform::BackgroundTask::run(
        [model = std::move(model)]() mutable {
            model.reset();
            return true;
        },
        [](bool) {}, scheduler_);
}

void ExampleGeneratorViewController::setOperations(std::vector<OperationRowViewModel> operations) {
    operations_ = std::move(operations);
    if (selectedOperationIndex_ >= static_cast<int>(operations_.size())) {
        selectedOperationIndex_ = -1;
    }
}

void ExampleGeneratorViewController::reloadOperations(const std::optional<QString>& path,
                                                      std::optional<HTTPMethod> method) {
    selectedOperationIndex_ = operations_.empty() ? -1 : 0;
    if (path && method) {
        for (std::size_t index = 0; index < operations_.size(); ++index) {
            if (operations_[index].path() == *path && operations_[index].method() == *method) {
                selectedOperationIndex_ = static_cast<int>(index);
                break;
            }
        }
    }
    fillOperationPopup();
}

void ExampleGeneratorViewController::reloadTargets() {
    if (!currentModel_ || !hasValidOperation()) {
        currentTargets_.clear();
        selectedTargetIndex_ = -1;
        fillTargetPopup();
        setOutputText(QString());
        updateEmptyState();
        return;
    }
    std::optional<ExampleSource> remembered;
    if (hasValidTarget()) {
        remembered = currentTargets_[static_cast<std::size_t>(selectedTargetIndex_)];
    }
    const OperationRowViewModel& row = operations_[static_cast<std::size_t>(selectedOperationIndex_)];
    currentTargets_ = service_.availableTargets(row.path(), row.method(), *currentModel_);
    selectedTargetIndex_ = currentTargets_.empty() ? -1 : 0;
    if (remembered) {
        for (std::size_t index = 0; index < currentTargets_.size(); ++index) {
            if (currentTargets_[index] == *remembered) {
                selectedTargetIndex_ = static_cast<int>(index);
                break;
            }
        }
    }
    fillTargetPopup();
    regenerate();
    updateEmptyState();
}

void ExampleGeneratorViewController::regenerate() {
    if (!currentModel_ || !hasValidOperation() || !hasValidTarget()) {
        setOutputText(QString());
        return;
    }
    const OperationRowViewModel& row = operations_[static_cast<std::size_t>(selectedOperationIndex_)];
    const auto value = service_.generateExample(currentTargets_[static_cast<std::size_t>(selectedTargetIndex_)],
                                                row.path(), row.method(), *currentModel_);
    if (!value) {
        setOutputText(noSchemaText);
        return;
    }
    setOutputText(QString::fromStdString(AnyValueText::prettyJSONString(*value, 2)));
    // Loading the text in code announces no change, so the colours are asked for here.
    if (highlightingController_) {
        highlightingController_->performHighlight();
    }
}

void ExampleGeneratorViewController::copyOutputToPasteboard() {
    if (outputText_.isEmpty()) {
        return;
    }
    QGuiApplication::clipboard()->setText(outputText_, QClipboard::Clipboard);
}

void ExampleGeneratorViewController::updateEmptyState() {
    const bool hasContent = currentModel_.has_value() && !operations_.empty();
    if (emptyPlaceholderView_) {
        emptyPlaceholderView_->setVisible(!hasContent);
    }
    if (outputTextView_) {
        outputTextView_->setVisible(hasContent);
    }
    if (copyButton_) {
        copyButton_->setVisible(hasContent);
    }
    if (operationPopup_) {
        operationPopup_->setEnabled(hasContent);
    }
    if (targetPopup_) {
        targetPopup_->setEnabled(hasContent && !currentTargets_.empty());
    }
    if (emptyPlaceholderLabel_) {
        if (!currentModel_) {
            emptyPlaceholderLabel_->setText(noDocumentText);
        } else if (operations_.empty()) {
            emptyPlaceholderLabel_->setText(noOperationsText);
        }
    }
}

void ExampleGeneratorViewController::clear() {
    releaseInBackground(std::exchange(currentModel_, std::nullopt));
    operations_.clear();
    currentTargets_.clear();
    selectedOperationIndex_ = -1;
    selectedTargetIndex_ = -1;
    fillOperationPopup();
    fillTargetPopup();
    setOutputText(QString());
    updateEmptyState();
}

// MARK: The pop-ups and the output

void ExampleGeneratorViewController::operationSelected(int index) {
    selectedOperationIndex_ = index;
    reloadTargets();
}

void ExampleGeneratorViewController::targetSelected(int index) {
    selectedTargetIndex_ = index;
    regenerate();
}

void ExampleGeneratorViewController::fillOperationPopup() {
    if (!operationPopup_) {
        return;
    }
    QStringList titles;
    titles.reserve(static_cast<qsizetype>(operations_.size()));
    for (const OperationRowViewModel& row : operations_) {
        const std::string_view method = rawValue(row.method());
        titles.append(QString::fromLatin1(method.data(), static_cast<qsizetype>(method.size())) + QLatin1Char(' ') +
                      row.path());
    }
    // A re-parse mostly lists the same operations: the items stay, only the choice is set again.
    bool same = operationPopup_->count() == titles.size();
    for (qsizetype index = 0; same && index < titles.size(); ++index) {
        same = operationPopup_->itemText(static_cast<int>(index)) == titles[index];
    }
    if (!same) {
        operationPopup_->clear();
        operationPopup_->addItems(titles);
    }
    operationPopup_->setCurrentIndex(selectedOperationIndex_);
}

void ExampleGeneratorViewController::fillTargetPopup() {
    if (!targetPopup_) {
        return;
    }
    QStringList titles;
    titles.reserve(static_cast<qsizetype>(currentTargets_.size()));
    for (const ExampleSource& target : currentTargets_) {
        titles.append(target.displayTitle());
    }
    targetPopup_->clear();
    targetPopup_->addItems(titles);
    targetPopup_->setCurrentIndex(selectedTargetIndex_);
}

void ExampleGeneratorViewController::setOutputText(const QString& text) {
    outputText_ = text;
    if (outputTextView_) {
        outputTextView_->loadText(text);
    }
}

bool ExampleGeneratorViewController::hasValidOperation() const {
    return selectedOperationIndex_ >= 0 && static_cast<std::size_t>(selectedOperationIndex_) < operations_.size();
}

bool ExampleGeneratorViewController::hasValidTarget() const {
    return selectedTargetIndex_ >= 0 && static_cast<std::size_t>(selectedTargetIndex_) < currentTargets_.size();
}

}  // namespace Carvex
