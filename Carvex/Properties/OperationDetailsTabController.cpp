#include "Carvex/Properties/OperationDetailsTabController.h"

#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/Properties/BodyTabViewController.h"
#include "Carvex/Properties/DescriptionTabViewController.h"
#include "Carvex/Properties/DetailFonts.h"
#include "Carvex/Properties/ElidingLabel.h"
#include "Carvex/Properties/ExampleTabViewController.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/SchemaTabViewController.h"
#include "Carvex/Properties/TabButtonBar.h"
#include "platform/NotificationCenter.h"
#include "platform/ViewController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace Carvex {

QString OperationDetailsTabController::title(Tab tab) {
    switch (tab) {
    case Tab::description:
        return QStringLiteral("Description");
    case Tab::body:
        return QStringLiteral("Body");
    case Tab::schema:
        return QStringLiteral("Schema");
    case Tab::example:
        return QStringLiteral("Example");
    }
    return {};
}

std::optional<OperationDetailsTabController::Tab> OperationDetailsTabController::tabFromRawValue(int rawValue) {
    if (rawValue < 0 || rawValue >= static_cast<int>(allTabs.size())) {
        return std::nullopt;
    }
    return allTabs[static_cast<std::size_t>(rawValue)];
}

OperationDetailsTabController::OperationDetailsTabController(CarvexPlatform::ViewController* parentController)
    : parentController_(parentController) {
    // The pane posts its requests with itself as sender; the tabs post on its behalf alike.
    if (auto* pane = dynamic_cast<PropertiesViewController*>(parentController)) {
        navigationSender_ = pane;
    } else {
        navigationSender_ = parentController;
    }
    containerView_ = new QWidget();
    containerView_->setObjectName(QStringLiteral("operationDetailsContainer"));
    headerView_ = new QWidget(containerView_);
    contentArea_ = new QWidget(containerView_);
    contentArea_->setObjectName(QStringLiteral("operationDetailsContent"));
    methodLabel_ = DetailFonts::label(QString(), DetailFonts::monospaced(13, QFont::Bold),
                                      CarvexPlatform::SystemColor::label, headerView_);
    methodLabel_->setObjectName(QStringLiteral("methodLabel"));
    pathLabel_ = new ElidingLabel(QString(), Qt::ElideMiddle, headerView_);
    pathLabel_->setObjectName(QStringLiteral("pathLabel"));
    pathLabel_->setFont(DetailFonts::monospaced(13, QFont::DemiBold));
    DetailFonts::setTextColor(pathLabel_, CarvexPlatform::SystemColor::label);

    QStringList titles;
    for (Tab tab : allTabs) {
        titles << title(tab);
    }
    tabBar_ = new TabButtonBar(titles, DetailFonts::system(12), containerView_);
    tabBar_->setObjectName(QStringLiteral("detailsTabBar"));

    setupViews();

    QPointer<OperationDetailsTabController> weak(this);
    tabBar_->onTabSelected = [weak](int index) {
        if (!weak) {
            return;
        }
        if (const auto tab = tabFromRawValue(index)) {
            weak->currentTab_ = *tab;
            weak->switchToTab(*tab);
        }
    };
    tabBar_->setSelectedIndex(0);
}

OperationDetailsTabController::~OperationDetailsTabController() {
    if (tabBar_) {
        tabBar_->onTabSelected = nullptr;
    }
    // The tab views belong to their controllers, which go with this one.
    if (currentChildView_) {
        currentChildView_->setParent(nullptr);
    }
    if (containerView_ && !containerView_->parent()) {
        delete containerView_;
    }
}

void OperationDetailsTabController::setupViews() {
    auto* header = new QHBoxLayout(headerView_);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(8);
    header->addWidget(methodLabel_, 0, Qt::AlignVCenter);
    header->addWidget(pathLabel_, 1, Qt::AlignVCenter);
    headerView_->setFixedHeight(24);

    auto* content = new QVBoxLayout(contentArea_);
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(0);

    auto* layout = new QVBoxLayout(containerView_);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(8);
    auto* headerRow = new QHBoxLayout();
    headerRow->setContentsMargins(12, 0, 12, 0);
    headerRow->addWidget(headerView_);
    layout->addLayout(headerRow);
    layout->addWidget(tabBar_, 0, Qt::AlignHCenter);
    layout->addWidget(contentArea_, 1);
}

