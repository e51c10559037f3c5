#include "Carvex/Editor/BreadcrumbBarView.h"
#include "Carvex/Editor/BreadcrumbController.h"
#include "Carvex/Editor/BreadcrumbNavigator.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QVBoxLayout>
#include <QLabel>

using Carvex::BreadcrumbBarView;
using Carvex::BreadcrumbController;
using Carvex::BreadcrumbNavigator;
using Carvex::DocumentLanguage;
using Carvex::PathComponent;
using Path = std::vector<PathComponent>;

namespace {

PathComponent key(const char* name) { return PathComponent::key(name); }
PathComponent dyn(const char* name) { return PathComponent::dynamicKey(name); }
PathComponent idx(int position) { return PathComponent::index(position); }

struct NavigationRow {
    const char* name;
    const char* text;
    Path path;
    // The text right at the expected offset ("" for none); -1 for the text's end.
    const char* expectedAt;
};

void expectFound(std::optional<qsizetype> found, const QString& text, const NavigationRow& row)
{
    if (QString(row.expectedAt).isEmpty()) {
        EXPECT_FALSE(found.has_value()) << row.name << " found " << found.value_or(-1);
        return;
    }
    ASSERT_TRUE(found.has_value()) << row.name;
    EXPECT_TRUE(QStringView(text).sliced(*found).startsWith(QString::fromUtf8(row.expectedAt)))
        << row.name << " at " << *found << ": " << QStringView(text).sliced(*found).left(12).toString().toStdString();
}

TEST(BreadcrumbNavigator, findsJSONPlaces)
{
    const NavigationRow rows[] = {
        {"dynamic_key_at_its_quote", R"({"paths": {"/pets": {"get": {}}}})", {key("paths"), dyn("/pets")},
         R"("/pets": {"get")"},
        {"second_element_after_its_comma", R"({"tags": [{"name": "a"}, {"name": "b"}]})", {key("tags"), idx(1)},
         R"( {"name": "b"})"},
        {"key_inside_element", R"({"tags": [{"name": "a"}, {"name": "b"}]})", {key("tags"), idx(1), key("name")},
         R"("name": "b")"},
        {"first_element_right_after_bracket", R"({"x": [ 1, 2]})", {key("x"), idx(0)}, " 1, 2]"},
        {"key_outside_previous_container", R"({"a": {"b": 1}, "c": 2})", {key("a"), key("c")}, ""},
        {"nested_member_of_same_name_skipped", R"({"a": {"x": {"b": 1}, "b": 2}})", {key("a"), key("b")},
         R"("b": 2)"},
        {"escaped_key_as_written", R"({"a\"b": {"c": 1}})", {key(R"(a\"b)"), key("c")}, R"("c": 1)"},
        {"index_past_the_end", R"({"x": [1, 2], "y": [3, 4, 5]})", {key("x"), idx(4)}, ""},
        {"surrogates_are_ordinary", "{\"\xF0\x9F\x98\x80\": 1, \"k\": 2}", {key("k")}, "\"k\": 2"},
        {"empty_path", R"({"a": 1})", {}, ""},
    };
    for (const NavigationRow& row : rows) {
        const QString text = QString::fromUtf8(row.text);
        expectFound(BreadcrumbNavigator::findJSONPosition(row.path, text), text, row);
    }
}

