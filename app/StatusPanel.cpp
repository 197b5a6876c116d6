#include "app/StatusPanel.h"

#include "app/DocumentController.h"
#include "app/ViewZoom.h"
#include "app/WindowLayout.h"
#include "document/PhotoDocument.h"

#include <QLabel>
#include <QStatusBar>

#include <cmath>

namespace quillon {

namespace {

// A print length with at most one decimal, without a trailing ".0".
QString PrintLength(double value) {
    return QString::number(std::round(value * 10) / 10, 'g', 6);
}

} // namespace

StatusTexts StatusOf(const DocumentController& controller) {
    StatusTexts texts;
    const QSize picture = controller.pictureSize();
    if (picture.isEmpty()) return texts;
    texts.file = controller.fileName().empty()
                     ? QStringLiteral("Untitled")
                     : QString::fromStdString(FilePart(controller.fileName()));
    const int w = picture.width(), h = picture.height();
    texts.size = QStringLiteral("%1 × %2 pixels").arg(w).arg(h);
    if (const double ppi = controller.pixelsPerInch(); ppi > 0) {
        // Printed at the resolution the edit bar's print lengths use, in the
        // print size's own kind of unit.
        const LengthUnit unit = controller.editUnits().printSize.unit;
        const bool metric = unit == LengthUnit::Centimetres || unit == LengthUnit::Millimetres;
        const double perInch = metric ? 2.54 : 1.0;
        texts.size += QStringLiteral(", %1 × %2 %3 at %4 dpi")
                          .arg(PrintLength(w / ppi * perInch), PrintLength(h / ppi * perInch),
                               metric ? QStringLiteral("cm") : QStringLiteral("in"))
                          .arg(std::lround(ppi));
    }
    const QString percent = QString::fromStdString(ZoomPercent(controller.zoom()));
    texts.zoom = controller.fitting() ? QStringLiteral("Fit %1").arg(percent) : percent;
    const Selection s = controller.selection().Normalised();
    if (s.HasArea())
        texts.selection =
            QStringLiteral("Selection %1 × %2 pixels").arg(s.right - s.left).arg(s.bottom - s.top);
    return texts;
}

StatusPanel::StatusPanel(QStatusBar& bar, DocumentController& controller)
    : QObject(&bar), controller_(controller) {
    auto label = [&](const char* name, const QString& tip) {
        auto* l = new QLabel(&bar);
        l->setObjectName(name);
        l->setToolTip(tip);
        l->setAccessibleName(tip);
        l->setContentsMargins(8, 0, 8, 0);
        return l;
    };
    fileLabel = label("statusFile", tr("The picture's file"));
    selectionLabel = label("statusSelection", tr("The size of the selection"));
    sizeLabel = label("statusSize", tr("The picture's size in pixels and as printed"));
    zoomLabel = label("statusZoom", tr("The zoom"));
    bar.addWidget(fileLabel, 1);
    bar.addPermanentWidget(selectionLabel);
    bar.addPermanentWidget(sizeLabel);
    bar.addPermanentWidget(zoomLabel);
    for (auto signal : {&DocumentController::documentOpened, &DocumentController::documentClosed,
                        &DocumentController::pictureChanged, &DocumentController::pictureResized,
                        &DocumentController::selectionChanged, &DocumentController::titlesChanged,
                        &DocumentController::unitsChanged, &DocumentController::styleChanged})
        connect(&controller_, signal, this, &StatusPanel::update);
    connect(&controller_, &DocumentController::zoomChanged, this, &StatusPanel::update);
    update();
}

void StatusPanel::update() {
    const StatusTexts texts = StatusOf(controller_);
    fileLabel->setText(texts.file);
    sizeLabel->setText(texts.size);
    zoomLabel->setText(texts.zoom);
    selectionLabel->setText(texts.selection);
    selectionLabel->setVisible(!texts.selection.isEmpty());
}

} // namespace quillon
