#include "Carvex/Documents/NewDocumentModalViewController.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Carvex {

namespace {

// A row of exclusive push buttons standing for a segmented control; ids are segment numbers.
QButtonGroup* makeSegments(QWidget* owner, QHBoxLayout* row, const QStringList& titles) {
    auto* group = new QButtonGroup(owner);
    group->setExclusive(true);
    row->setSpacing(0);
    for (int index = 0; index < titles.size(); ++index) {
        auto* button = new QPushButton(titles[index], owner);
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setMinimumWidth(90);
        group->addButton(button, index);
        row->addWidget(button);
    }
    row->addStretch(1);
    return group;
}

}  // namespace

void NewDocumentModalViewController::registerScene(CarvexPlatform::Storyboard& storyboard) {
    storyboard.registerScene(sceneIdentifier, [] { return std::make_unique<NewDocumentModalViewController>(); });
}

NewDocumentModalViewController::NewDocumentModalViewController() { setTitle(QStringLiteral("New Document")); }

NewDocumentModalViewController::~NewDocumentModalViewController() = default;

QWidget* NewDocumentModalViewController::loadView() {
    auto* view = new QWidget();
    view->setMinimumWidth(440);
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(12);

    auto* heading = new QLabel(QStringLiteral("Create a New OpenAPI Document"), view);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    heading->setFont(headingFont);
    layout->addWidget(heading);

    auto* form = new QGridLayout();
    form->setHorizontalSpacing(12);
    form->addWidget(new QLabel(QStringLiteral("OpenAPI Version:"), view), 0, 0, Qt::AlignRight);
    auto* versionRow = new QHBoxLayout();
    versionSegmentedControl = makeSegments(view, versionRow, {QStringLiteral("3.0"), QStringLiteral("3.1")});
    form->addLayout(versionRow, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Format:"), view), 1, 0, Qt::AlignRight);
    auto* formatRow = new QHBoxLayout();
    formatSegmentedControl = makeSegments(view, formatRow, {QStringLiteral("JSON"), QStringLiteral("YAML")});
    form->addLayout(formatRow, 1, 1);
    layout->addLayout(form);

    includePathCheckbox = new QCheckBox(QStringLiteral("Include an initial path"), view);
    layout->addWidget(includePathCheckbox);

    initialPathBox = new QGroupBox(QStringLiteral("Initial Path"), view);
    initialPathBox->setGraphicsEffect(new QGraphicsOpacityEffect(initialPathBox));
    auto* boxLayout = new QVBoxLayout(initialPathBox);
    pathTextField = new QLineEdit(initialPathBox);
    pathTextField->setPlaceholderText(QStringLiteral("/pets"));
    boxLayout->addWidget(pathTextField);
    boxLayout->addWidget(new QLabel(QStringLiteral("HTTP Methods:"), initialPathBox));
    auto* methods = new QGridLayout();
    const auto box = [this](const char* title) { return new QCheckBox(QString::fromLatin1(title), initialPathBox); };
    getCheckbox = box("GET");
    postCheckbox = box("POST");
    putCheckbox = box("PUT");
    deleteCheckbox = box("DELETE");
    patchCheckbox = box("PATCH");
    optionsCheckbox = box("OPTIONS");
    headCheckbox = box("HEAD");
    traceCheckbox = box("TRACE");
    QCheckBox* const ordered[] = {getCheckbox,   postCheckbox,    putCheckbox,  deleteCheckbox,
                                  patchCheckbox, optionsCheckbox, headCheckbox, traceCheckbox};
    for (int index = 0; index < 8; ++index) {
        methods->addWidget(ordered[index], index / 4, index % 4);
    }
    boxLayout->addLayout(methods);
    layout->addWidget(initialPathBox);

    errorLabel = new QLabel(view);
    errorLabel->setWordWrap(true);
    errorLabel->setStyleSheet(QStringLiteral("color: #d70015;"));
    layout->addWidget(errorLabel);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), view);
    cancelButton->setShortcut(QKeySequence(Qt::Key_Escape));
    createButton = new QPushButton(QStringLiteral("Create"), view);
    createButton->setDefault(true);
    buttons->addWidget(cancelButton);
    buttons->addWidget(createButton);
    layout->addLayout(buttons);

    connect(includePathCheckbox, &QCheckBox::toggled, this, [this] { includePathChanged(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancelClicked(); });
    connect(createButton, &QPushButton::clicked, this, [this] { createClicked(); });
    connect(pathTextField, &QLineEdit::returnPressed, this, [this] { createClicked(); });
    return view;
}

