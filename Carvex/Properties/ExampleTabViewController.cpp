#include "Carvex/Properties/ExampleTabViewController.h"

#include "Carvex/ModelAdapters/AnyValueText.h"
#include "Carvex/Properties/DetailFonts.h"
#include "Carvex/Properties/ElidingComboBox.h"
#include "Carvex/Properties/LineLimitedLabel.h"
#include "Carvex/Syntax/JSONLexer.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "platform/Appearance.h"
#include "platform/BackgroundTask.h"
#include "platform/SystemColor.h"
#include "platform/SystemSymbol.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <QVBoxLayout>

#include <map>
#include <utility>

namespace Carvex {

namespace {

using CarvexPlatform::SystemColor;

// A system symbol drawn in `color` (symbols come in black).
std::optional<QPixmap> tintedSymbol(const QString& name, double pointSize, const QString& description,
                                    SystemColor color) {
    const auto image = CarvexPlatform::SystemSymbol::image(name, pointSize, description);
    if (!image) {
        return std::nullopt;
    }
    // The label colours are translucent: the symbol takes the opaque colour, then the colour's alpha.
    const QColor tint = CarvexPlatform::systemColor(color);
    QImage tinted = image->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&tinted);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    QColor opaque = tint;
    opaque.setAlpha(255);
    painter.fillRect(tinted.rect(), opaque);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.fillRect(tinted.rect(), QColor(0, 0, 0, tint.alpha()));
    painter.end();
    return QPixmap::fromImage(tinted);
}

void fill(QComboBox& popup, const QStringList& titles) {
    // Index changes made here send no `activated`, so filling chooses nothing.
    popup.clear();
    popup.addItems(titles);
}

}  // namespace

