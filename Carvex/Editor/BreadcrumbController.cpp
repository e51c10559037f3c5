#include "Carvex/Editor/BreadcrumbController.h"

#include "Carvex/Editor/BreadcrumbBarView.h"

namespace Carvex {

namespace {

DocumentFormat formatFor(DocumentLanguage language)
{
    switch (language) {
    case DocumentLanguage::json: return DocumentFormat::json;
    case DocumentLanguage::yaml: return DocumentFormat::yaml;
    case DocumentLanguage::unknown: return DocumentFormat::unknown;
    }
    return DocumentFormat::unknown;
}

} // namespace

BreadcrumbController::BreadcrumbController(BreadcrumbBarView* barView) : barView_(barView)
{
    if (barView_ == nullptr)
        return;
    barView_->onSegmentClicked = [self = QPointer<BreadcrumbController>(this)](int index) {
        if (self.isNull() || !self->onNavigateToSegment || index < 0)
            return;
        const std::size_t count = std::min(self->currentPath_.size(), std::size_t(index) + 1);
        self->onNavigateToSegment(std::vector<PathComponent>(self->currentPath_.begin(),
                                                             self->currentPath_.begin() + qsizetype(count)));
    };
}

void BreadcrumbController::update(QStringView text, qsizetype caretLocation, DocumentLanguage language)
{
    if (caretLocation == lastUpdateLocation_)
        return;
    lastUpdateLocation_ = caretLocation;
    std::vector<PathComponent> path = cursorLocationService_.extractPath(text, caretLocation, formatFor(language));
    if (path == currentPath_)
        return;
    currentPath_ = std::move(path);
    if (barView_ != nullptr)
        barView_->update(currentPath_);
}

} // namespace Carvex
