#include "Carvex/Windows/EditorSplitViewController.h"

#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Examples/ExampleGeneratorViewController.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/Validation/ValidationResultsViewController.h"
#include "Carvex/Windows/WindowPanes.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/Storyboard.h"

#include <QHBoxLayout>
#include <QMetaType>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Carvex {

namespace {

QPushButton* makeTabButton(const QString& title, QWidget* parent) {
    auto* button = new QPushButton(title, parent);
    button->setObjectName(title);
    return button;
}

// A tab button's look: flat, a toggle, the system font, the theme's colours set by
// `updateTabButtonAppearance`.
void styleTabButton(QPushButton& button) {
    button.setFlat(true);
    button.setCheckable(true);
    button.setAutoFillBackground(true);
    button.setFocusPolicy(Qt::NoFocus);
    button.setFont(QFont());
}

bool isInteger(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return true;
        default:
            return false;
    }
}

}  // namespace

EditorSplitViewController::EditorSplitViewController() = default;

EditorSplitViewController::~EditorSplitViewController() {
    CarvexPlatform::NotificationCenter::defaultCenter().removeObserver(this);
    if (editorSplitView_) {
        editorSplitView_->setDelegate(nullptr);
    }
}

QWidget* EditorSplitViewController::performEmbedSegue(const QString& identifier) {
    std::unique_ptr<QObject> scene = CarvexPlatform::Storyboard::main().instantiateController(identifier);
    auto* controller = dynamic_cast<CarvexPlatform::ViewController*>(scene.get());
    if (!controller) {
        auto* empty = new QWidget();
        empty->setObjectName(identifier);
        return empty;
    }
    scene.release();
    std::unique_ptr<CarvexPlatform::ViewController> owned(controller);
    QWidget* view = owned->view();
    addChildViewController(std::move(owned));
    prepareForSegue(identifier, controller);
    return view;
}

bool EditorSplitViewController::prepareForSegue(const QString& identifier, QObject* destination) {
    if (identifier == embedEditorSegue) {
        if (WindowPanes::isEditor(destination)) {
            editorViewController_ = static_cast<CarvexPlatform::ViewController*>(destination);
            return true;
        }
    } else if (identifier == embedConsoleSegue) {
        if (auto* console = dynamic_cast<ConsoleViewController*>(destination)) {
            setConsoleViewController(console);
            return true;
        }
    } else if (identifier == embedValidationResultsSegue) {
        if (auto* results = dynamic_cast<ValidationResultsViewController*>(destination)) {
            validationResultsViewController_ = results;
            return true;
        }
    }
    return false;
}

void EditorSplitViewController::setConsoleViewController(ConsoleViewController* console) {
    consoleViewController_ = console;
    if (boundDocument_ && console) {
        console->bind(*boundDocument_);
    }
    if (console) {
        console->setNavigationDelegate(this);
    }
}

void EditorSplitViewController::setBoundDocument(Document* document) { boundDocument_ = document; }