ExampleTabViewController::ExampleTabViewController(std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : scheduler_(std::move(scheduler)) {}

QFont ExampleTabViewController::textFont() { return DetailFonts::monospaced(textFontSize, QFont::Normal); }

SyntaxTheme ExampleTabViewController::themeInTextFont(const SyntaxTheme& theme) { return theme.inFont(textFont()); }

QString ExampleTabViewController::infoText(const OperationExampleViewModel& example) {
    QStringList parts;
    if (example.summary) {
        parts << *example.summary;
    }
    if (example.description) {
        parts << *example.description;
    }
    return parts.join(infoSeparator);
}

// MARK: Views

QWidget* ExampleTabViewController::loadView() {
    auto* root = new QWidget();
    root->setObjectName(QStringLiteral("exampleTab"));
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(0);
    setupToolbar(root);
    setupInfoLabel(root);
    setupTextView(root);
    setupNoExamplesLabel(root);
    setupNoSourcesState(root);
    // Until an operation with sources is shown, the tab says there is nothing to show.
    showNoSourcesState();
    return root;
}

void ExampleTabViewController::setupToolbar(QWidget* root) {
    toolbarBar_ = new QWidget(root);
    toolbarBar_->setObjectName(QStringLiteral("exampleToolbar"));
    toolbarBar_->setFixedHeight(28);
    auto* bar = new QHBoxLayout(toolbarBar_);
    bar->setContentsMargins(12, 0, 12, 0);
    bar->setSpacing(8);

    const auto makePopup = [this](const QString& name, int maximumWidth) {
        auto* popup = new ElidingComboBox(toolbarBar_);
        popup->setObjectName(name);
        popup->setFont(DetailFonts::system(11));
        popup->setEditable(false);
        popup->setMaximumWidth(maximumWidth);
        // Narrower than its titles when the pane is narrow: the title is cut with an ellipsis.
        popup->setMinimumWidth(60);
        popup->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        popup->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        return popup;
    };
    sourcePopup_ = makePopup(QStringLiteral("exampleSourcePopup"), sourcePopupMaximumWidth);
    examplePopup_ = makePopup(QStringLiteral("examplePopup"), examplePopupMaximumWidth);
    connect(sourcePopup_, &QComboBox::activated, this, &ExampleTabViewController::sourceChanged);
    connect(examplePopup_, &QComboBox::activated, this, &ExampleTabViewController::exampleChanged);

    copyButton_ = new QToolButton(toolbarBar_);
    copyButton_->setObjectName(QStringLiteral("exampleCopyButton"));
    if (const auto icon = tintedSymbol(QStringLiteral("doc.on.doc"), 12, QStringLiteral("Copy"),
                                       SystemColor::controlText)) {
        copyButton_->setIcon(QIcon(*icon));
    }
    copyButton_->setAccessibleName(QStringLiteral("Copy"));
    copyButton_->setToolTip(QStringLiteral("Copy to Clipboard"));
    copyButton_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    copyButton_->setAutoRaise(false);
    copyButton_->setFocusPolicy(Qt::NoFocus);
    copyButton_->setFixedSize(26, 22);
    connect(copyButton_, &QToolButton::clicked, this, [this] { copyExample(); });

    bar->addWidget(sourcePopup_, 0, Qt::AlignVCenter);
    bar->addWidget(examplePopup_, 0, Qt::AlignVCenter);
    bar->addStretch(1);
    bar->addWidget(copyButton_, 0, Qt::AlignVCenter);
    root->layout()->addWidget(toolbarBar_);
}

void ExampleTabViewController::setupInfoLabel(QWidget* root) {
    infoLabel_ = new LineLimitedLabel(2, root);
    infoLabel_->setObjectName(QStringLiteral("exampleInfoLabel"));
    infoLabel_->setFont(DetailFonts::system(11));
    DetailFonts::setTextColor(infoLabel_, SystemColor::secondaryLabel);
    infoLabel_->setTextInteractionFlags(Qt::NoTextInteraction);
    infoLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    infoLabel_->setContentsMargins(12, 4, 12, 0);
    root->layout()->addWidget(infoLabel_);
}

void ExampleTabViewController::setupTextView(QWidget* root) {
    textView_ = new EditorTextView(root, scheduler_);
    textView_->setObjectName(QStringLiteral("exampleTextView"));
    textView_->setReadOnly(true);
    textView_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    textView_->setHighlightCurrentLine(false);
    textView_->setShowIndentGuides(false);
    textView_->setUndoRedoEnabled(false);
    textView_->setFont(textFont());
    textView_->setFrameShape(QFrame::NoFrame);
    textView_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    textView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    textView_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // 12 points in from the sides, 8 from the top and bottom, on the pane's own background.
    textView_->document()->setDocumentMargin(8);
    textView_->setLeftViewportMargin(4);
    QPalette palette = textView_->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    textView_->setPalette(palette);
    textView_->viewport()->setAutoFillBackground(false);
    auto* spacer = new QWidget(root);
    spacer->setFixedHeight(4);
    spacer->setObjectName(QStringLiteral("exampleTextSpacer"));
    root->layout()->addWidget(spacer);
    root->layout()->addWidget(textView_);
    static_cast<QVBoxLayout*>(root->layout())->setStretchFactor(textView_, 1);
}

void ExampleTabViewController::setupNoExamplesLabel(QWidget* root) {
    noExamplesLabel_ = DetailFonts::label(noExamplesText, DetailFonts::system(13), SystemColor::tertiaryLabel, root);
    noExamplesLabel_->setObjectName(QStringLiteral("noExamplesLabel"));
    noExamplesLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    noExamplesLabel_->setWordWrap(true);
    // 40 points below the toolbar.
    noExamplesLabel_->setContentsMargins(12, 40, 12, 0);
    static_cast<QVBoxLayout*>(root->layout())->addWidget(noExamplesLabel_, 1);
}

void ExampleTabViewController::setupNoSourcesState(QWidget* root) {
    noSourcesStack_ = new QWidget(root);
    noSourcesStack_->setObjectName(QStringLiteral("noSourcesStack"));
    auto* stack = new QVBoxLayout(noSourcesStack_);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(12);

    auto* image = new QLabel(noSourcesStack_);
    image->setObjectName(QStringLiteral("noSourcesImage"));
    if (const auto symbol = tintedSymbol(QStringLiteral("doc.text"), 32, QStringLiteral("No examples"),
                                         SystemColor::tertiaryLabel)) {
        image->setPixmap(*symbol);
    }
    image->setAccessibleName(QStringLiteral("No examples"));
    image->setAlignment(Qt::AlignCenter);
    auto* label = DetailFonts::label(noSourcesText, DetailFonts::system(13), SystemColor::tertiaryLabel,
                                     noSourcesStack_);
    label->setObjectName(QStringLiteral("noSourcesLabel"));
    label->setAlignment(Qt::AlignCenter);
    stack->addStretch(1);
    stack->addWidget(image, 0, Qt::AlignHCenter);
    stack->addWidget(label, 0, Qt::AlignHCenter);
    stack->addStretch(1);
    static_cast<QVBoxLayout*>(root->layout())->addWidget(noSourcesStack_, 1);
}

// MARK: Showing

void ExampleTabViewController::showNoSourcesState() {
    toolbarBar_->hide();
    infoLabel_->hide();
    textView_->hide();
    noExamplesLabel_->hide();
    noSourcesStack_->show();
}

void ExampleTabViewController::configure(const OperationDetailsViewModel& details,
                                         const std::optional<ParsedOpenAPIModel>& model) {
    view();
    currentDetails_ = details;
    if (!model) {
        showNoSourcesState();
        return;
    }
    if (!extractor_ || !(extractor_->model == *model)) {
        releaseExtractor();
        extractor_.emplace(*model);
    }
    availableSources_ = extractor_->availableSources(details);
    if (availableSources_.empty()) {
        showNoSourcesState();
        return;
    }
    QStringList titles;
    titles.reserve(static_cast<qsizetype>(availableSources_.size()));
    for (const ExampleSource& source : availableSources_) {
        titles << source.displayTitle();
    }
    fill(*sourcePopup_, titles);
    toolbarBar_->show();
    noSourcesStack_->hide();
    selectSource(0);
}

void ExampleTabViewController::selectSource(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= availableSources_.size() || !extractor_ || !currentDetails_) {
        return;
    }
    view();
    currentSourceExamples_ = extractor_->examples(*currentDetails_, availableSources_[static_cast<std::size_t>(index)]);
    QStringList titles;
    titles.reserve(static_cast<qsizetype>(currentSourceExamples_.size()));
    for (const OperationExampleViewModel& example : currentSourceExamples_) {
        titles << example.name;
    }
    fill(*examplePopup_, titles);
    examplePopup_->setVisible(currentSourceExamples_.size() >= 2);
    if (!currentSourceExamples_.empty()) {
        noExamplesLabel_->hide();
        textView_->show();
        copyButton_->show();
        showExample(0);
    } else {
        textView_->hide();
        infoLabel_->hide();
        noExamplesLabel_->show();
        copyButton_->hide();
    }
}

