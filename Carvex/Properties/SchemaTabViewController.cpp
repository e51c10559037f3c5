#include "Carvex/Properties/SchemaTabViewController.h"

#include "Carvex/ModelAdapters/SchemaTreeBuilder.h"
#include "Carvex/Properties/BodyTabViewController.h"
#include "Carvex/Properties/DetailFonts.h"
#include "Carvex/Properties/ElidingComboBox.h"
#include "Carvex/Properties/ElidingLabel.h"
#include "Carvex/Properties/SchemaOutlineView.h"
#include "Carvex/Properties/TabButtonBar.h"
#include "platform/BackgroundTask.h"
#include "platform/SystemSymbol.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace Carvex {

namespace {

using CarvexPlatform::SystemColor;

QString fromStd(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The operation of the details in `adapter`: the path item of its path, then its method's operation.
std::shared_ptr<const OperationAdapter> operationOf(const OperationDetailsViewModel& details,
                                                    const OpenAPIDocumentAdapter& adapter)
{
    const auto item = adapter.pathItem(details.id.path.toStdString());
    return item ? item->operation(details.id.method) : nullptr;
}

// The status code with single and double quotation marks trimmed from both ends.
QString trimmedQuotes(const QString& text)
{
    auto isQuote = [](QChar c) { return c == QLatin1Char('\'') || c == QLatin1Char('"'); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isQuote(text[begin]))
        ++begin;
    while (end > begin && isQuote(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

std::optional<RefOrValue<SchemaAdapter>>
schemaOfContent(const VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>>& content,
                const QString& contentType)
{
    const auto* entry = content.find(contentType.toStdString());
    if (!entry || !*entry)
        return std::nullopt;
    return (*entry)->schema();
}

} // namespace

// What the tab holds of one model: released together, off the main thread.
struct SchemaTabViewController::Held {
    std::optional<ParsedOpenAPIModel> model;
    std::shared_ptr<const OpenAPIDocumentAdapter> adapter;
    SchemaTreeCache cache;
    SchemaTreeNode::Ptr root;
    std::vector<SchemaSource> sources;
};

SchemaTabViewController::SchemaSource::SchemaSource(Kind kind, QString statusCode, QString contentType,
                                                    RefOrValue<SchemaAdapter> schema)
    : kind_(kind), statusCode_(std::move(statusCode)), contentType_(std::move(contentType)), schema_(std::move(schema))
{
}

SchemaTabViewController::SchemaSource SchemaTabViewController::SchemaSource::requestBody(QString contentType,
                                                                                         RefOrValue<SchemaAdapter> schema)
{
    return SchemaSource(Kind::requestBody, QString(), std::move(contentType), std::move(schema));
}

SchemaTabViewController::SchemaSource SchemaTabViewController::SchemaSource::response(QString statusCode,
                                                                                      QString contentType,
                                                                                      RefOrValue<SchemaAdapter> schema)
{
    return SchemaSource(Kind::response, std::move(statusCode), std::move(contentType), std::move(schema));
}

QString SchemaTabViewController::SchemaSource::title() const
{
    if (kind_ == Kind::requestBody)
        return QStringLiteral("Request Body (") + contentType_ + QLatin1Char(')');
    return statusCode_ + QStringLiteral(" Response (") + contentType_ + QLatin1Char(')');
}

SchemaTabViewController::SchemaTabViewController() = default;

SchemaTabViewController::~SchemaTabViewController()
{
    if (currentModel_ || !cache_.cache().empty() || !availableSources_.empty())
        releaseInBackground(takeHeld());
}

QWidget* SchemaTabViewController::loadView()
{
    auto* root = new QWidget();
    root->setObjectName(QStringLiteral("schemaTab"));
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(4);

    // Header: the schema's name and the mode bar.
    headerBar_ = new QWidget(root);
    headerBar_->setObjectName(QStringLiteral("schemaHeader"));
    headerBar_->setFixedHeight(28);
    auto* header = new QHBoxLayout(headerBar_);
    header->setContentsMargins(12, 0, 12, 0);
    header->setSpacing(8);
    schemaNameLabel_ = new ElidingLabel(QString(), Qt::ElideRight, headerBar_);
    schemaNameLabel_->setObjectName(QStringLiteral("schemaNameLabel"));
    schemaNameLabel_->setFont(DetailFonts::system(12, QFont::DemiBold));
    DetailFonts::setTextColor(schemaNameLabel_, SystemColor::label);
    modeBar_ = new TabButtonBar({QStringLiteral("Referenced"), QStringLiteral("Resolved")}, DetailFonts::system(11),
                                headerBar_);
    modeBar_->setObjectName(QStringLiteral("schemaModeBar"));
    modeBar_->setSelectedIndex(currentMode_ == SchemaRefResolver::Mode::referenced ? 0 : 1);
    QPointer<SchemaTabViewController> weak(this);
    modeBar_->onTabSelected = [weak](int index) {
        if (weak)
            weak->modeSelected(index);
    };
    header->addWidget(schemaNameLabel_, 1, Qt::AlignVCenter);
    header->addWidget(modeBar_, 0, Qt::AlignVCenter);
    layout->addWidget(headerBar_);

    // Toolbar: the sources, then Expand All and Collapse All at the trailing edge.
    toolbarBar_ = new QWidget(root);
    toolbarBar_->setObjectName(QStringLiteral("schemaToolbar"));
    toolbarBar_->setFixedHeight(28);
    auto* toolbar = new QHBoxLayout(toolbarBar_);
    toolbar->setContentsMargins(12, 0, 12, 0);
    toolbar->setSpacing(4);
    sourcePopup_ = new ElidingComboBox(toolbarBar_);
    sourcePopup_->setObjectName(QStringLiteral("schemaSourcePopup"));
    sourcePopup_->setFont(DetailFonts::system(11));
    sourcePopup_->setMaximumWidth(200);
    // Narrower than its titles when the pane is narrow: the title is cut with an ellipsis.
    sourcePopup_->setMinimumWidth(60);
    sourcePopup_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    sourcePopup_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    sourcePopup_->setAttribute(Qt::WA_MacSmallSize);
    // Only the user's choice changes the source; filling the pop-up from code does not.
    connect(sourcePopup_, &QComboBox::activated, this, [this](int index) { sourceChanged(index); });
    expandAllButton_ = new QToolButton(toolbarBar_);
    BodyTabViewController::configureToolbarIconButton(expandAllButton_, QStringLiteral("arrow.up.left.and.arrow.down.right"),
                                                      QStringLiteral("Expand All"));
    connect(expandAllButton_, &QToolButton::clicked, this, [this] { expandAll(); });
    collapseAllButton_ = new QToolButton(toolbarBar_);
    BodyTabViewController::configureToolbarIconButton(collapseAllButton_, QStringLiteral("arrow.down.right.and.arrow.up.left"),
                                                      QStringLiteral("Collapse All"));
    connect(collapseAllButton_, &QToolButton::clicked, this, [this] { collapseAll(); });
    toolbar->addWidget(sourcePopup_, 0, Qt::AlignVCenter);
    toolbar->addStretch(1);
    toolbar->addWidget(expandAllButton_, 0, Qt::AlignVCenter);
    toolbar->addWidget(collapseAllButton_, 0, Qt::AlignVCenter);
    layout->addWidget(toolbarBar_);

    // The outline, to the view's edges.
    outlineView_ = new SchemaOutlineView(root);
    outlineView_->setObjectName(QStringLiteral("schemaOutline"));
    outlineView_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    outlineView_->setOnRevealInEditor([weak](int64_t line) {
        if (weak && weak->onRevealInEditor)
            weak->onRevealInEditor(int(std::clamp<int64_t>(line, 1, std::numeric_limits<int>::max())));
    });
    layout->addWidget(outlineView_, 1);

    // The empty state, in the middle of the whole tab.
    emptyStateView_ = new QWidget(root);
    emptyStateView_->setObjectName(QStringLiteral("schemaEmptyState"));
    auto* empty = new QVBoxLayout(emptyStateView_);
    empty->setSpacing(8);
    empty->addStretch(1);
    auto* image = new QLabel(emptyStateView_);
    image->setObjectName(QStringLiteral("schemaEmptyImage"));
    image->setAlignment(Qt::AlignCenter);
    image->setAccessibleName(QStringLiteral("Schema"));
    if (auto symbol = CarvexPlatform::SystemSymbol::image(QStringLiteral("list.bullet.indent"), 28,
                                                          QStringLiteral("Schema"))) {
        // The tint replaces the symbol's black, its own transparency included.
        QPixmap pixmap = QPixmap::fromImage(*symbol);
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), CarvexPlatform::systemColor(SystemColor::tertiaryLabel));
        painter.end();
        image->setPixmap(pixmap);
    }
    auto* message = DetailFonts::label(QStringLiteral("No schema available"), DetailFonts::system(13),
                                       SystemColor::tertiaryLabel, emptyStateView_);
    message->setObjectName(QStringLiteral("schemaEmptyLabel"));
    message->setAlignment(Qt::AlignCenter);
    empty->addWidget(image, 0, Qt::AlignHCenter);
    empty->addWidget(message, 0, Qt::AlignHCenter);
    empty->addStretch(1);
    emptyStateView_->hide();
    layout->addWidget(emptyStateView_, 1);
    return root;
}

void SchemaTabViewController::setShowsTree(bool showsTree)
{
    headerBar_->setVisible(showsTree);
    toolbarBar_->setVisible(showsTree);
    outlineView_->setVisible(showsTree);
    emptyStateView_->setVisible(!showsTree);
}

void SchemaTabViewController::configure(const OperationDetailsViewModel& details,
                                        const std::optional<ParsedOpenAPIModel>& model)
{
    view();
    currentOperationID_ = details.id;
    if (!model) {
        setShowsTree(false);
        return;
    }
    // The trees of another model are of no use any more; they and the model go on a worker thread
    // once the outline shows the new tree.
    std::optional<Held> replaced;
    if (!currentModel_ || !(*currentModel_ == *model)) {
        replaced = takeHeld();
        currentModel_ = model;
    }
    documentAdapter_ = model->makeAdapter();
    if (documentAdapter_)
        rebuildSources(details, *documentAdapter_);
    else
        availableSources_.clear();
    updateSourcePopup();
    if (!availableSources_.empty()) {
        selectedSourceIndex_ = 0;
        reloadTree();
        setShowsTree(true);
    } else {
        rootNode_.reset();
        outlineView_->setRoot(nullptr);
        setShowsTree(false);
    }
    if (replaced)
        releaseInBackground(std::move(*replaced));
}

void SchemaTabViewController::rebuildSources(const OperationDetailsViewModel& details,
                                             const OpenAPIDocumentAdapter& adapter)
{
    availableSources_.clear();
    const auto operation = operationOf(details, adapter);
    if (details.requestBody && operation) {
        std::shared_ptr<const RequestBodyAdapter> body;
        if (const auto slot = operation->requestBody()) {
            if (const auto* reference = slot->referenceValue())
                body = adapter.resolveRequestBody(*reference);
            else
                body = slot->sharedInlineValue();
        }
        if (body) {
            const auto content = body->content();
            for (const QString& contentType : details.requestBody->contentTypes) {
                if (auto schema = schemaOfContent(content, contentType))
                    availableSources_.push_back(SchemaSource::requestBody(contentType, std::move(*schema)));
            }
        }
    }
    for (const OperationResponseViewModel& response : details.responses) {
        for (const QString& contentType : response.contentTypes) {
            if (auto schema = responseSchema(response.statusCode, contentType, adapter, details))
                availableSources_.push_back(SchemaSource::response(response.statusCode, contentType, std::move(*schema)));
        }
    }
}

std::optional<RefOrValue<SchemaAdapter>> SchemaTabViewController::responseSchema(const QString& statusCode,
                                                                                  const QString& contentType,
                                                                                  const OpenAPIDocumentAdapter& adapter,
                                                                                  const OperationDetailsViewModel& details)
{
    const auto operation = operationOf(details, adapter);
    const auto responses = operation ? operation->responses() : nullptr;
    if (!responses)
        return std::nullopt;
    std::optional<RefOrValue<ResponseAdapter>> slot;
    for (const auto& item : responses->items()) {
        if (trimmedQuotes(fromStd(item.statusCode)) == statusCode) {
            slot = item.response;
            break;
        }
    }
    if (!slot && statusCode == QLatin1String("default"))
        slot = responses->defaultResponse();
    if (!slot)
        return std::nullopt;
    std::shared_ptr<const ResponseAdapter> response;
    if (const auto* reference = slot->referenceValue())
        response = adapter.resolveResponse(*reference);
    else
        response = slot->sharedInlineValue();
    if (!response)
        return std::nullopt;
    const auto content = response->content();
    if (!content)
        return std::nullopt;
    return schemaOfContent(*content, contentType);
}

void SchemaTabViewController::updateSourcePopup()
{
    view();
    sourcePopup_->clear();
    for (const SchemaSource& source : availableSources_)
        sourcePopup_->addItem(source.title());
    if (!availableSources_.empty())
        sourcePopup_->setCurrentIndex(0);
}

void SchemaTabViewController::reloadTree()
{
    view();
    if (!documentAdapter_ || !currentOperationID_ || !currentModel_ || selectedSourceIndex_ < 0
        || std::size_t(selectedSourceIndex_) >= availableSources_.size()) {
        rootNode_.reset();
        outlineView_->setRoot(nullptr);
        return;
    }
    const SchemaSource& source = availableSources_[std::size_t(selectedSourceIndex_)];
    SchemaTreeCache::CacheKey key;
    key.operationID = *currentOperationID_;
    key.contentType = source.contentType();
    key.mode = currentMode_;
    key.source = source.kind() == SchemaSource::Kind::requestBody ? SchemaTreeCache::SchemaSource::requestBody()
                                                                  : SchemaTreeCache::SchemaSource::response(source.statusCode());
    SchemaTreeBuilder builder;
    builder.resolver.documentAdapter = documentAdapter_;
    builder.resolver.mode = currentMode_;
    builder.resolver.maxDepth = maxDepth;
    rootNode_ = cache_.tree(key, *currentModel_, builder, source.schema());
    updateSchemaNameLabel();
    outlineView_->setRoot(rootNode_);
}

void SchemaTabViewController::updateSchemaNameLabel()
{
    view();
    QString name;
    if (selectedSourceIndex_ >= 0 && std::size_t(selectedSourceIndex_) < availableSources_.size()) {
        const auto& slot = availableSources_[std::size_t(selectedSourceIndex_)].schema();
        if (const auto* reference = slot.referenceValue())
            name = SchemaRefResolver::lastRefComponent(fromStd(reference->ref));
        else if (rootNode_)
            name = rootNode_->typeDescription();
    }
    schemaNameLabel_->setText(name);
}

void SchemaTabViewController::selectSource(const std::optional<QString>& statusCode)
{
    view();
    for (std::size_t index = 0; index < availableSources_.size(); ++index) {
        const SchemaSource& source = availableSources_[index];
        const bool matches = statusCode ? (source.kind() == SchemaSource::Kind::response && source.statusCode() == *statusCode)
                                        : source.kind() == SchemaSource::Kind::requestBody;
        if (!matches)
            continue;
        selectedSourceIndex_ = int(index);
        sourcePopup_->setCurrentIndex(int(index));
        reloadTree();
        return;
    }
}

void SchemaTabViewController::sourceChanged(int index)
{
    selectedSourceIndex_ = index;
    reloadTree();
}

void SchemaTabViewController::modeSelected(int index)
{
    view();
    currentMode_ = index == 0 ? SchemaRefResolver::Mode::referenced : SchemaRefResolver::Mode::resolved;
    modeBar_->setSelectedIndex(index == 0 ? 0 : 1);
    reloadTree();
}

void SchemaTabViewController::expandAll()
{
    // Level by level within the node budget: on a tree that shared components make huge, the upper
    // levels open whole and only the deepest are cut.
    outlineView_->expandAllWithinBudget(SchemaRefResolver::defaultNodeBudget);
}

void SchemaTabViewController::collapseAll()
{
    outlineView_->collapseAll();
}

void SchemaTabViewController::releaseModelUnless(const std::optional<ParsedOpenAPIModel>& kept)
{
    if (!currentModel_ || (kept && *kept == *currentModel_))
        return;
    releaseInBackground(takeHeld());
}

SchemaTabViewController::Held SchemaTabViewController::takeHeld()
{
    // The outline lets go of its rows first, so that what is taken here is the last holder.
    if (outlineView_)
        outlineView_->setRoot(nullptr);
    Held held;
    held.model = std::exchange(currentModel_, std::nullopt);
    held.adapter = std::exchange(documentAdapter_, nullptr);
    held.cache = std::exchange(cache_, SchemaTreeCache());
    held.root = std::exchange(rootNode_, nullptr);
    held.sources = std::exchange(availableSources_, {});
    selectedSourceIndex_ = 0;
    return held;
}

void SchemaTabViewController::releaseInBackground(Held held)
{
    if (!held.model && !held.adapter && held.cache.cache().empty() && !held.root && held.sources.empty())
        return;
    auto owned = std::make_shared<Held>(std::move(held));
    CarvexPlatform::BackgroundTask::run(
        [owned]() mutable {
            *owned = Held();
            return true;
        },
        [](bool) {});
}

} // namespace Carvex