void NewDocumentModalViewController::viewDidLoad() {
    versionSegmentedControl->button(0)->setChecked(true);
    formatSegmentedControl->button(0)->setChecked(true);
    {
        const QSignalBlocker blocker(includePathCheckbox);
        includePathCheckbox->setChecked(false);
    }
    setPathControlsEnabled(false);
    getCheckbox->setChecked(true);
    errorLabel->setHidden(true);
}

std::vector<std::pair<QCheckBox*, HTTPMethod>> NewDocumentModalViewController::methodCheckboxes() const {
    return {{getCheckbox, HTTPMethod::get},         {postCheckbox, HTTPMethod::post},
            {putCheckbox, HTTPMethod::put},         {deleteCheckbox, HTTPMethod::delete_},
            {patchCheckbox, HTTPMethod::patch},     {optionsCheckbox, HTTPMethod::options},
            {headCheckbox, HTTPMethod::head},       {traceCheckbox, HTTPMethod::trace}};
}

void NewDocumentModalViewController::setPathControlsEnabled(bool enabled) {
    initialPathBoxAlpha_ = enabled ? 1.0 : 0.5;
    if (initialPathBox) {
        if (auto* effect = qobject_cast<QGraphicsOpacityEffect*>(initialPathBox->graphicsEffect())) {
            effect->setOpacity(initialPathBoxAlpha_);
        }
    }
    if (pathTextField) {
        pathTextField->setEnabled(enabled);
    }
    for (const auto& [checkbox, method] : methodCheckboxes()) {
        if (checkbox) {
            checkbox->setEnabled(enabled);
        }
    }
}

void NewDocumentModalViewController::includePathChanged() {
    setPathControlsEnabled(includePathCheckbox && includePathCheckbox->isChecked());
    if (errorLabel) {
        errorLabel->setHidden(true);
    }
}

NewDocumentConfiguration NewDocumentModalViewController::configurationFromControls() const {
    NewDocumentConfiguration configuration;
    configuration.version = versionSegmentedControl && versionSegmentedControl->checkedId() == 0
                                ? NewDocumentOpenAPIVersion::v3_0
                                : NewDocumentOpenAPIVersion::v3_1;
    configuration.format = formatSegmentedControl && formatSegmentedControl->checkedId() == 0 ? DocumentFormat::json
                                                                                                : DocumentFormat::yaml;
    configuration.includeInitialPath = includePathCheckbox && includePathCheckbox->isChecked();
    if (configuration.includeInitialPath && pathTextField) {
        const QString typed = pathTextField->text();
        if (!typed.isEmpty()) {
            configuration.initialPath = NewDocumentConfigurationValidator::normalizePath(typed);
        }
    }
    for (const auto& [checkbox, method] : methodCheckboxes()) {
        if (checkbox && checkbox->isChecked()) {
            configuration.methods.insert(method);
        }
    }
    return configuration;
}

void NewDocumentModalViewController::createClicked() {
    const NewDocumentConfiguration configuration = configurationFromControls();
    const ValidationResult result = validator.validate(configuration);
    if (!result.isSuccess()) {
        if (errorLabel) {
            errorLabel->setText(result.errorMessage().value_or(QString()));
            errorLabel->setHidden(false);
        }
        if (pathTextField) {
            pathTextField->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    const QString text = configuration.format == DocumentFormat::yaml ? generator.generateYAML(configuration)
                                                                      : generator.generateJSON(configuration);
    // The handler may open a window; the sheet closes after it either way.
    if (auto handler = onComplete) {
        handler(text, configuration.format);
    }
    dismiss();
}

void NewDocumentModalViewController::cancelClicked() {
    if (auto handler = onCancel) {
        handler();
    }
    dismiss();
}

}  // namespace Carvex