TEST(BreadcrumbNavigator, findsYAMLPlaces)
{
    const NavigationRow rows[] = {
        {"nested_keys", "paths:\n  /pets:\n    get:\n", {key("paths"), dyn("/pets"), key("get")}, "get:"},
        {"second_item_dash", "tags:\n  - name: a\n  - name: b", {key("tags"), idx(1)}, "- name: b"},
        {"key_below_item", "params:\n  - name: a\n    in: q", {key("params"), idx(0), key("in")}, "in: q"},
        {"key_on_dash_line", "tags:\n  - name: a\n  - name: b", {key("tags"), idx(1), key("name")}, "name: b"},
        {"key_on_first_item_dash_line", "tags:\n  - name: a\n  - name: b", {key("tags"), idx(0), key("name")},
         "name: a"},
        {"single_quoted_key", "responses:\n  '200':\n    description: ok", {key("responses"), dyn("200")},
         "'200':"},
        {"doubled_single_quote_reads_as_one", "paths:\n  '/a':\n  '/it''s':\n    get: {}",
         {key("paths"), dyn("/it's"), key("get")}, "get: {}"},
        {"double_quoted_key", "responses:\n  \"404\":\n    description: no",
         {key("responses"), dyn("404"), key("description")}, "description: no"},
        {"key_outside_previous_block", "info:\n  title: x\npaths:\n  version: 1", {key("info"), key("version")}, ""},
        {"missing_item", "tags:\n  - name: a\nother: 1", {key("tags"), idx(3)}, ""},
        {"comments_and_blanks_skipped", "# top\n\ninfo:\n  # note\n\n  title: x", {key("info"), key("title")},
         "title: x"},
        {"empty_text", "", {key("a")}, ""},
        {"block_scalar_text_holds_no_keys", "a:\n  b: |\n    c: 1\n  c: 2", {key("a"), key("c")}, "c: 2"},
        {"block_scalar_of_an_item", "tags:\n- description: >-\n    name: no\n  name: yes",
         {key("tags"), idx(0), key("name")}, "name: yes"},
        {"owner_of_block_scalar_text", "x:\n  curl: |\n    curl https://a\n", {key("x"), key("curl")}, "curl: |"},
        {"plain_keys_with_colons", "scopes:\n  board:read: Read\n  board:write: Write",
         {key("scopes"), key("board:write")}, "board:write: Write"},
        {"no_key_before_an_inner_colon", "scopes:\n  board:read: Read", {key("scopes"), key("board")}, ""},
        {"items_at_their_keys_column", "get:\n  tags:\n  - a\n  - b\n  x: 1", {key("get"), key("tags"), idx(1)},
         "- b"},
    };
    for (const NavigationRow& row : rows) {
        const QString text = QString::fromUtf8(row.text);
        expectFound(BreadcrumbNavigator::findYAMLPosition(row.path, text), text, row);
    }
}

// What the bar shows, as text: "/" or "paths › /pets › get".
std::string shown(const BreadcrumbBarView& bar)
{
    QStringList parts;
    for (QWidget* view : bar.arrangedSubviews()) {
        if (auto* label = qobject_cast<QLabel*>(view))
            parts << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(view))
            parts << "[" + button->text() + "]";
    }
    return parts.join(u' ').toStdString();
}

class BreadcrumbBar : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
};

TEST_F(BreadcrumbBar, showsSegmentsWithSeparatorsOrTheRoot)
{
    BreadcrumbBarView bar;
    EXPECT_EQ(bar.height(), BreadcrumbBarView::barHeight);
    EXPECT_EQ(shown(bar), "/");
    bar.update(Path{key("paths"), dyn("/pets"), key("get"), key("responses"), dyn("200"), key("content")});
    EXPECT_EQ(shown(bar), "[paths] › [/pets] › [get] › [responses] › [200] › [content]");
    const auto views = bar.arrangedSubviews();
    EXPECT_EQ(views[4]->property("tag").toInt(), 2);
    bar.update(Path{key("tags"), idx(12)});
    EXPECT_EQ(shown(bar), "[tags] › [12]");
    bar.update(Path{});
    EXPECT_EQ(shown(bar), "/");
}

