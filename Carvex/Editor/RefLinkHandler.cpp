#include "Carvex/Editor/RefLinkHandler.h"

#include "Carvex/Completion/ScalarNameText.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Text/TextPositionConverter.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/ModelAdapters/RefLinkRedetector.h"

#include <QHash>

#include <algorithm>

namespace Carvex {

namespace {

// One change covering `pending` and then `next` (both in the text after each).
TextChange merged(const TextChange& pending, const TextChange& next) {
    const qsizetype location = next.editedRange.location;
    const qsizetype added = next.editedRange.length;
    const qsizetype removed = added - next.changeInLength;
    const qsizetype delta = next.changeInLength;
    qsizetype pendingEnd = pending.editedRange.end();
    if (pendingEnd > location) {
        pendingEnd = pendingEnd >= location + removed ? pendingEnd + delta : location + added;
    }
    const qsizetype start = std::min(pending.editedRange.location, location);
    const qsizetype end = std::max(pendingEnd, location + added);
    return TextChange{TextRange{start, end - start}, pending.changeInLength + delta};
}

}  // namespace

RefLinkHandler::Factory& RefLinkHandler::factory() {
    static Factory installed;
    return installed;
}

std::unique_ptr<RefLinkHandler> RefLinkHandler::make(EditorTextView* textView, Document* document) {
    const Factory& make = factory();
    return make ? make(textView, document) : nullptr;
}

void RefLinkHandler::installFactory() {
    factory() = [](EditorTextView* textView, Document* document) {
        return std::make_unique<RefLinkHandler>(textView, document);
    };
}

RefLinkHandler::RefLinkHandler(EditorTextView* textView, Document* document)
    : textView_(textView), document_(document), styler_(std::make_unique<RefLinkStyler>(textView)) {
    if (textView == nullptr) {
        return;
    }
    announcedRevision_ = textView->textRevision();
    // After the styler's own connection, so the styled links have moved when a change is spliced.
    changeConnection_ = QObject::connect(textView, &EditorTextView::textDidChange,
                                         [this](const TextChange& change) { textDidChange(change); });
    loadConnection_ = QObject::connect(textView, &EditorTextView::textDidLoad, [this] { textDidLoad(); });
}

RefLinkHandler::~RefLinkHandler() {
    QObject::disconnect(changeConnection_);
    QObject::disconnect(loadConnection_);
}

// MARK: Detection

void RefLinkHandler::updateLinks(DocumentLanguage language) {
    if (!textView_) {
        return;
    }
    const quint64 revision = textView_->textRevision();
    if (contentHash_ == revision) {
        return;
    }
    if (inStep_ && language == linksLanguage_) {
        if (revision != announcedRevision_) {
            // The text changed and the view is announcing it: the change is spliced then.
            updateRequested_ = true;
            return;
        }
        if (pendingChange_) {
            spliceChanges(revision);
            return;
        }
    }
    detectAll(language, revision);
}

void RefLinkHandler::detectAll(DocumentLanguage language, quint64 revision) {
    contentHash_ = revision;
    announcedRevision_ = revision;
    linksLanguage_ = language;
    inStep_ = true;
    pendingChange_.reset();
    updateRequested_ = false;
    cachedLinks_ = detector_.detectLinks(textView_->viewText(), language);
    if (styler_) {
        styler_->applyLinkStyling(cachedLinks_);
    }
}

void RefLinkHandler::spliceChanges(quint64 revision) {
    const TextChange change = *pendingChange_;
    pendingChange_.reset();
    updateRequested_ = false;
    contentHash_ = revision;
    const RefLinkRedetector::Splice splice =
        RefLinkRedetector::update(cachedLinks_, textView_->viewText(), change, linksLanguage_);
    if (styler_) {
        styler_->applySplice(cachedLinks_, splice);
    }
}

void RefLinkHandler::textDidChange(const TextChange& change) {
    if (!textView_) {
        return;
    }
    const quint64 revision = textView_->textRevision();
    announcedRevision_ = revision;
    if (!inStep_ || contentHash_ == revision) {
        return;  // detected in full already, or nothing to follow
    }
    pendingChange_ = pendingChange_ ? merged(*pendingChange_, change) : change;
    if (updateRequested_) {
        spliceChanges(revision);
    }
}

void RefLinkHandler::textDidLoad() {
    // A new text: the links of the old one mean nothing in it (a highlighting pass must not style
    // them again), and the next update detects in full.
    inStep_ = false;
    pendingChange_.reset();
    updateRequested_ = false;
    cachedLinks_.clear();
}

void RefLinkHandler::applyStylesOnly() {
    if (!cachedLinks_.empty() && styler_) {
        styler_->applyLinkStyling(cachedLinks_);
    }
}

void RefLinkHandler::removeAllStyles() {
    if (styler_) {
        styler_->clearLinkStyling();
    }
    cachedLinks_.clear();
    contentHash_.reset();
    inStep_ = false;
    pendingChange_.reset();
    updateRequested_ = false;
}

// MARK: Clicks and the pointer

bool RefLinkHandler::handleCmdClick(QPoint point) {
    if (!textView_ || !document_ || !document_->parsedModel) {
        return false;
    }
    const std::optional<qsizetype> index = textView_->characterIndexAt(point);
    if (!index) {
        return false;
    }
    return followLink(*index, ClickSource::point);
}

bool RefLinkHandler::handleCmdClick(qsizetype characterIndex) {
    return followLink(characterIndex, ClickSource::characterIndex);
}

std::optional<QCursor> RefLinkHandler::cursor(QPoint point, Qt::KeyboardModifiers modifiers) {
    if (!textView_ || !modifiers.testFlag(Qt::ControlModifier) || !styler_) {
        return std::nullopt;
    }
    const std::optional<qsizetype> index = textView_->characterIndexAt(point);
    if (!index || !styler_->refPath(*index)) {
        return std::nullopt;
    }
    return QCursor(Qt::PointingHandCursor);
}

bool RefLinkHandler::followLink(qsizetype characterIndex, ClickSource source) {
    if (!textView_ || !document_ || !document_->parsedModel || !styler_) {
        return false;
    }
    const std::optional<RefLinkStyler::StyledLink> link = styler_->linkAt(characterIndex);
    if (!link) {
        return false;
    }
    const QString& path = link->path;
    const QString pointer = targetPointer(textView_->viewText(), link->range.location, path, linksLanguage_);
    // A copy: the model may be replaced while the caret moves.
    const ParsedOpenAPIModel model = *document_->parsedModel;
    // The model's lines and columns fit only the text it was parsed from.
    const std::optional<VoziZazIreCore::SourceLocation> target =
        modelFitsText(model) ? locationResolver_.resolveSourceLocation(pointer, model) : std::nullopt;
    if (!target) {
        logTargetNotFound(path, source);
        return false;
    }
    navigate(*target);
    if (RefLinkClickDelegate* delegate = clickDelegate_.get()) {
        delegate->refLinkHandlerDidNavigateTo(*this, path, target->offset);
    }
    return true;
}

bool RefLinkHandler::modelFitsText(const ParsedOpenAPIModel& model) {
    const std::optional<std::size_t> recorded = model.sourceTextHash();
    if (!recorded) {
        return true;  // a model that recorded no text is taken as it is
    }
    const quint64 revision = textView_->textRevision();
    if (hashedRevision_ != revision) {
        textHash_ = qHash(textView_->viewText());
        hashedRevision_ = revision;
    }
    return textHash_ == *recorded;
}

QString RefLinkHandler::targetPointer(QStringView text, qsizetype valueStart, const QString& path,
                                      DocumentLanguage language) {
    using ScalarNameText::Quoting;
    if (valueStart < 1 || valueStart > text.size()) {
        return path;
    }
    const QChar quote = text[valueStart - 1];
    Quoting quoting = Quoting::plain;
    if (language == DocumentLanguage::json) {
        quoting = Quoting::json;
    } else if (quote == u'"') {
        quoting = Quoting::yamlDouble;
    } else if (quote == u'\'') {
        quoting = Quoting::yamlSingle;
    }
    return quoting == Quoting::plain ? path : ScalarNameText::decoded({path, quoting});
}

void RefLinkHandler::logTargetNotFound(const QString& path, ClickSource source) const {
    if (!document_) {
        return;
    }
    const QString description =
        source == ClickSource::point
            ? QStringLiteral("Reference: ") + path + QStringLiteral("\nMake sure the target exists in the document.")
            : path;
    document_->logger().warning(targetNotFoundMessage(), description);
}

void RefLinkHandler::navigate(const VoziZazIreCore::SourceLocation& target) {
    // The caret goes into the view's document, which a sliced load fills only in steps.
    textView_->finishLoading();
    const std::optional<qsizetype> position = RefLocationResolver::textPosition(target, textView_->viewText());
    if (!position) {
        return;  // outside the current text: the caret stays
    }
    textView_->moveCaretAndReveal(*position);
    if (textView_->window() != nullptr) {
        textView_->setFocus(Qt::OtherFocusReason);
    }
    if (document_) {
        document_->logger().info(QStringLiteral("Navigated to byte offset ") + QString::number(target.offset));
    }
}

}  // namespace Carvex
