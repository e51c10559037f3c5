#pragma once

#include "Carvex/CaretContext/PathComponent.h"
#include "Carvex/Text/FileFormat.h"
#include "Carvex/Editor/BreadcrumbBarView.h"
#include "Carvex/Editor/BreadcrumbNavigator.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/EditorTextViewClickDelegate.h"
#include "Carvex/TextView/EditorTextViewDelegate.h"
#include "Carvex/TextView/EditorTextViewKeyDelegate.h"
#include "Carvex/TextView/EditorTextViewTooltipDelegate.h"
#include "Carvex/Indentation/IndentationPreferencesStore.h"
#include "Carvex/Indentation/IndentationStyle.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Syntax/DocumentLanguage.h"
#include "Carvex/Syntax/SyntaxTheme.h"
#include "platform/MainScheduler.h"
#include "platform/Storyboard.h"
#include "platform/ViewController.h"

#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

class AutoIndentController;
class BreadcrumbController;
class CompletionController;
class CompletionPreferencesStore;
class Document;
class EditorPreferencesStore;
class RefLinkHandler;
class SnippetSuggestionController;
class SyntaxHighlightingController;
class SyntaxThemePreferencesStore;
class TemplateCatalog;
class ValidationDecorationController;

// The editor of one document window: a text view (with its breadcrumb bar above it) and every
// editing aid of that view: highlighting, auto-indentation, completion, snippets and their
// placeholders, `$ref` links, validation marks and breadcrumbs. It puts the document's text into
// the view, decides the language, keeps the aids informed of language, theme and preferences, runs
// each edit, selection change and key press past the aids in a fixed order, indents and outdents
// selected lines with Tab and Shift-Tab (one undo step each), and moves the caret to a line and
// column on request.
//
// The document's `content` follows the view without copying the whole text per keystroke: each
// change the view announces is applied to it in the document's own line endings.
//
// The aids made by later subsystems (completion, snippets, links) come from their factories and
// are skipped while a factory makes nothing. Main thread only.
class EditorViewController : public CarvexPlatform::ViewController,
                             public EditorTextViewDelegate,
                             public EditorTextViewKeyDelegate,
                             public EditorTextViewClickDelegate,
                             public EditorTextViewTooltipDelegate {
    Q_OBJECT

public:
    // The scene of the embed segue in the "Main" storyboard.
    static inline const QString sceneIdentifier = QStringLiteral("EmbedEditorViewController");
    static inline const QString editorPreferencesDidChangeNotification = QStringLiteral("editorPreferencesDidChange");
    static inline const QString syntaxThemePreferencesDidChangeNotification =
        QStringLiteral("syntaxThemePreferencesDidChange");
    static inline const QString indentationPreferencesDidChangeNotification =
        QStringLiteral("indentationPreferencesDidChange");
    static constexpr CarvexPlatform::MainScheduler::Duration placeholderExitRehighlightDelay{100};

    static void registerScene(CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main());

    // The preference stores the editor reads; the shared ones where none is given.
    struct Stores {
        EditorPreferencesStore* editor = nullptr;
        SyntaxThemePreferencesStore* theme = nullptr;
        CompletionPreferencesStore* completion = nullptr;
        std::shared_ptr<CarvexPlatform::Settings> indentationDefaults;
    };

    EditorViewController();
    explicit EditorViewController(Stores stores,
                                  std::shared_ptr<CarvexPlatform::MainScheduler> scheduler =
                                      CarvexPlatform::MainScheduler::shared());
    ~EditorViewController() override;

    // Outlets, made with the view. The text view is its own scroll view.
    QAbstractScrollArea* editorScrollView() const { return editorScrollView_; }
    EditorTextView* editorTextView() const { return editorTextView_; }

    Document* document() const { return document_.data(); }
    // A document set without loading its text takes the view's whole text at the next change.
    void setDocument(Document* document);
    PropertiesViewController* propertiesViewController() const { return propertiesViewController_.data(); }
    void setPropertiesViewController(PropertiesViewController* controller) { propertiesViewController_ = controller; }

    SyntaxHighlightingController* highlightingController() const { return highlightingController_.get(); }
    AutoIndentController* autoIndentController() const { return autoIndentController_.get(); }
    CompletionController* completionController() const { return completionController_.get(); }
    RefLinkHandler* refLinkHandler() const { return refLinkHandler_.get(); }
    SnippetSuggestionController* snippetController() const { return snippetController_.get(); }
    ValidationDecorationController* validationDecorationController() const {
        return validationDecorationController_.get();
    }
    BreadcrumbBarView* breadcrumbBar() const { return breadcrumbBar_; }
    BreadcrumbController* breadcrumbController() const { return breadcrumbController_.get(); }
    const IndentationPreferencesStore& indentationPreferencesStore() const { return indentationPreferencesStore_; }

    DocumentLanguage currentLanguage() const { return currentLanguage_; }
    bool isProcessingTextChange() const { return isProcessingTextChange_; }
    bool wasInPlaceholderMode() const { return wasInPlaceholderMode_; }
    const std::optional<TextRange>& lastEditedRange() const { return lastEditedRange_; }
    qsizetype lastEditDelta() const { return lastEditDelta_; }

    // Re-reads the theme and indent-guide colours for the current appearance.
    virtual void applyThemeColors();
    // The caret to a clicked breadcrumb prefix.
    virtual void navigateToBreadcrumbSegment(const std::vector<PathComponent>& path);
    // Current-line band and indent guides from the editor preferences.
    virtual void applyEditorPreferences();
    // Text and language from the document (nothing without both a view and a document).
    virtual void loadDocumentContent();
    // Indent-guide width from the document's detected indentation.
    virtual void updateIndentationStyle();
    // The snippet catalog for the language's file format.
    virtual void updateSnippetsForLanguage(DocumentLanguage language);
    // `loadDocumentContent` while the reload flag is set.
    virtual void reloadContent();
    // Replaces the text; the language is detected from it when none is given.
    virtual void setContent(const QString& text, std::optional<DocumentLanguage> language = std::nullopt);
    virtual void setHighlightingTheme(const SyntaxTheme& theme);
    virtual void setIndentationStyle(const IndentationStyle& style);
    // The caret to `line` and `column` (both from 1; column in characters). A line outside the
    // text is ignored; the column is clamped to the line.
    virtual void navigateToLine(int line, int column);

    // Actions. The menus reach them through the focused view's controller.
    Q_INVOKABLE void triggerCompletion();
    Q_INVOKABLE void triggerSnippetSuggestion();

    // Text view delegates.
    bool editorTextViewShouldChangeText(EditorTextView& view, TextRange range, const QString& replacement) override;
    void editorTextViewWillChangeText(EditorTextView& view) override;
    void editorTextViewDidChangeText(EditorTextView& view, const TextChange& change) override;
    void editorTextViewDidChangeSelection(EditorTextView& view) override;
    // The document takes the view's last text: nothing could give it later.
    void editorTextViewWillGo(EditorTextView& view) override;
    bool editorTextViewHandleKeyDown(EditorTextView& view, QKeyEvent& event) override;
    bool editorTextViewHandleCmdClickAt(EditorTextView& view, QPoint point) override;
    std::optional<QCursor> editorTextViewCursorAt(EditorTextView& view, QPoint point,
                                                  Qt::KeyboardModifiers modifiers) override;
    std::optional<QString> editorTextViewTooltipAt(EditorTextView& view, qsizetype characterIndex) override;

protected:
    QWidget* loadView() override;
    void viewDidLoad() override;

    virtual void setUpEditor();
    virtual void configureTextView();
    virtual void setUpBreadcrumbs();
    virtual void setUpHighlighting();
    virtual void setUpSnippets();
    virtual void setUpValidationDecorations();
    virtual void observePreferenceChanges();
    virtual void makeRefLinkHandler();

private:
    // One edit asked for inside an indentation group: the replaced range and the change in length.
    struct GroupedEdit {
        TextRange range;
        qsizetype delta = 0;
    };

    EditorTextView& textView() const;
    bool isPlaceholderSessionActive() const;
    void notifyPropertiesCoordinator();
    void installSnippetController(std::shared_ptr<TemplateCatalog> catalog, FileFormat format);
    void resumeHighlightingAfterPlaceholderMode();
    // Ends a running placeholder session (before a new text is loaded or the snippet side is
    // replaced): no chip outlives the text it was made for.
    void endPlaceholderSession();
    void contentWasReplaced(DocumentLanguage language, bool refreshLinks);
    // The document's content while this editor shows it: the view's text in the file's line
    // endings, in a buffer of its own (nothing without a view).
    std::optional<QString> textForDocument() const;
    // The document is edited unless the undo history is back at the text last read or saved.
    void updateDocumentChangeCount();
    void documentDidSave();
    void moveValidationMarks(const TextChange& change);
    bool handleTabKey(const QKeyEvent& event);
    void indentSelectedLines(const QString& unit);
    void outdentSelectedLines(const IndentationStyle& style);

    QPointer<QAbstractScrollArea> editorScrollView_;
    QPointer<EditorTextView> editorTextView_;
    QPointer<Document> document_;
    std::unique_ptr<SyntaxHighlightingController> highlightingController_;
    std::unique_ptr<AutoIndentController> autoIndentController_;
    std::unique_ptr<CompletionController> completionController_;
    std::unique_ptr<RefLinkHandler> refLinkHandler_;
    std::unique_ptr<SnippetSuggestionController> snippetController_;
    std::unique_ptr<ValidationDecorationController> validationDecorationController_;
    QPointer<PropertiesViewController> propertiesViewController_;
    DocumentLanguage currentLanguage_ = DocumentLanguage::unknown;
    struct PendingPlaceholderReplacement {
        TextRange range;
        qsizetype newLength = 0;
    };
    std::optional<PendingPlaceholderReplacement> pendingPlaceholderReplacement_;
    bool isUpdatingPlaceholders_ = false;
    bool wasInPlaceholderMode_ = false;
    bool isAutoSelectingPlaceholder_ = false;
    // How deep the text delegate is inside an ask of its own (an aid editing while it is asked).
    int shouldChangeDepth_ = 0;
    bool isProcessingTextChange_ = false;
    bool isReloadingContent_ = false;
    IndentationPreferencesStore indentationPreferencesStore_;
    QPointer<BreadcrumbBarView> breadcrumbBar_;
    std::unique_ptr<BreadcrumbController> breadcrumbController_;
    BreadcrumbNavigator breadcrumbNavigator_;
    std::optional<TextRange> lastEditedRange_;
    qsizetype lastEditDelta_ = 0;

    EditorPreferencesStore& editorPreferences_;
    SyntaxThemePreferencesStore& themePreferences_;
    CompletionPreferencesStore& completionPreferences_;
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    // The view's unmodified state (`QTextDocument::isModified`) is the text of the document's file: false
    // after a text that was never saved (a conversion) and after edits made while a save was writing.
    bool unmodifiedIsSavedText_ = true;
    QMetaObject::Connection saveConnection_;
    // The edits of a Tab or Shift-Tab group, in order, while one runs.
    std::optional<std::vector<GroupedEdit>> groupedEdits_;
    bool isIndentingLines_ = false;
};

}  // namespace Carvex