QWidget* EditorSplitViewController::loadView() {
    auto* root = new QWidget();
    root->setObjectName(QStringLiteral("EditorSplitView"));
    auto* rootLayout = new QVBoxLayout(root);
    rootLayout->setContentsMargins(0, 0, 0, 0);

    auto* split = new CarvexPlatform::SplitView(Qt::Vertical, root);
    split->setObjectName(QStringLiteral("editorSplitView"));
    rootLayout->addWidget(split);
    editorSplitView_ = split;

    QWidget* editor = performEmbedSegue(embedEditorSegue);
    split->addWidget(editor);

    auto* panel = new QWidget();
    panel->setObjectName(QStringLiteral("bottomPanel"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    auto* buttonRow = new QWidget(panel);
    buttonRow->setObjectName(QStringLiteral("tabButtonBar"));
    auto* buttons = new QHBoxLayout(buttonRow);
    buttons->setContentsMargins(4, 2, 4, 2);
    buttons->setSpacing(0);
    consoleButton_ = makeTabButton(QStringLiteral("Console"), buttonRow);
    validationResultsButton_ = makeTabButton(QStringLiteral("Validation Results"), buttonRow);
    consoleButton_->setFixedWidth(82);
    validationResultsButton_->setFixedWidth(130);
    buttons->addWidget(consoleButton_);
    buttons->addWidget(validationResultsButton_);
    buttons->addStretch(1);
    panelLayout->addWidget(buttonRow);

    auto* tabs = new QTabWidget(panel);
    tabs->setObjectName(QStringLiteral("tabView"));
    tabs->tabBar()->hide();
    tabs->setDocumentMode(true);
    tabView_ = tabs;
    tabs->addTab(performEmbedSegue(embedConsoleSegue), QStringLiteral("Console"));
    tabs->addTab(performEmbedSegue(embedValidationResultsSegue), QStringLiteral("Validation Results"));
    panelLayout->addWidget(tabs, 1);
    split->addWidget(panel);

    // The delegate's limits apply while dragging; the panes may reach nothing only by a double click.
    // A zero minimum leaves the split view to the panes' own minimum hints, and the console's list
    // asks for more than the panel's height once the first entry shows it: the panel would grow
    // under the editor's caret. Neither pane's height hint counts.
    editor->setMinimumHeight(0);
    panel->setMinimumHeight(0);
    for (QWidget* pane : {editor, panel}) {
        QSizePolicy policy = pane->sizePolicy();
        policy.setVerticalPolicy(QSizePolicy::Ignored);
        pane->setSizePolicy(policy);
    }
    split->setCollapsible(0, false);
    split->setCollapsible(1, true);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    return root;
}

void EditorSplitViewController::viewDidLoad() {
    if (editorSplitView_) {
        editorSplitView_->setDelegate(this);
        editorSplitView_->setOrientation(Qt::Vertical);
    }
    setupExampleGeneratorTab();
    setupTabButtons();
    CarvexPlatform::NotificationCenter::defaultCenter().addObserver(
        this, navigationNotification, nullptr,
        [this](const CarvexPlatform::Notification& notification) { handleNavigationRequest(notification); });
}

void EditorSplitViewController::viewDidAppear() {
    if (editorSplitView_) {
        editorSplitView_->setPosition(editorSplitView_->length() - defaultConsoleHeight, 0);
    }
}

void EditorSplitViewController::setupExampleGeneratorTab() {
    if (!tabView_) {
        return;
    }
    auto panel = std::make_unique<ExampleGeneratorViewController>();
    exampleGeneratorViewController_ = panel.get();
    QWidget* panelView = panel->view();
    panelView->setObjectName(exampleGeneratorTabIdentifier);
    addChildViewController(std::move(panel));
    tabView_->addTab(panelView, QStringLiteral("Examples"));
    tabView_->setCurrentIndex(0);

    QPushButton* anchor = validationResultsButton_ ? validationResultsButton_.data() : consoleButton_.data();
    if (!anchor || !anchor->parentWidget()) {
        return;
    }
    auto* button = new QPushButton(QStringLiteral("Examples"), anchor->parentWidget());
    button->setObjectName(QStringLiteral("Examples"));
    styleTabButton(*button);
    button->setFixedWidth(exampleGeneratorButtonWidth);
    button->setFixedHeight(anchor->sizeHint().height());
    anchor->setFixedHeight(anchor->sizeHint().height());
    connect(button, &QPushButton::clicked, this, &EditorSplitViewController::exampleGeneratorButtonClicked);
    // Directly after the anchor in its row.
    if (auto* row = qobject_cast<QBoxLayout*>(anchor->parentWidget()->layout())) {
        row->insertWidget(row->indexOf(anchor) + 1, button);
    }
    exampleGeneratorButton_ = button;
}

void EditorSplitViewController::setupTabButtons() {
    if (consoleButton_) {
        connect(consoleButton_, &QPushButton::clicked, this, &EditorSplitViewController::consoleButtonClicked,
                Qt::UniqueConnection);
        styleTabButton(*consoleButton_);
    }
    if (validationResultsButton_) {
        connect(validationResultsButton_, &QPushButton::clicked, this,
                &EditorSplitViewController::validationResultsButtonClicked, Qt::UniqueConnection);
        styleTabButton(*validationResultsButton_);
    }
    updateTabButtonAppearance();
}

void EditorSplitViewController::selectTab(int index) {
    if (tabView_) {
        tabView_->setCurrentIndex(index);
    }
    updateTabButtonAppearance();
}

void EditorSplitViewController::consoleButtonClicked() { selectTab(0); }
void EditorSplitViewController::validationResultsButtonClicked() { selectTab(1); }
void EditorSplitViewController::exampleGeneratorButtonClicked() { selectTab(2); }

void EditorSplitViewController::updateTabButtonAppearance() {
    const int selected = tabView_ && tabView_->currentIndex() >= 0 ? tabView_->currentIndex() : 0;
    const bool isDark = CarvexPlatform::Appearance::shared().isDark();
    const SyntaxThemePreferencesStore& theme = SyntaxThemePreferencesStore::shared();
    const QColor activeBackground = theme.color(SyntaxThemePreferenceKey::tabButtonActiveBackground, isDark);
    const QColor activeText = theme.color(SyntaxThemePreferenceKey::tabButtonActiveText, isDark);
    const QColor inactiveText = theme.color(SyntaxThemePreferenceKey::tabButtonInactiveText, isDark);
    QPushButton* const buttons[] = {consoleButton_, validationResultsButton_, exampleGeneratorButton_};
    for (int index = 0; index < 3; ++index) {
        QPushButton* button = buttons[index];
        if (!button) {
            continue;
        }
        const bool isSelected = index == selected;
        button->setChecked(isSelected);
        const QColor background = isSelected ? activeBackground : QColor(Qt::transparent);
        const QColor text = isSelected ? activeText : inactiveText;
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, background);
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::ButtonText, text);
        button->setPalette(palette);
        button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; border: none; "
                                             "border-radius: 4px; padding: 3px 8px; }")
                                  .arg(background.name(QColor::HexArgb), text.name(QColor::HexArgb)));
    }
}

