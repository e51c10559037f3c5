#include "Carvex/Windows/WindowPanes.h"

#include "Carvex/Documents/Document.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Examples/ExampleGeneratorViewController.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "platform/ViewController.h"

#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/PropertiesViewControllerDelegate.h"
#include "Carvex/Syntax/DocumentLanguage.h"

#include <vector>

namespace Carvex::WindowPanes {

namespace {
EditorViewController* editorOf(CarvexPlatform::ViewController* controller) {
    return dynamic_cast<EditorViewController*>(controller);
}
}  // namespace

bool isEditor(const QObject* controller) { return dynamic_cast<const EditorViewController*>(controller); }

void setEditorDocument(CarvexPlatform::ViewController* editor, Document* document) {
    if (EditorViewController* target = editorOf(editor)) {
        target->setDocument(document);
    }
}

void loadDocumentContent(CarvexPlatform::ViewController* editor) {
    if (EditorViewController* target = editorOf(editor)) {
        target->loadDocumentContent();
    }
}

void reloadDocumentContent(CarvexPlatform::ViewController* editor) {
    if (EditorViewController* target = editorOf(editor)) {
        if (ValidationDecorationController* marks = target->validationDecorationController()) {
            marks->clear();
        }
        target->reloadContent();
    }
}

void setEditorContent(CarvexPlatform::ViewController* editor, const QString& text, FileFormat format) {
    if (EditorViewController* target = editorOf(editor)) {
        target->setContent(text, format == FileFormat::json ? DocumentLanguage::json : DocumentLanguage::yaml);
    }
}

void navigateToLine(CarvexPlatform::ViewController* editor, int line, int column) {
    if (EditorViewController* target = editorOf(editor)) {
        target->navigateToLine(line, column);
    }
}

ValidationDecorationController* validationDecorationController(CarvexPlatform::ViewController* editor) {
    EditorViewController* target = editorOf(editor);
    return target ? target->validationDecorationController() : nullptr;
}

EditorTextView* editorTextView(CarvexPlatform::ViewController* editor) {
    EditorViewController* target = editorOf(editor);
    return target ? target->editorTextView() : nullptr;
}

namespace {

PropertiesViewController* paneOf(CarvexPlatform::ViewController* controller) {
    return dynamic_cast<PropertiesViewController*>(controller);
}

// The pane's navigation delegate for a window: a child of the window's controller, so it goes with it.
class NavigationForwarder : public QObject, public PropertiesViewControllerDelegate {
public:
    NavigationForwarder(QObject* owner, std::function<void(int)> navigate)
        : QObject(owner), navigate_(std::move(navigate)) {}
    void propertiesViewControllerDidRequestNavigation(PropertiesViewController&, int line) override {
        navigate_(line);
    }

private:
    std::function<void(int)> navigate_;
};

}  // namespace

bool isPropertiesPane(const QObject* controller) {
    return dynamic_cast<const PropertiesViewController*>(controller);
}

bool isPaneOfWindow(CarvexPlatform::ViewController* controller, const void* sender) {
    if (!controller || !sender) {
        return false;
    }
    CarvexPlatform::ViewController* root = controller;
    while (root->parentViewController()) {
        root = root->parentViewController();
    }
    std::vector<CarvexPlatform::ViewController*> pending{root};
    while (!pending.empty()) {
        CarvexPlatform::ViewController* next = pending.back();
        pending.pop_back();
        if (const auto* pane = dynamic_cast<const PropertiesViewController*>(next)) {
            if (static_cast<const void*>(pane) == sender) {
                return true;
            }
        }
        for (CarvexPlatform::ViewController* child : next->childViewControllers()) {
            pending.push_back(child);
        }
    }
    return false;
}

void setPropertiesDocument(CarvexPlatform::ViewController* properties, Document* document) {
    if (PropertiesViewController* pane = paneOf(properties)) {
        pane->setDocument(document);
    }
}

void propertiesDocumentDidClose(CarvexPlatform::ViewController* properties) {
    if (PropertiesViewController* pane = paneOf(properties)) {
        pane->documentDidClose();
    }
}

bool hasNavigationDelegate(CarvexPlatform::ViewController* properties) {
    PropertiesViewController* pane = paneOf(properties);
    return pane && pane->navigationDelegate();
}

void setNavigationDelegate(CarvexPlatform::ViewController* properties, QObject* owner,
                           std::function<void(int line)> navigate) {
    if (PropertiesViewController* pane = paneOf(properties)) {
        auto* existing = owner->findChild<NavigationForwarder*>(QString(), Qt::FindDirectChildrenOnly);
        delete existing;
        pane->setNavigationDelegate(new NavigationForwarder(owner, std::move(navigate)));
    }
}

bool hasExampleGenerator(CarvexPlatform::ViewController* properties) {
    PropertiesViewController* pane = paneOf(properties);
    return pane && pane->exampleGeneratorViewController();
}

void setExampleGenerator(CarvexPlatform::ViewController* properties, ExampleGeneratorViewController* panel) {
    if (PropertiesViewController* pane = paneOf(properties)) {
        pane->setExampleGeneratorViewController(panel);
    }
}

void setEditorPropertiesPane(CarvexPlatform::ViewController* editor, CarvexPlatform::ViewController* properties) {
    if (EditorViewController* target = editorOf(editor)) {
        target->setPropertiesViewController(paneOf(properties));
    }
}

}  // namespace Carvex::WindowPanes