void ExampleTabViewController::showExample(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= currentSourceExamples_.size()) {
        return;
    }
    view();
    const OperationExampleViewModel& example = currentSourceExamples_[static_cast<std::size_t>(index)];
    const QString info = infoText(example);
    infoLabel_->setFullText(info);
    infoLabel_->setVisible(!info.isEmpty());
    applyHighlightedText(QString::fromStdString(AnyValueText::prettyJSONString(example.value, 2)));
}

void ExampleTabViewController::applyHighlightedText(const QString& text) {
    view();
    const bool isDark = CarvexPlatform::Appearance::shared().isDark();
    const SyntaxTheme theme = themeInTextFont(SyntaxThemePreferencesStore::shared().buildTheme(isDark));
    // Loading is no edit: nothing goes on an undo stack, and a large text arrives in slices. The
    // colours are a layer over the text, made into formats only for what is on screen.
    textView_->loadText(text);
    SyntaxColorLayer& layer = textView_->colorLayer();
    layer.setTheme(theme);
    const TextRange whole{0, textView_->textLength()};
    if (text.size() <= SyntaxHighlightingController::backgroundLexingThreshold) {
        layer.apply(JSONLexer().tokenize(text), whole);
        return;
    }
    // A long text is lexed on a worker thread; its colours are dropped when another text came first.
    QPointer<EditorTextView> view = textView_;
    const quint64 revision = textView_->textRevision();
    CarvexPlatform::BackgroundTask::run(
        [lexed = textView_->detachedViewText()] {
            return SyntaxColorLayer::runsFromTokens(JSONLexer().tokenize(lexed), static_cast<int>(lexed.size()));
        },
        [view, revision, whole](std::vector<SyntaxColorLayer::Run> runs) {
            if (view && view->textRevision() == revision) {
                view->colorLayer().applyRuns(std::move(runs), whole);
            }
        },
        scheduler_);
}

void ExampleTabViewController::copyExample() {
    if (!textView_) {
        return;
    }
    const QString& text = textView_->viewText();
    if (text.isEmpty()) {
        return;
    }
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void ExampleTabViewController::releaseModelUnless(const std::optional<ParsedOpenAPIModel>& kept) {
    if (extractor_ && !(kept && extractor_->model == *kept)) {
        releaseExtractor();
    }
}

void ExampleTabViewController::releaseExtractor() {
    if (!extractor_) {
        return;
    }
    auto owned = std::make_shared<std::optional<ExampleExtractor>>(std::exchange(extractor_, std::nullopt));
    CarvexPlatform::BackgroundTask::run(
        [owned]() mutable {
            owned->reset();
            return true;
        },
        [](bool) {}, scheduler_);
}

void ExampleTabViewController::sourceChanged(int index) { selectSource(index); }

void ExampleTabViewController::exampleChanged(int index) { showExample(index); }

}  // namespace Carvex
