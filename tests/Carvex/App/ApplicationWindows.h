#pragma once

#include "Carvex/App/AppDelegate.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "platform/Document.h"

#include <QMainWindow>
#include <QWidget>

namespace CarvexTest {

// The windows the application keeps for the whole run, none of them shown: the tests that start
// the application look at document windows only.
inline Carvex::AppDelegate::SharedWindows noSharedWindows() {
    Carvex::AppDelegate::SharedWindows windows;
    windows.showWelcome = [] {};
    windows.welcomeWindow = []() -> QWidget* { return nullptr; };
    windows.showPreferences = [] {};
    windows.preferencesWindow = []() -> QWidget* { return nullptr; };
    windows.showUserManual = [] {};
    windows.helpWindow = []() -> QWidget* { return nullptr; };
    return windows;
}

// The editor of a document's first window, or null while it has none.
inline Carvex::EditorViewController* editorOf(const CarvexPlatform::Document* document) {
    if (document == nullptr || document->windowControllers().empty()) {
        return nullptr;
    }
    auto* window = dynamic_cast<Carvex::DocumentWindowController*>(document->windowControllers().front());
    auto* split = window ? dynamic_cast<Carvex::SplitViewController*>(window->contentViewController()) : nullptr;
    Carvex::EditorSplitViewController* area = split ? split->editorSplitViewController() : nullptr;
    return area ? dynamic_cast<Carvex::EditorViewController*>(area->editorViewController()) : nullptr;
}

inline Carvex::EditorTextView* editorTextViewOf(const CarvexPlatform::Document* document) {
    Carvex::EditorViewController* editor = editorOf(document);
    return editor ? editor->editorTextView() : nullptr;
}

}  // namespace CarvexTest