TEST_F(BreadcrumbBar, aDeepPathKeepsItsLastSegmentsInViewAndAsksForNoWidth)
{
    // The bar sits in the editor's pane: a path of a thousand levels must not widen that pane, and
    // what stays in view is the path's end, where the caret is.
    QWidget pane;
    auto* column = new QVBoxLayout(&pane);
    auto* bar = new BreadcrumbBarView(&pane);
    column->addWidget(bar);
    pane.resize(300, 100);
    pane.show();
    const int paneMinimum = pane.minimumSizeHint().width();
    struct Row {
        const char* name;
        std::size_t depth;
    };
    const Row rows[] = {{"short", 2}, {"deep", 1000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Path path;
        for (std::size_t i = 0; i + 1 < row.depth; ++i)
            path.push_back(idx(int(i)));
        path.push_back(key("last"));
        bar->update(path);
        QCoreApplication::processEvents();
        EXPECT_EQ(pane.minimumSizeHint().width(), paneMinimum);
        EXPECT_EQ(bar->width(), pane.contentsRect().width() - column->contentsMargins().left()
                                    - column->contentsMargins().right());
        const std::vector<QWidget*> views = bar->arrangedSubviews();
        const QWidget* first = views.front();
        const QWidget* last = views.back();
        const QRect lastInBar(last->mapTo(bar, QPoint(0, 0)), last->size());
        EXPECT_GE(lastInBar.left(), 0);
        EXPECT_LE(lastInBar.right(), bar->width());
        for (const QWidget* view : views)
            EXPECT_GE(view->width(), view->sizeHint().width()) << "no segment is squeezed";
        // A short path starts at the left as before; a deep one shows its end after "…", each
        // button still tagged with its component's place in the whole path.
        if (row.depth == 2) {
            EXPECT_EQ(first->mapTo(bar, QPoint(0, 0)).x(), 12);
            EXPECT_EQ(views.size(), 3u);
        } else {
            ASSERT_EQ(views.size(), 2 * BreadcrumbBarView::maxShownSegments + 1);
            EXPECT_EQ(qobject_cast<const QLabel*>(first)->text(), QString(QChar(0x2026)));
            EXPECT_EQ(last->property("tag").toInt(), int(row.depth) - 1);
            EXPECT_EQ(views[2]->property("tag").toInt(), int(row.depth - BreadcrumbBarView::maxShownSegments));
        }
    }
}

TEST_F(BreadcrumbBar, controllerComputesOnCaretMovesAndRebuildsOnPathChanges)
{
    BreadcrumbBarView bar;
    BreadcrumbController controller(&bar);
    std::vector<Path> asked;
    controller.onNavigateToSegment = [&](const Path& path) { asked.push_back(path); };

    const QString yaml = "paths:\n  /pets:\n    get:\n      summary: x\n      tags: [a]\n";
    const qsizetype inSummary = yaml.indexOf("x\n");
    controller.update(yaml, inSummary, DocumentLanguage::yaml);
    EXPECT_EQ(shown(bar), "[paths] › [/pets] › [get]");
    const std::vector<QWidget*> first = bar.arrangedSubviews();

    // Another caret in the same mapping: same path, the bar keeps its segments.
    controller.update(yaml, yaml.indexOf("tags") + 2, DocumentLanguage::yaml);
    EXPECT_EQ(bar.arrangedSubviews(), first);

    // The same caret offset after an edit elsewhere computes nothing.
    const QString edited = "openapi: 3.1.0\n" + yaml;
    controller.update(edited, yaml.indexOf("tags") + 2, DocumentLanguage::yaml);
    EXPECT_EQ(controller.currentPath(), (Path{key("paths"), dyn("/pets"), key("get")}));

    // Clicks ask for the path up to the clicked segment.
    static_cast<QAbstractButton*>(first[0])->click();
    bar.segmentClicked(2);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], Path{key("paths")});
    EXPECT_EQ(asked[1], (Path{key("paths"), dyn("/pets"), key("get")}));

    // Unknown language is resolved from the text.
    controller.update(QStringLiteral(R"({"info": {"ti)"), 12, DocumentLanguage::unknown);
    EXPECT_EQ(shown(bar), "[info]");
    controller.update(QStringLiteral(R"({"info": {"ti)"), 0, DocumentLanguage::unknown);
    EXPECT_EQ(shown(bar), "/");
}

} // namespace
