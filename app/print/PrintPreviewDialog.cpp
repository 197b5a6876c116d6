#include "app/print/Prntprv.h"

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

class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

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

TfrmPrint::TfrmPrint(QPrinter& printer, QWidget* parent) : QDialog(parent), printer_(printer) {
    setObjectName("frmPrint");
    setWindowTitle("Print Preview");
    resize(572, 410);

    pnlPrintPage = new QFrame(this);
    pnlPrintPage->setObjectName("pnlPrintPage");
    pnlPrintPage->setAutoFillBackground(true);
    QPalette white = pnlPrintPage->palette();
    white.setColor(QPalette::Window, Qt::white);
    pnlPrintPage->setPalette(white);
    pnlPrintPage->move(10, 10);
    PreviewImage = new QLabel(pnlPrintPage);
    PreviewImage->setObjectName("PreviewImage");
    FullSheet = new QLabel(pnlPrintPage);
    FullSheet->setObjectName("FullSheet");
    FullSheet->hide();

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
    edImageWidth = percentRow(0, "edImageWidth", "Scale Width", lblWidth);
    lblWidth->setObjectName("lblWidth");
    edImageHeight = percentRow(1, "edImageHeight", "Scale Height", lblHeight);
    lblHeight->setObjectName("lblHeight");
    cbAspect = new QCheckBox("Maintain Aspect Ratio", controls);
    cbAspect->setObjectName("cbAspect");
    cbAspect->setChecked(true);
    grid->addWidget(cbAspect, 2, 0, 1, 4);
    rgOrientation =
        RadioGroup(controls, grid, 3, "rgOrientation", "Orientation", 2, {"Portrait", "Landscape"});
    rgAlign =
        RadioGroup(controls, grid, 4, "rgAlign", "Left/Right", 3, {"Left", "Center", "Right"});
    rgTopBot =
        RadioGroup(controls, grid, 5, "rgTopBot", "Top/Bottom", 3, {"Top", "Center", "Bottom"});
    rgCustom =
        RadioGroup(controls, grid, 6, "rgCustom", "Custom Size", 3,
                   {"None", "Fit to page", "4\" x 6\"", "3\" x 5\"", "6\" x 4\"", "5\" x 3\""});
    cbSheetify = new QCheckBox("Use Full Sheet", controls);
    cbSheetify->setObjectName("cbSheetify");
    grid->addWidget(cbSheetify, 7, 0, 1, 4);
    lblPrint = new QLabel("Printing...please be patient", controls);
    lblPrint->setObjectName("lblPrint");
    QFont bold = lblPrint->font();
    bold.setBold(true);
    lblPrint->setFont(bold);
    lblPrint->hide();
    grid->addWidget(lblPrint, 8, 0, 1, 4);
    auto* buttons = new QDialogButtonBox(controls);
    btnPrint = buttons->addButton("&Print", QDialogButtonBox::AcceptRole);
    btnPrint->setObjectName("btnPrint");
    btnPrint->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    grid->addWidget(buttons, 9, 0, 1, 4);
    grid->setRowStretch(8, 1);

    connect(edImageWidth, &QLineEdit::editingFinished, this,
            [this] { Guarded([this] { edImageWidthExit(); }); });
    connect(edImageHeight, &QLineEdit::editingFinished, this,
            [this] { Guarded([this] { edImageHeightExit(); }); });
    connect(rgOrientation, &QButtonGroup::idClicked, this,
            [this] { Guarded([this] { rgOrientationClick(); }); });
    connect(rgAlign, &QButtonGroup::idClicked, this,
            [this] { Guarded([this] { rgAlignClick(); }); });
    connect(rgTopBot, &QButtonGroup::idClicked, this,
            [this] { Guarded([this] { rgTopBotClick(); }); });
    connect(rgCustom, &QButtonGroup::idClicked, this,
            [this] { Guarded([this] { rgCustomClick(); }); });
    connect(cbSheetify, &QCheckBox::clicked, this,
            [this] { Guarded([this] { cbSheetifyClick(); }); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnPrint, &QPushButton::clicked, this, [this] {
        Guarded([this] { btnPrintClick(); });
        // Printing closes the dialog whether or not it succeeded.
        btnPrint->setEnabled(true);
        lblPrint->hide();
        accept();
    });
}

void TfrmPrint::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        if (ShowError)
            ShowError(e.what());
        else
            QMessageBox::critical(this, windowTitle(), QString::fromStdString(e.what()));
    }
}

void TfrmPrint::ReadPage() {
    const QRect page = printer_.pageLayout().paintRectPixels(printer_.resolution());
    pw_ = page.width();
    ph_ = page.height();
}

void TfrmPrint::SizePanel() {
    ReadPage();
    Panel = PanelLayoutFor(pw_, ph_, printer_.pageLayout().orientation() == QPageLayout::Landscape);
    pnlPrintPage->setGeometry(10, 10, Panel.Width, Panel.Height);
}

void TfrmPrint::FormActivate(const Bitmap& picture, int sourceWidth, int sourceHeight) {
    picture_ = ToQImage(picture);
    SourceWidth = sourceWidth;
    SourceHeight = sourceHeight;
    SizePanel();
    lblWidth->setText(QString::number(SourceWidth) + " pixels");
    lblHeight->setText(QString::number(SourceHeight) + " pixels");
    PreviewImage->move(2, 2);
    ShowPreview(int(Panel.Width * (double(SourceWidth) / pw_)),
                int(Panel.Height * (double(SourceHeight) / ph_)));
    for (QButtonGroup* g : {rgOrientation, rgAlign, rgTopBot, rgCustom})
        g->button(0)->setChecked(true);
    // The orientation group shows the printer's own orientation: resetting
    // the group alone would show "Portrait" for a landscape page.
    if (printer_.pageLayout().orientation() == QPageLayout::Landscape)
        rgOrientation->button(1)->setChecked(true);
    cbSheetify->setChecked(false);
    rgCustomClick();
}

