#pragma once

#include "Carvex/Text/FileFormat.h"

#include <QString>
#include <functional>

class QObject;

namespace CarvexPlatform {
class ViewController;
}

namespace Carvex {

class Document;
class EditorTextView;
class ExampleGeneratorViewController;
class ValidationDecorationController;

// What the document window asks of its editor and properties panes. The panes are the "Main"
// storyboard's scenes, held as view controllers; these calls reach them as what they are and do
// nothing when a pane is missing or of another class. Main thread only.
namespace WindowPanes {

// Whether the scene is an editor view controller / a properties view controller.
bool isEditor(const QObject* controller);
bool isPropertiesPane(const QObject* controller);
// Whether `sender` (a notification's sender, compared by identity) is a properties pane among the
// view controllers of `controller`'s window (its topmost parent and everything below it).
bool isPaneOfWindow(CarvexPlatform::ViewController* controller, const void* sender);

// The editor.
void setEditorDocument(CarvexPlatform::ViewController* editor, Document* document);
void loadDocumentContent(CarvexPlatform::ViewController* editor);
// After a reload from disk: the marks go, the text is read again without counting as an edit.
void reloadDocumentContent(CarvexPlatform::ViewController* editor);
void setEditorContent(CarvexPlatform::ViewController* editor, const QString& text, FileFormat format);
void navigateToLine(CarvexPlatform::ViewController* editor, int line, int column);
ValidationDecorationController* validationDecorationController(CarvexPlatform::ViewController* editor);
EditorTextView* editorTextView(CarvexPlatform::ViewController* editor);
void setEditorPropertiesPane(CarvexPlatform::ViewController* editor, CarvexPlatform::ViewController* properties);

// The properties pane.
void setPropertiesDocument(CarvexPlatform::ViewController* properties, Document* document);
// The document closed: the pane's pending parse is dropped and it shows no document.
void propertiesDocumentDidClose(CarvexPlatform::ViewController* properties);
bool hasNavigationDelegate(CarvexPlatform::ViewController* properties);
// Makes `owner` the pane's navigation delegate: its requests for a line (from 1) reach `navigate`.
// The delegate lives as long as `owner`.
void setNavigationDelegate(CarvexPlatform::ViewController* properties, QObject* owner,
                           std::function<void(int line)> navigate);
bool hasExampleGenerator(CarvexPlatform::ViewController* properties);
void setExampleGenerator(CarvexPlatform::ViewController* properties, ExampleGeneratorViewController* panel);

}  // namespace WindowPanes

}  // namespace Carvex
