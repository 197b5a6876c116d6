#include "app/print/PrintPreviewDialog.h"

#include "app/BusyCursor.h"
#include "app/QtBitmap.h"
#include "canvas/Types.h"
#include "document/ResizeMath.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace quillon {

namespace {

QButtonGroup* RadioGroup(QWidget* owner, QGridLayout* grid, int row, const char* name,
                         const QString& title, int columns, const QStringList& items) {
    auto* box = new QGroupBox(title, owner);
    box->setObjectName(name);
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setVerticalSpacing(0);
    auto* group = new QButtonGroup(box);
    group->setObjectName(name);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        group->addButton(b, i);
        layout->addWidget(b, i / columns, i % columns);
    }
    group->button(0)->setChecked(true);
    grid->addWidget(box, row, 0, 1, 4);
    return group;
}

float Percent(const QLineEdit* edit) {
    return ParseFloatText(edit->text().toStdString());
}

} // namespace

QPrinter& CurrentPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

PrintPreviewDialog::PrintPreviewDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer) {
    setObjectName("printPreviewDialog");
    setWindowTitle("Print Preview");
    resize(572, 410);

    pagePanel = new QFrame(this);
    pagePanel->setObjectName("pagePanel");
    pagePanel->setAutoFillBackground(true);
    QPalette white = pagePanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    pagePanel->setPalette(white);
    pagePanel->move(10, 10);
    previewLabel = new QLabel(pagePanel);
    previewLabel->setObjectName("previewLabel");
    fullSheetLabel = new QLabel(pagePanel);
    fullSheetLabel->setObjectName("fullSheetLabel");
    fullSheetLabel->hide();

    auto* controls = new QWidget(this);
    controls->setGeometry(300, 10, 262, 390);
    auto* grid = new QGridLayout(controls);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    auto percentRow = [&](int row, const char* name, const char* caption, QLabel*& pixels) {
        auto* edit = new QLineEdit("100", controls);
        edit->setObjectName(name);
        grid->addWidget(new QLabel(caption, controls), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel("%", controls), row, 2);
        pixels = new QLabel(controls);
        grid->addWidget(pixels, row, 3);
        return edit;
    };
    widthPercentEdit = percentRow(0, "widthPercentEdit", "Scale Width", widthPixelsLabel);
    widthPixelsLabel->setObjectName("widthPixelsLabel");
    heightPercentEdit = percentRow(1, "heightPercentEdit", "Scale Height", heightPixelsLabel);
    heightPixelsLabel->setObjectName("heightPixelsLabel");
    aspectCheck = new QCheckBox("Maintain Aspect Ratio", controls);
    aspectCheck->setObjectName("aspectCheck");
    aspectCheck->setChecked(true);
    grid->addWidget(aspectCheck, 2, 0, 1, 4);
    orientationGroup = RadioGroup(controls, grid, 3, "orientationGroup", "Orientation", 2,
                                  {"Portrait", "Landscape"});
    horizontalAlignGroup = RadioGroup(controls, grid, 4, "horizontalAlignGroup", "Left/Right", 3,
                                      {"Left", "Center", "Right"});
    verticalAlignGroup = RadioGroup(controls, grid, 5, "verticalAlignGroup", "Top/Bottom", 3,
                                    {"Top", "Center", "Bottom"});
    customSizeGroup =
        RadioGroup(controls, grid, 6, "customSizeGroup", "Custom Size", 3,
                   {"None", "Fit to page", "4\" x 6\"", "3\" x 5\"", "6\" x 4\"", "5\" x 3\""});
    fullSheetCheck = new QCheckBox("Use Full Sheet", controls);
    fullSheetCheck->setObjectName("fullSheetCheck");
    grid->addWidget(fullSheetCheck, 7, 0, 1, 4);
    printingLabel = new QLabel("Printing...please be patient", controls);
    printingLabel->setObjectName("printingLabel");
    QFont bold = printingLabel->font();
    bold.setBold(true);
    printingLabel->setFont(bold);
    printingLabel->hide();
    grid->addWidget(printingLabel, 8, 0, 1, 4);
    auto* buttons = new QDialogButtonBox(controls);
    printButton = buttons->addButton("&Print", QDialogButtonBox::AcceptRole);
    printButton->setObjectName("printButton");
    printButton->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    grid->addWidget(buttons, 9, 0, 1, 4);
    grid->setRowStretch(8, 1);

    connect(widthPercentEdit, &QLineEdit::editingFinished, this,
            [this] { guarded([this] { widthPercentEdited(); }); });
    connect(heightPercentEdit, &QLineEdit::editingFinished, this,
            [this] { guarded([this] { heightPercentEdited(); }); });
    connect(orientationGroup, &QButtonGroup::idClicked, this,
            [this] { guarded([this] { orientationChosen(); }); });
    connect(horizontalAlignGroup, &QButtonGroup::idClicked, this,
            [this] { guarded([this] { horizontalAlignmentChosen(); }); });
    connect(verticalAlignGroup, &QButtonGroup::idClicked, this,
            [this] { guarded([this] { verticalAlignmentChosen(); }); });
    connect(customSizeGroup, &QButtonGroup::idClicked, this,
            [this] { guarded([this] { customSizeChosen(); }); });
    connect(fullSheetCheck, &QCheckBox::clicked, this,
            [this] { guarded([this] { fullSheetToggled(); }); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(printButton, &QPushButton::clicked, this, [this] {
        guarded([this] { print(); });
        // Printing closes the dialog whether or not it succeeded.
        printButton->setEnabled(true);
        printingLabel->hide();
        accept();
    });
}

void PrintPreviewDialog::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        if (showError)
            showError(e.what());
        else
            QMessageBox::critical(this, windowTitle(), QString::fromStdString(e.what()));
    }
}

