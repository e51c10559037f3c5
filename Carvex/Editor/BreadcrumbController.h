#pragma once

#include "Carvex/CaretContext/CursorLocationService.h"
#include "Carvex/CaretContext/PathComponent.h"
#include "Carvex/Syntax/DocumentLanguage.h"

#include <QObject>
#include <QPointer>
#include <QStringView>

#include <functional>
#include <vector>

namespace Carvex {

class BreadcrumbBarView;

// Keeps a breadcrumb bar in step with the caret: computes the caret's path when the caret offset
// moved, rebuilds the bar only when the path changed, and turns a click on segment i into a
// request to navigate to the path's first i + 1 components. Main thread only.
class BreadcrumbController : public QObject {
    Q_OBJECT
public:
    explicit BreadcrumbController(BreadcrumbBarView* barView);

    BreadcrumbBarView* barView() const { return barView_; }
    const CursorLocationService& cursorLocationService() const { return cursorLocationService_; }
    const std::vector<PathComponent>& currentPath() const { return currentPath_; }
    qsizetype lastUpdateLocation() const { return lastUpdateLocation_; }

    // Set by the editor to its navigation.
    std::function<void(const std::vector<PathComponent>&)> onNavigateToSegment;

    // Called after every text and selection change. The same caret offset as last time computes
    // nothing, even when the text changed.
    void update(QStringView text, qsizetype caretLocation, DocumentLanguage language);

private:
    QPointer<BreadcrumbBarView> barView_;
    CursorLocationService cursorLocationService_;
    std::vector<PathComponent> currentPath_;
    qsizetype lastUpdateLocation_ = -1;
};

} // namespace Carvex