void TfrmPrint::ShowPreview(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    PreviewImage->resize(w, h);
    if (w > 0 && h > 0 && !picture_.isNull())
        PreviewImage->setPixmap(QPixmap::fromImage(
            picture_.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    else
        PreviewImage->clear();
}

void TfrmPrint::edImageWidthExit() {
    const float wp = Percent(edImageWidth);
    const int w = PreviewExtent(wp, SourceWidth, Panel.ScaleX);
    if (cbAspect->isChecked()) edImageHeight->setText(edImageWidth->text());
    const float hp = Percent(edImageHeight);
    const int h = PreviewExtent(hp, SourceHeight, Panel.ScaleY);
    CellPreviewWidth = float(w);
    CellPreviewHeight = float(h);
    CellWidth = wp * 0.01f * float(SourceWidth);
    CellHeight = hp * 0.01f * float(SourceHeight);
    ShowPreview(w, h);
    rgAlignClick();
    rgTopBotClick();
    if (cbSheetify->isChecked()) cbSheetifyClick();
}

void TfrmPrint::edImageHeightExit() {
    const float hp = Percent(edImageHeight);
    const int h = PreviewExtent(hp, SourceHeight, Panel.ScaleY);
    if (cbAspect->isChecked()) edImageWidth->setText(edImageHeight->text());
    const float wp = Percent(edImageWidth);
    const int w = PreviewExtent(wp, SourceWidth, Panel.ScaleX);
    ShowPreview(w, h);
    rgAlignClick();
    rgTopBotClick();
    if (cbSheetify->isChecked()) cbSheetifyClick();
}

void TfrmPrint::rgOrientationClick() {
    printer_.setPageOrientation(rgOrientation->checkedId() == 1 ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
    SizePanel();
    rgAlignClick();
    rgTopBotClick();
    rgCustomClick();
}

void TfrmPrint::rgAlignClick() {
    PreviewImage->move(
        AlignedStart(AlignChoice(rgAlign->checkedId()), Panel.Width, PreviewImage->width()),
        PreviewImage->y());
}

void TfrmPrint::rgTopBotClick() {
    PreviewImage->move(PreviewImage->x(), AlignedStart(AlignChoice(rgTopBot->checkedId()),
                                                       Panel.Height, PreviewImage->height()));
}

void TfrmPrint::rgCustomClick() {
    TBusyCursor busy;
    const auto choice = CustomSize(rgCustom->checkedId());
    const bool landscape = printer_.pageLayout().orientation() == QPageLayout::Landscape;
    const CustomLayout c = CustomLayoutFor(choice, pw_, ph_, landscape, SourceWidth, SourceHeight);
    CellWidth = c.CellWidth;
    CellHeight = c.CellHeight;
    const QString percent = QString::number(c.Percent);
    edImageWidth->setText(percent);
    edImageHeight->setText(percent);
    if (choice == CustomSize::None) {
        edImageHeightExit();
        rgAlign->button(int(AlignChoice::Start))->setChecked(true);
        rgTopBot->button(int(AlignChoice::Start))->setChecked(true);
        rgAlignClick();
        rgTopBotClick();
    } else {
        edImageHeightExit();
        if (choice == CustomSize::FitToPage) {
            rgAlign->button(int(AlignChoice::Center))->setChecked(true);
            rgTopBot->button(int(AlignChoice::Center))->setChecked(true);
            rgAlignClick();
            rgTopBotClick();
        }
    }
    CellPreviewWidth = CellWidth * Panel.PreviewScale;
    CellPreviewHeight = Panel.PreviewScale * CellHeight;
    if (cbSheetify->isChecked()) cbSheetifyClick();
}

void TfrmPrint::cbSheetifyClick() {
    TBusyCursor busy;
    if (!cbSheetify->isChecked()) {
        PreviewImage->show();
        FullSheet->hide();
        return;
    }
    const std::vector<int> cols = PreviewGridStarts(CellPreviewWidth, Panel.Width);
    const std::vector<int> rows = PreviewGridStarts(CellPreviewHeight, Panel.Height);
    QImage sheet(cols.back(), rows.back(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    const QPixmap copy = PreviewImage->pixmap();
    if (!copy.isNull() && !sheet.isNull()) {
        QPainter p(&sheet);
        for (int y : rows)
            for (int x : cols) p.drawPixmap(x, y, copy);
    }
    FullSheet->setGeometry(0, 0, sheet.width(), sheet.height());
    FullSheet->setPixmap(QPixmap::fromImage(sheet));
    PreviewImage->hide();
    FullSheet->show();
}

void TfrmPrint::btnPrintClick() {
    TBusyCursor busy;
    btnPrint->setEnabled(false);
    lblPrint->show();
    QApplication::processEvents();
    const float wp = Percent(edImageWidth);
    const float hp = Percent(edImageHeight);
    const Rect target = PrintTarget(Panel, pw_, ph_, PreviewImage->x(), PreviewImage->y(), wp, hp,
                                    SourceWidth, SourceHeight);
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
    if (!cbSheetify->isChecked())
        draw(target);
    else
        for (const Rect& r :
             FullSheetCopies(CellWidth, CellHeight, pw_, ph_, wp * float(SourceWidth) * 0.01f,
                             hp * float(SourceHeight) * 0.01f))
            draw(r);
    painter.end();
}

} // namespace quillon