QLabel* OperationDetailsTabController::methodLabel() const { return methodLabel_; }

void OperationDetailsTabController::show(const OperationDetailsViewModel& details, std::optional<ParsedOpenAPIModel> model) {
    currentDetails_ = details;
    currentModel_ = std::move(model);
    // The Schema tab lets go of the trees of an earlier model at once, not when it is next shown.
    if (schemaTabVC_) {
        schemaTabVC_->releaseModelUnless(currentModel_);
    }
    if (exampleTabVC_) {
        exampleTabVC_->releaseModelUnless(currentModel_);
    }
    methodLabel_->setText(QString::fromUtf8(rawValue(details.id.method)));
    QPalette palette = methodLabel_->palette();
    palette.setColor(QPalette::WindowText, badgeColor(details.id.method));
    methodLabel_->setPalette(palette);
    pathLabel_->setText(details.id.path);
    currentTab_ = Tab::description;
    tabBar_->setSelectedIndex(0);
    switchToTab(Tab::description);
}

void OperationDetailsTabController::clear() {
    methodLabel_->setText(QString());
    pathLabel_->setText(QString());
    if (currentChildView_) {
        currentChildView_->hide();
        contentArea_->layout()->removeWidget(currentChildView_);
        currentChildView_->setParent(nullptr);
    }
    currentChildView_ = nullptr;
}

QWidget* OperationDetailsTabController::tabView(Tab tab) {
    switch (tab) {
    case Tab::description:
        if (!descriptionTabVC_) {
            descriptionTabVC_ = std::make_unique<DescriptionTabViewController>();
        }
        if (currentDetails_) {
            descriptionTabVC_->configure(*currentDetails_);
        }
        return descriptionTabVC_->view();
    case Tab::body:
        if (!bodyTabVC_) {
            bodyTabVC_ = std::make_unique<BodyTabViewController>();
            QPointer<OperationDetailsTabController> weak(this);
            bodyTabVC_->onSwitchToSchemaTab = [weak](std::optional<QString> statusCode) {
                if (weak) {
                    weak->switchToSchemaTab(statusCode);
                }
            };
            bodyTabVC_->onRevealInEditor = [weak](int line) {
                if (weak) {
                    weak->requestNavigation(line);
                }
            };
            bodyTabVC_->setNavigationSender(navigationSender_);
        }
        if (currentDetails_) {
            bodyTabVC_->configure(*currentDetails_);
        }
        return bodyTabVC_->view();
    case Tab::schema:
        if (!schemaTabVC_) {
            schemaTabVC_ = std::make_unique<SchemaTabViewController>();
            QPointer<OperationDetailsTabController> weak(this);
            schemaTabVC_->onRevealInEditor = [weak](int line) {
                if (weak) {
                    weak->requestNavigation(line);
                }
            };
        }
        if (currentDetails_) {
            schemaTabVC_->configure(*currentDetails_, currentModel_);
        }
        return schemaTabVC_->view();
    case Tab::example:
        if (!exampleTabVC_) {
            exampleTabVC_ = std::make_unique<ExampleTabViewController>();
        }
        if (currentDetails_) {
            exampleTabVC_->configure(*currentDetails_, currentModel_);
        }
        return exampleTabVC_->view();
    }
    return nullptr;
}

void OperationDetailsTabController::switchToTab(Tab tab) {
    if (currentChildView_) {
        currentChildView_->hide();
        contentArea_->layout()->removeWidget(currentChildView_);
        currentChildView_->setParent(nullptr);
        currentChildView_ = nullptr;
    }
    QWidget* view = tabView(tab);
    if (!view) {
        return;
    }
    contentArea_->layout()->addWidget(view);
    view->show();
    currentChildView_ = view;
}

void OperationDetailsTabController::switchToSchemaTab(const std::optional<QString>& statusCode) {
    currentTab_ = Tab::schema;
    tabBar_->setSelectedIndex(static_cast<int>(Tab::schema));
    switchToTab(Tab::schema);
    if (schemaTabVC_) {
        schemaTabVC_->selectSource(statusCode);
    }
}

void OperationDetailsTabController::requestNavigation(int line) {
    CarvexPlatform::NotificationCenter::defaultCenter().post(PropertiesViewController::didRequestNavigationNotification,
                                                             navigationSender_,
                                                             QVariantMap{{PropertiesViewController::lineKey, line}});
}

}  // namespace Carvex