void PrintPreviewDialog::readPage() {
    const QRect page = printer_.pageLayout().paintRectPixels(printer_.resolution());
    pw_ = page.width();
    ph_ = page.height();
}

void PrintPreviewDialog::sizePanel() {
    readPage();
    panel = PanelLayoutFor(pw_, ph_, printer_.pageLayout().orientation() == QPageLayout::Landscape);
    pagePanel->setGeometry(10, 10, panel.Width, panel.Height);
}

void PrintPreviewDialog::preparePreview(const Bitmap& picture, int width, int height) {
    picture_ = ToQImage(picture);
    printedBox_.reset();
    sourceWidth = width;
    sourceHeight = height;
    sizePanel();
    widthPixelsLabel->setText(QString::number(sourceWidth) + " pixels");
    heightPixelsLabel->setText(QString::number(sourceHeight) + " pixels");
    previewLabel->move(2, 2);
    showPreview(int(panel.Width * (double(sourceWidth) / pw_)),
                int(panel.Height * (double(sourceHeight) / ph_)));
    for (QButtonGroup* g :
         {orientationGroup, horizontalAlignGroup, verticalAlignGroup, customSizeGroup})
        g->button(0)->setChecked(true);
    // The orientation group shows the printer's own orientation: resetting
    // the group alone would show "Portrait" for a landscape page.
    if (printer_.pageLayout().orientation() == QPageLayout::Landscape)
        orientationGroup->button(1)->setChecked(true);
    fullSheetCheck->setChecked(false);
    customSizeChosen();
}

