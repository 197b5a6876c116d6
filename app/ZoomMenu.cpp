#include "app/ZoomMenu.h"

#include "app/DocumentController.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace quillon {

ZoomMenu::ZoomMenu(QMenu& menu, DocumentController& controller)
    : QObject(&menu), controller_(controller) {
    group_ = new QActionGroup(this);
    group_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    auto add = [&](const char* name, const QString& caption, const QString& tip,
                   const QList<QKeySequence>& keys, auto command) {
        QAction* action = menu.addAction(caption);
        action->setObjectName(name);
        action->setShortcuts(keys);
        action->setToolTip(tip);
        action->setStatusTip(tip);
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    DocumentController& c = controller_;
    zoomInAction =
        add("zoomInAction", tr("Zoom &In"), tr("Show the picture larger"),
            {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, [&c] { c.zoomIn(); });
    zoomOutAction = add("zoomOutAction", tr("Zoom &Out"), tr("Show the picture smaller"),
                        {QKeySequence::ZoomOut}, [&c] { c.zoomOut(); });
    menu.addSeparator();
    fitAction =
        add("zoomFitAction", tr("&Fit to Window"), tr("Show the whole picture in the window"),
            {QKeySequence(Qt::CTRL | Qt::Key_0)}, [&c] { c.zoomToFit(); });
    fitAction->setCheckable(true);
    group_->addAction(fitAction);

    struct Step {
        double scale;
        const char* name;
        QString caption;
        QList<QKeySequence> keys;
    };
    const Step steps[] = {
        {4.0, "zoom400Action", tr("Zoom &400%"), {QKeySequence(Qt::CTRL | Qt::Key_4)}},
        {2.0, "zoom200Action", tr("Zoom &200%"), {QKeySequence(Qt::CTRL | Qt::Key_2)}},
        {1.0, "zoomNormalAction", tr("&Normal Size"), {QKeySequence(Qt::CTRL | Qt::Key_1)}},
        {0.75, "zoom75Action", tr("Zoom &75%"), {}},
        {0.5, "zoom50Action", tr("Zoom &50%"), {}},
        {0.25, "zoom25Action", tr("Zoom &25%"), {}},
        {0.1, "zoom10Action", tr("Zoom &10%"), {}}};
    for (const Step& step : steps) {
        const double scale = step.scale;
        QAction* action =
            add(step.name, step.caption, tr("Show the picture at %1 %").arg(scale * 100), step.keys,
                [&c, scale] { c.setZoom(scale); });
        action->setCheckable(true);
        group_->addAction(action);
        steps_.emplace_back(scale, action);
    }
    connect(&controller_, &DocumentController::zoomChanged, this, &ZoomMenu::updateChecks);
    updateChecks();
}

QAction* ZoomMenu::stepAction(double scale) const {
    for (const auto& [step, action] : steps_)
        if (step == scale) return action;
    return nullptr;
}

void ZoomMenu::updateChecks() {
    fitAction->setChecked(controller_.fitting());
    for (const auto& [step, action] : steps_)
        action->setChecked(!controller_.fitting() && step == controller_.zoom());
}

} // namespace quillon