void EditorSplitViewController::handleNavigationRequest(const CarvexPlatform::Notification& notification) {
    const QVariant line = notification.userInfo.value(QStringLiteral("line"));
    if (!isInteger(line) || !editorViewController_) {
        return;
    }
    // A request from a properties pane moves only the editor of that pane's window.
    if (notification.sender && !WindowPanes::isPaneOfWindow(this, notification.sender)) {
        return;
    }
    WindowPanes::navigateToLine(editorViewController_, static_cast<int>(line.toLongLong()), 1);
}

void EditorSplitViewController::consoleViewControllerDidRequestNavigation(ConsoleViewController&,
                                                                          const SourceLocation& location) {
    if (!editorViewController_) {
        return;
    }
    WindowPanes::navigateToLine(editorViewController_, static_cast<int>(location.line),
                                static_cast<int>(location.column));
}

bool EditorSplitViewController::splitViewCanCollapseSubview(CarvexPlatform::SplitView& view, QWidget* subview) {
    const auto panes = view.subviews();
    return !panes.empty() && subview == panes.back();
}

bool EditorSplitViewController::splitViewShouldCollapseSubviewForDoubleClick(CarvexPlatform::SplitView& view,
                                                                            QWidget* subview, int) {
    return splitViewCanCollapseSubview(view, subview);
}

double EditorSplitViewController::splitViewConstrainMinCoordinate(CarvexPlatform::SplitView&, double, int) {
    return minimumConsoleHeight;
}

double EditorSplitViewController::splitViewConstrainMaxCoordinate(CarvexPlatform::SplitView& view, double, int) {
    return view.length() - minimumConsoleHeight;
}

void EditorSplitViewController::splitViewDidResizeSubviews(CarvexPlatform::SplitView& view) {
    const auto panes = view.subviews();
    if (panes.empty()) {
        return;
    }
    const QList<int> sizes = view.sizes();
    isConsoleCollapsed_ = sizes.isEmpty() || sizes.back() < 1;
}

}  // namespace Carvex
