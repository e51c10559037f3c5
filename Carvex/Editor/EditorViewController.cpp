#include "Carvex/Editor/EditorViewController.h"

#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/BreadcrumbBarView.h"
#include "Carvex/Editor/BreadcrumbController.h"
#include "Carvex/TextView/LineNumberRulerView.h"
#include "Carvex/Text/TextPositionConverter.h"
#include "Carvex/Indentation/AutoIndentController.h"
#include "Carvex/Indentation/IndentationDetector.h"
#include "Carvex/Properties/PropertiesViewCoordinator.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Syntax/DocumentLanguageDetector.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"

#include <QFileInfo>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

namespace Carvex {

namespace {

bool appearanceIsDark() { return CarvexPlatform::Appearance::shared().isDark(); }

QColor indentGuideColorFor(bool isDark) {
    const double white = isDark ? 1.0 : 0.0;
    return QColor::fromRgbF(static_cast<float>(white), static_cast<float>(white), static_cast<float>(white), 0.15f);
}

DocumentFormat documentFormatOf(DocumentLanguage language) {
    switch (language) {
        case DocumentLanguage::json:
            return DocumentFormat::json;
        case DocumentLanguage::yaml:
            return DocumentFormat::yaml;
        case DocumentLanguage::unknown:
            break;
    }
    return DocumentFormat::unknown;
}

const QString openAPIVersionOfCatalogs = QStringLiteral("3.0");

}  // namespace

void EditorViewController::registerScene(CarvexPlatform::Storyboard& storyboard) {
    storyboard.registerScene(sceneIdentifier, [] { return std::make_unique<EditorViewController>(); });
}

EditorViewController::EditorViewController() : EditorViewController(Stores{}) {}

EditorViewController::EditorViewController(Stores stores, std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : indentationPreferencesStore_(stores.indentationDefaults ? stores.indentationDefaults
                                                              : CarvexPlatform::Settings::standard()),
      editorPreferences_(stores.editor ? *stores.editor : EditorPreferencesStore::shared()),
      themePreferences_(stores.theme ? *stores.theme : SyntaxThemePreferencesStore::shared()),
      completionPreferences_(stores.completion ? *stores.completion : CompletionPreferencesStore::shared()),
      scheduler_(std::move(scheduler)) {}

EditorViewController::~EditorViewController() {
    QObject::disconnect(saveConnection_);
    if (document_) {
        document_->setContentSource(nullptr);  // takes the last text while the view is still there
    }
    // The aids hold the view weakly; the view must not call back into a controller half gone.
    if (editorTextView_) {
        editorTextView_->setTextDelegate(nullptr);
        editorTextView_->setKeyDelegate(nullptr);
        editorTextView_->setClickDelegate(nullptr);
        editorTextView_->setTooltipDelegate(nullptr);
        editorTextView_->onAppearanceChange = nullptr;
    }
    snippetController_.reset();
    completionController_.reset();
    refLinkHandler_.reset();
    validationDecorationController_.reset();
}

EditorTextView& EditorViewController::textView() const {
    if (!editorTextView_) {
        std::fputs("FATAL: the editor view controller has no text view\n", stderr);
        std::abort();
    }
    return *editorTextView_;
}

// MARK: Scene

QWidget* EditorViewController::loadView() {
    auto* root = new QWidget;
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* textView = new EditorTextView(root, scheduler_);
    layout->addWidget(textView);
    editorTextView_ = textView;
    editorScrollView_ = textView;
    return root;
}

void EditorViewController::viewDidLoad() {
    CarvexPlatform::ViewController::viewDidLoad();
    setUpEditor();
}

void EditorViewController::setUpEditor() {
    configureTextView();
    setUpBreadcrumbs();
    setUpHighlighting();
    autoIndentController_ = std::make_unique<AutoIndentController>(&textView(), indentationPreferencesStore_.defaults());
    completionController_ = CompletionController::make(&textView(), completionPreferences_);
    setUpSnippets();
    setUpValidationDecorations();
    observePreferenceChanges();
}

void EditorViewController::configureTextView() {
    EditorTextView& view = textView();
    view.setReadOnly(false);
    view.setTextInteractionFlags(Qt::TextEditorInteraction);
    view.setUndoRedoEnabled(true);
    view.setFont(SyntaxTheme::editorFont());
    view.setTextDelegate(this);
    view.setKeyDelegate(this);
    LineNumberRulerView::installLineNumberRuler(view);
    view.setShowIndentGuides(editorPreferences_.showIndentGuides());
    view.setIndentGuideWidth(2);
    const bool isDark = appearanceIsDark();
    view.setActiveIndentGuideColor(themePreferences_.activeIndentGuideColor(isDark));
    view.setIndentGuideColor(indentGuideColorFor(isDark));
    view.setHighlightCurrentLine(editorPreferences_.highlightCurrentLine());
    QPointer<EditorViewController> self(this);
    view.onAppearanceChange = [self] {
        if (self) {
            self->applyThemeColors();
        }
    };
}

void EditorViewController::setUpBreadcrumbs() {
    QAbstractScrollArea* scrollView = editorScrollView_;
    QWidget* superview = scrollView ? scrollView->parentWidget() : nullptr;
    auto* layout = superview ? qobject_cast<QBoxLayout*>(superview->layout()) : nullptr;
    if (layout == nullptr) {
        return;
    }
    auto* bar = new BreadcrumbBarView(superview);
    const int index = layout->indexOf(scrollView);
    layout->insertWidget(index < 0 ? 0 : index, bar);
    breadcrumbBar_ = bar;
    breadcrumbController_ = std::make_unique<BreadcrumbController>(bar);
    QPointer<EditorViewController> self(this);
    breadcrumbController_->onNavigateToSegment = [self](const std::vector<PathComponent>& path) {
        if (self) {
            self->navigateToBreadcrumbSegment(path);
        }
    };
}

void EditorViewController::navigateToBreadcrumbSegment(const std::vector<PathComponent>& path) {
    if (path.empty() || !editorTextView_) {
        return;
    }
    EditorTextView& view = *editorTextView_;
    std::optional<qsizetype> position;
    if (currentLanguage_ == DocumentLanguage::json) {
        position = BreadcrumbNavigator::findJSONPosition(path, view.viewText());
    } else if (currentLanguage_ == DocumentLanguage::yaml) {
        position = BreadcrumbNavigator::findYAMLPosition(path, view.viewText());
    }
    if (!position) {
        return;
    }
    view.moveCaretAndReveal(*position);
    view.setFocus();
}

void EditorViewController::setUpHighlighting() {
    highlightingController_ =
        std::make_unique<SyntaxHighlightingController>(&textView(), themePreferences_.buildTheme(appearanceIsDark()));
    QPointer<EditorViewController> self(this);
    highlightingController_->onHighlightingComplete = [self] {
        if (!self || !self->refLinkHandler_) {
            return;
        }
        RefLinkStyler* styler = self->refLinkHandler_->styler();
        const std::vector<RefLink>& links = self->refLinkHandler_->cachedLinks();
        if (styler != nullptr && !links.empty()) {
            styler->applyLinkStyling(links);
        }
    };
}

void EditorViewController::setUpSnippets() {
    std::shared_ptr<TemplateCatalog> catalog = TemplateCatalog::make({}, openAPIVersionOfCatalogs, FileFormat::yaml);
    if (catalog) {
        catalog->loadTemplates();
    }
    installSnippetController(std::move(catalog), FileFormat::yaml);
}

void EditorViewController::installSnippetController(std::shared_ptr<TemplateCatalog> catalog, FileFormat format) {
    if (!catalog) {
        return;
    }
    // The completion list offers the catalog's snippets also where no inline suggestion runs.
    if (completionController_) {
        completionController_->setSnippetTemplates(catalog->templates());
    }
    std::unique_ptr<SnippetSuggestionController> controller = SnippetSuggestionController::make(&textView(), catalog);
    if (!controller) {
        return;
    }
    controller->setFileFormat(format);
    // The session of the controller being replaced ends with it.
    endPlaceholderSession();
    snippetController_ = std::move(controller);
    if (completionController_) {
        completionController_->setPlaceholderManager(snippetController_->placeholderManager());
    }
    QPointer<EditorViewController> self(this);
    auto resume = [self] {
        if (self) {
            self->resumeHighlightingAfterPlaceholderMode();
        }
    };
    snippetController_->onPlaceholderModeExit = resume;
    CompletionPreferencesStore* completionPreferences = &completionPreferences_;
    snippetController_->isInlineSnippetEnabled = [completionPreferences] {
        return completionPreferences->isInlineSnippetEnabled();
    };
    if (const auto& manager = snippetController_->placeholderManager()) {
        manager->onPlaceholderModeExit = resume;
    }
}

void EditorViewController::endPlaceholderSession() {
    if (snippetController_ && snippetController_->placeholderManager()) {
        snippetController_->placeholderManager()->endSession();
    }
}

void EditorViewController::resumeHighlightingAfterPlaceholderMode() {
    // The links were not followed while the snippet was filled in: bring them in step with the text
    // now, before a highlighting pass styles the links it has again (at their places before the
    // snippet, else).
    if (refLinkHandler_) {
        refLinkHandler_->updateLinks(currentLanguage_);
    }
    if (!highlightingController_) {
        return;
    }
    highlightingController_->setPaused(false);
    QPointer<EditorViewController> self(this);
    scheduler_->schedule(placeholderExitRehighlightDelay, [self] {
        if (self && self->highlightingController_) {
            self->highlightingController_->setPaused(false);
            self->highlightingController_->performHighlight();
        }
    });
}

void EditorViewController::setUpValidationDecorations() {
    validationDecorationController_ = std::make_unique<ValidationDecorationController>(&textView());
    textView().setTooltipDelegate(this);
}

void EditorViewController::observePreferenceChanges() {
    auto& center = CarvexPlatform::NotificationCenter::defaultCenter();
    center.addObserver(this, editorPreferencesDidChangeNotification, nullptr,
                       [this](const CarvexPlatform::Notification&) { applyEditorPreferences(); });
    center.addObserver(this, syntaxThemePreferencesDidChangeNotification, nullptr,
                       [this](const CarvexPlatform::Notification&) { applyThemeColors(); });
    center.addObserver(this, indentationPreferencesDidChangeNotification, nullptr,
                       [this](const CarvexPlatform::Notification&) {
                           if (autoIndentController_) {
                               autoIndentController_->setIndentationStyle(
                                   indentationPreferencesStore_.indentationStyle());
                           }
                       });
}

void EditorViewController::applyEditorPreferences() {
    if (!editorTextView_) {
        return;
    }
    editorTextView_->setHighlightCurrentLine(editorPreferences_.highlightCurrentLine());
    editorTextView_->setShowIndentGuides(editorPreferences_.showIndentGuides());
}

void EditorViewController::applyThemeColors() {
    const bool isDark = appearanceIsDark();
    if (highlightingController_) {
        highlightingController_->setTheme(themePreferences_.buildTheme(isDark));
    }
    if (!editorTextView_) {
        return;
    }
    editorTextView_->setActiveIndentGuideColor(themePreferences_.activeIndentGuideColor(isDark));
    editorTextView_->setIndentGuideColor(indentGuideColorFor(isDark));
}

void EditorViewController::makeRefLinkHandler() {
    if (!document_) {
        return;
    }
    refLinkHandler_ = RefLinkHandler::make(&textView(), document_.data());
    if (refLinkHandler_) {
        textView().setClickDelegate(this);
    }
}

// MARK: Content

void EditorViewController::setDocument(Document* document) {
    QObject::disconnect(saveConnection_);
    if (document_ && document_ != document) {
        document_->setContentSource(nullptr);
    }
    document_ = document;
    if (document) {
        // Each edit marks the content as following the view; the whole text is written out only
        // when the content is read (a save, a conversion), not on every key.
        document->setContentSource([this] { return textForDocument(); });
        saveConnection_ = connect(document, &CarvexPlatform::Document::documentDidSave, this,
                                  &EditorViewController::documentDidSave);
    }
}

void EditorViewController::documentDidSave() {
    if (!document_ || !editorTextView_) {
        return;
    }
    // Undo and redo come back to the text just written; the next edit starts a step of its own rather
    // than joining the saved one. Edits made while it was written leave no state known to be saved.
    unmodifiedIsSavedText_ = !document_->isDocumentEdited();
    if (unmodifiedIsSavedText_) {
        editorTextView_->document()->setModified(false);
    }
}

void EditorViewController::loadDocumentContent() {
    if (!editorTextView_ || !document_) {
        return;
    }
    endPlaceholderSession();
    editorTextView_->loadText(document_->content());
    unmodifiedIsSavedText_ = !document_->isDocumentEdited();
    const DocumentLanguageDetector detector;
    DocumentLanguage language = DocumentLanguage::unknown;
    if (document_->hasFile()) {
        language = detector.detectFromExtension(QFileInfo(document_->filePath()).suffix());
    } else if (document_->fileFormat) {
        language = *document_->fileFormat == FileFormat::json ? DocumentLanguage::json : DocumentLanguage::yaml;
    }
    if (language == DocumentLanguage::unknown) {
        language = detector.detectFromContent(document_->content());
    }
    currentLanguage_ = language;
    if (highlightingController_) {
        highlightingController_->setLanguage(language);
    }
    if (autoIndentController_) {
        autoIndentController_->setLanguage(language);
        autoIndentController_->detectIndentationStyle();
    }
    updateIndentationStyle();
    if (completionController_) {
        completionController_->setLanguage(language);
    }
    updateSnippetsForLanguage(language);
    if (!refLinkHandler_) {
        makeRefLinkHandler();
    }
    if (refLinkHandler_) {
        refLinkHandler_->updateLinks(language);
    }
    notifyPropertiesCoordinator();
}

void EditorViewController::reloadContent() {
    isReloadingContent_ = true;
    loadDocumentContent();
    isReloadingContent_ = false;
}

void EditorViewController::setContent(const QString& text, std::optional<DocumentLanguage> language) {
    if (!editorTextView_) {
        return;
    }
    endPlaceholderSession();
    editorTextView_->loadText(text);
    if (document_) {
        document_->setContent(text);
    }
    unmodifiedIsSavedText_ = !(document_ && document_->isDocumentEdited());
    const DocumentLanguage chosen = language ? *language : DocumentLanguageDetector{}.detectFromContent(text);
    currentLanguage_ = chosen;
    if (highlightingController_) {
        highlightingController_->setLanguage(chosen);
    }
    if (autoIndentController_) {
        autoIndentController_->setLanguage(chosen);
        autoIndentController_->detectIndentationStyle();
    }
    if (completionController_) {
        completionController_->setLanguage(chosen);
    }
    updateSnippetsForLanguage(chosen);
    updateIndentationStyle();
    // The links of the new text are there before its first edit.
    if (!refLinkHandler_) {
        makeRefLinkHandler();
    }
    if (refLinkHandler_) {
        refLinkHandler_->updateLinks(chosen);
    }
    notifyPropertiesCoordinator();
}

void EditorViewController::updateIndentationStyle() {
    if (!document_ || !editorTextView_) {
        return;
    }
    const std::optional<IndentationStyle> style = IndentationDetector{}.detect(document_->content());
    int width = 2;
    if (style) {
        width = style->isTabs() ? 4 : style->spacesWidth();
    }
    editorTextView_->setIndentGuideWidth(width);
}

void EditorViewController::updateSnippetsForLanguage(DocumentLanguage language) {
    const FileFormat format = language == DocumentLanguage::json ? FileFormat::json : FileFormat::yaml;
    if (snippetController_ && snippetController_->fileFormat() == format) {
        return;
    }
    std::shared_ptr<TemplateCatalog> catalog = TemplateCatalog::make({}, openAPIVersionOfCatalogs, format);
    if (catalog) {
        catalog->loadTemplates();
    }
    installSnippetController(std::move(catalog), format);
}

void EditorViewController::editorTextViewWillGo(EditorTextView&) {
    if (document_) {
        document_->setContentSource(nullptr);
    }
}

std::optional<QString> EditorViewController::textForDocument() const {
    if (!editorTextView_) {
        return std::nullopt;
    }
    QString text = editorTextView_->text();
    if (text.constData() == editorTextView_->viewText().constData()) {
        // Sharing the view's buffer would make the next key copy the whole text.
        text = QString(text.constData(), text.size());
    }
    return text;
}

void EditorViewController::notifyPropertiesCoordinator() {
    if (!editorTextView_ || !propertiesViewController_) {
        return;
    }
    if (PropertiesViewCoordinator* coordinator = propertiesViewController_->coordinator()) {
        coordinator->documentDidChange(editorTextView_->viewText(), documentFormatOf(currentLanguage_));
    }
}

void EditorViewController::setHighlightingTheme(const SyntaxTheme& theme) {
    if (highlightingController_) {
        highlightingController_->setTheme(theme);
    }
}

void EditorViewController::setIndentationStyle(const IndentationStyle& style) {
    if (autoIndentController_) {
        autoIndentController_->setIndentationStyle(style);
    }
}

void EditorViewController::navigateToLine(int line, int column) {
    if (!editorTextView_) {
        return;
    }
    EditorTextView& view = *editorTextView_;
    // The view's text has line feeds only: CR LF and lone CR of the file are single line breaks
    // there, as the parsers count them; line and paragraph separators stay inside their line.
    const TextPositionConverter positions(view.viewText());
    const std::optional<qsizetype> position = positions.position(line, column);
    if (!position) {
        return;
    }
    view.moveCaretAndReveal(*position);
    view.setFocus();
}

// MARK: Actions

void EditorViewController::triggerCompletion() {
    if (completionController_) {
        completionController_->triggerCompletion();
    }
}

void EditorViewController::triggerSnippetSuggestion() {
    if (snippetController_) {
        snippetController_->debounceTimer().cancel();
        snippetController_->updateSuggestion();
    }
}

}  // namespace Carvex