void PrintPreviewDialog::showPreview(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    previewLabel->resize(w, h);
    if (w > 0 && h > 0 && !picture_.isNull())
        previewLabel->setPixmap(QPixmap::fromImage(
            picture_.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    else
        previewLabel->clear();
}

double PrintPreviewDialog::widthScale() const {
    return ScaleOfPercentEdit(Percent(widthPercentEdit), widthPercentEdit->text() == choiceText_,
                              choiceScale_);
}

double PrintPreviewDialog::heightScale() const {
    return ScaleOfPercentEdit(Percent(heightPercentEdit), heightPercentEdit->text() == choiceText_,
                              choiceScale_);
}

void PrintPreviewDialog::widthPercentEdited() {
    const double ws = widthScale();
    const int w = PreviewExtent(float(ws * 100), sourceWidth, panel.ScaleX);
    if (aspectCheck->isChecked()) heightPercentEdit->setText(widthPercentEdit->text());
    const double hs = heightScale();
    const int h = PreviewExtent(float(hs * 100), sourceHeight, panel.ScaleY);
    cellPreviewWidth = float(w);
    cellPreviewHeight = float(h);
    cellWidth = float(ws * sourceWidth);
    cellHeight = float(hs * sourceHeight);
    showPreview(w, h);
    horizontalAlignmentChosen();
    verticalAlignmentChosen();
    if (fullSheetCheck->isChecked()) fullSheetToggled();
}

void PrintPreviewDialog::heightPercentEdited() {
    const double hs = heightScale();
    const int h = PreviewExtent(float(hs * 100), sourceHeight, panel.ScaleY);
    if (aspectCheck->isChecked()) widthPercentEdit->setText(heightPercentEdit->text());
    const double ws = widthScale();
    const int w = PreviewExtent(float(ws * 100), sourceWidth, panel.ScaleX);
    showPreview(w, h);
    horizontalAlignmentChosen();
    verticalAlignmentChosen();
    if (fullSheetCheck->isChecked()) fullSheetToggled();
}

void PrintPreviewDialog::orientationChosen() {
    printer_.setPageOrientation(orientationGroup->checkedId() == 1 ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait);
    sizePanel();
    horizontalAlignmentChosen();
    verticalAlignmentChosen();
    customSizeChosen();
}

void PrintPreviewDialog::horizontalAlignmentChosen() {
    previewLabel->move(AlignedStart(AlignChoice(horizontalAlignGroup->checkedId()), panel.Width,
                                    previewLabel->width()),
                       previewLabel->y());
}

void PrintPreviewDialog::verticalAlignmentChosen() {
    previewLabel->move(previewLabel->x(), AlignedStart(AlignChoice(verticalAlignGroup->checkedId()),
                                                       panel.Height, previewLabel->height()));
}

void PrintPreviewDialog::customSizeChosen() {
    BusyCursor busy;
    const auto choice = CustomSize(customSizeGroup->checkedId());
    const CustomLayout c =
        CustomLayoutFor(choice, pw_, ph_, printer_.resolution(), sourceWidth, sourceHeight);
    cellWidth = c.CellWidth;
    cellHeight = c.CellHeight;
    // The edits show a whole percent; the print keeps the exact scale while
    // they show it.
    choiceScale_ = c.Scale;
    choiceText_ = QString::number(c.Percent);
    widthPercentEdit->setText(choiceText_);
    heightPercentEdit->setText(choiceText_);
    if (choice == CustomSize::None) {
        heightPercentEdited();
        horizontalAlignGroup->button(int(AlignChoice::Start))->setChecked(true);
        verticalAlignGroup->button(int(AlignChoice::Start))->setChecked(true);
        horizontalAlignmentChosen();
        verticalAlignmentChosen();
    } else {
        heightPercentEdited();
        if (choice == CustomSize::FitToPage) {
            horizontalAlignGroup->button(int(AlignChoice::Center))->setChecked(true);
            verticalAlignGroup->button(int(AlignChoice::Center))->setChecked(true);
            horizontalAlignmentChosen();
            verticalAlignmentChosen();
        }
    }
    cellPreviewWidth = cellWidth * panel.PreviewScale;
    cellPreviewHeight = panel.PreviewScale * cellHeight;
    if (fullSheetCheck->isChecked()) fullSheetToggled();
}

void PrintPreviewDialog::fullSheetToggled() {
    BusyCursor busy;
    if (!fullSheetCheck->isChecked()) {
        previewLabel->show();
        fullSheetLabel->hide();
        return;
    }
    const std::vector<int> cols = PreviewGridStarts(cellPreviewWidth, panel.Width);
    const std::vector<int> rows = PreviewGridStarts(cellPreviewHeight, panel.Height);
    QImage sheet(cols.back(), rows.back(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    const QPixmap copy = previewLabel->pixmap();
    if (!copy.isNull() && !sheet.isNull()) {
        QPainter p(&sheet);
        for (int y : rows)
            for (int x : cols) p.drawPixmap(x, y, copy);
    }
    fullSheetLabel->setGeometry(0, 0, sheet.width(), sheet.height());
    fullSheetLabel->setPixmap(QPixmap::fromImage(sheet));
    previewLabel->hide();
    fullSheetLabel->show();
}

void PrintPreviewDialog::print() {
    BusyCursor busy;
    printButton->setEnabled(false);
    printingLabel->show();
    QApplication::processEvents();
    const double ws = widthScale();
    const double hs = heightScale();
    const Rect target = PrintTarget(panel, pw_, ph_, previewLabel->x(), previewLabel->y(),
                                    AlignChoice(horizontalAlignGroup->checkedId()),
                                    AlignChoice(verticalAlignGroup->checkedId()), ws, hs,
                                    sourceWidth, sourceHeight);
    // Without any installed printer Qt turns the printer into PDF output with
    // no file, which would fail with no useful reason.
    const bool noPrinter = printer_.outputFormat() == QPrinter::NativeFormat
                               ? QPrinterInfo::availablePrinters().isEmpty() || !printer_.isValid()
                               : printer_.outputFileName().isEmpty();
    if (noPrinter)
        throw PictureError("No printer is installed. Add a printer to the system, or choose "
                           "printing to a PDF file in Printer Setup.");
    QPainter painter;
    if (!painter.begin(&printer_))
        throw PictureError("The print job could not start on " +
                           printer_.printerName().toStdString() +
                           (printer_.outputFileName().isEmpty()
                                ? std::string(".")
                                : " (" + printer_.outputFileName().toStdString() + ")."));
    auto draw = [&](const Rect& r) {
        painter.drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), picture_);
    };
    if (!fullSheetCheck->isChecked())
        draw(target);
    else
        for (const Rect& r :
             FullSheetCopies(cellWidth, cellHeight, pw_, ph_, PrintedExtent(sourceWidth, ws),
                             PrintedExtent(sourceHeight, hs)))
            draw(r);
    painter.end();
    const bool exact =
        widthPercentEdit->text() == choiceText_ && heightPercentEdit->text() == choiceText_;
    printedBox_.reset();
    if (exact) printedBox_ = PhotoBoxOf(CustomSize(customSizeGroup->checkedId()));
}

} // namespace quillon
