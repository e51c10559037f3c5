#pragma once

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/EditorTextViewDelegate.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace CarvexTest {

// Records what an editor text view asks and announces; refuses changes while `refuse` is set.
class RecordingTextDelegate : public QObject, public Carvex::EditorTextViewDelegate {
public:
    struct Asked {
        Carvex::TextRange range;
        QString replacement;
    };
    bool editorTextViewShouldChangeText(Carvex::EditorTextView&, Carvex::TextRange range,
                                        const QString& replacement) override {
        asked.push_back({range, replacement});
        return !refuse;
    }
    void editorTextViewDidChangeText(Carvex::EditorTextView&,
                                     const Carvex::TextChange& change) override {
        changes.push_back(change);
    }
    bool refuse = false;
    std::vector<Asked> asked;
    std::vector<Carvex::TextChange> changes;
};

// A shown, offscreen editor text view on a fake clock.
class EditorViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
        scope = std::make_unique<CarvexPlatform::ScopedMainScheduler>(fake);
        view = std::make_unique<Carvex::EditorTextView>(nullptr, fake);
        view->resize(600, 400);
        view->show();
        view->setTextDelegate(&delegate);
    }
    void TearDown() override {
        view.reset();
        scope.reset();
    }
    // Paints the view once (which also gives the blocks on screen their colours).
    void paint() { (void)view->viewport()->grab(); }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake;
    std::unique_ptr<CarvexPlatform::ScopedMainScheduler> scope;
    RecordingTextDelegate delegate;
    std::unique_ptr<Carvex::EditorTextView> view;
};

}  // namespace CarvexTest
