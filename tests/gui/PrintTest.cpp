// The print preview driven through its controls, printing into a PDF file
// that pdftoppm renders, so the test sees where the picture really lands.
#include "app/print/PrintPreviewDialog.h"
#include "canvas/Bitmap.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace quillon;

namespace {

// A printer writing a Letter page at 100 dots an inch with no margins, so
// the printable area is 850 x 1100 dots.
void PdfPrinter(QPrinter& printer, const QString& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(100);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setPageOrientation(QPageLayout::Portrait);
}

std::unique_ptr<Bitmap> RedPicture(int w, int h) {
    auto b = std::make_unique<Bitmap>(w, h, PixelFormat::Bgrx32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, RGB(255, 0, 0));
    return b;
}

// Renders the PDF's first page at dpi and returns the bounds of its red
// pixels (empty when there are none).
QRect RedBounds(const QString& pdf, QSize* pageSize = nullptr, int dpi = 100) {
    const QString png = pdf + "-page";
    const int rc = QProcess::execute("pdftoppm",
                                     {"-r", QString::number(dpi), "-png", "-singlefile", pdf, png});
    if (rc != 0) return {};
    const QImage page = QImage(png + ".png").convertToFormat(QImage::Format_RGB32);
    if (pageSize) *pageSize = page.size();
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = row[x];
            if (qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

bool Near(const QRect& a, const QRect& b) {
    return std::abs(a.left() - b.left()) <= 1 && std::abs(a.top() - b.top()) <= 1 &&
           std::abs(a.right() - b.right()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1;
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void centredPictureLandsWherePreviewShowsIt() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("centre.pdf");
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, pdf);
        PrintPreviewDialog dialog(printer);
        const auto picture = RedPicture(200, 100);
        dialog.preparePreview(*picture, 200, 100);
        QCOMPARE(dialog.pageWidth(), 850);
        QCOMPARE(dialog.pageHeight(), 1100);
        QCOMPARE(dialog.widthPixelsLabel->text(), QString("200 pixels"));
        dialog.horizontalAlignGroup->button(int(AlignChoice::Center))->click();
        dialog.verticalAlignGroup->button(int(AlignChoice::End))->click();
        const QPoint at = dialog.previewLabel->pos();
        QCOMPARE(at.x(), 200 / 2 - 47 / 2);
        const Rect t = PrintTarget(dialog.panel, 850, 1100, at.x(), at.y(), AlignChoice::Center,
                                   AlignChoice::End, 1.0, 1.0, 200, 100);
        QCOMPARE(t.Left, (850 - 200) / 2);
        dialog.printButton->click();
        QSize page;
        const QRect red = RedBounds(pdf, &page);
        QCOMPARE(page, QSize(850, 1100));
        QVERIFY2(Near(red, QRect(t.Left, t.Top, 200, 100)),
                 qPrintable(QString("red at %1,%2 %3x%4, expected %5,%6 200x100")
                                .arg(red.x())
                                .arg(red.y())
                                .arg(red.width())
                                .arg(red.height())
                                .arg(t.Left)
                                .arg(t.Top)));
    }

    void photoSizeScalesThePrintAndUnlinkedPercentsStretch() {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, dir.filePath("4x6.pdf"));
        PrintPreviewDialog dialog(printer);
        const auto picture = RedPicture(60, 40);
        dialog.preparePreview(*picture, 60, 40);
        dialog.customSizeGroup->button(int(CustomSize::Size4x6))->click();
        // 4" at 100 dpi is 400 dots wide: 60 x 6.667, shown as 667 %.
        QCOMPARE(dialog.widthPercentEdit->text(), QString("667"));
        QCOMPARE(dialog.heightPercentEdit->text(), QString("667"));
        dialog.printButton->click();
        // The preview sits at (2, 2): 8 dots on the page.
        QVERIFY(Near(RedBounds(dir.filePath("4x6.pdf")), QRect(8, 8, 400, 267)));

        PdfPrinter(printer, dir.filePath("stretch.pdf"));
        dialog.preparePreview(*picture, 60, 40);
        dialog.aspectCheck->setChecked(false);
        dialog.widthPercentEdit->setText("200");
        dialog.widthPercentEdited();
        QCOMPARE(dialog.heightPercentEdit->text(), QString("100"));
        dialog.printButton->click();
        QVERIFY(Near(RedBounds(dir.filePath("stretch.pdf")), QRect(8, 8, 120, 40)));
    }

    // Each photo size, and the printable area, measured on the paper: a 4:3
    // picture at the printer's 1200 dpi on Letter and A4 with 10 mm margins.
    void photoSizesPrintAtTheirSize_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("choice");
        QTest::addColumn<double>("widthInches");
        QTest::addColumn<double>("heightInches");
        const std::pair<const char*, QPageSize::PageSizeId> pages[] = {
            {"Letter", QPageSize::Letter}, {"A4", QPageSize::A4}};
        for (const auto& [name, id] : pages) {
            // Fit to page: the printable area's width, as the printer
            // reports it (the PDF writer keeps margins in whole points).
            const std::tuple<const char*, CustomSize, double, double> sizes[] = {
                {"fit to page", CustomSize::FitToPage, 0, 0},
                {"4x6", CustomSize::Size4x6, 4, 3},
                {"3x5", CustomSize::Size3x5, 3, 2.25},
                {"6x4", CustomSize::Size6x4, 16.0 / 3, 4},
                {"5x3", CustomSize::Size5x3, 4, 3}};
            for (const auto& [size, choice, w, h] : sizes)
                QTest::addRow("%s %s", name, size) << int(id) << int(choice) << w << h;
        }
    }
    void photoSizesPrintAtTheirSize() {
        QFETCH(int, page);
        QFETCH(int, choice);
        QFETCH(double, widthInches);
        QFETCH(double, heightInches);
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) QSKIP("pdftoppm is missing");
        QTemporaryDir dir;
        const QString pdf = dir.filePath("size.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::PageSizeId(page)));
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        printer.setPageOrientation(QPageLayout::Portrait);
        QCOMPARE(printer.resolution(), 1200);
        if (CustomSize(choice) == CustomSize::FitToPage) {
            const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Inch);
            QVERIFY(std::abs(printable.left() - 10 / 25.4) < 0.01);
            widthInches = printable.width();
            heightInches = widthInches * 0.75;
        }
        PrintPreviewDialog dialog(printer);
        const auto picture = RedPicture(400, 300);
        dialog.preparePreview(*picture, 400, 300);
        dialog.customSizeGroup->button(choice)->click();
        dialog.printButton->click();
        constexpr int kDpi = 300;
        QSize paper;
        const QRect red = RedBounds(pdf, &paper, kDpi);
        QVERIFY(!red.isEmpty());
        const double measuredWidth = double(red.width()) / kDpi;
        const double measuredHeight = double(red.height()) / kDpi;
        QVERIFY2(std::abs(measuredWidth - widthInches) <= 0.01 &&
                     std::abs(measuredHeight - heightInches) <= 0.01,
                 qPrintable(QString("printed %1 x %2 in, expected %3 x %4 in")
                                .arg(measuredWidth, 0, 'f', 4)
                                .arg(measuredHeight, 0, 'f', 4)
                                .arg(widthInches, 0, 'f', 4)
                                .arg(heightInches, 0, 'f', 4)));
        if (CustomSize(choice) == CustomSize::FitToPage) {
            // Centred on the paper, inside the margins.
            const double left = double(red.left()) / kDpi;
            const double right = double(paper.width() - 1 - red.right()) / kDpi;
            QVERIFY2(std::abs(left - right) <= 0.01 && left >= 10 / 25.4 - 0.01,
                     qPrintable(QString("%1 in left, %2 in right").arg(left).arg(right)));
        }
    }

    void fullSheetPrintsEveryCopy() {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, dir.filePath("sheet.pdf"));
        PrintPreviewDialog dialog(printer);
        const auto picture = RedPicture(300, 200);
        dialog.preparePreview(*picture, 300, 200);
        dialog.fullSheetCheck->click();
        QVERIFY(!dialog.fullSheetLabel->isHidden());
        QVERIFY(dialog.previewLabel->isHidden());
        dialog.printButton->click();
        // Copies at x = 20, 340 (660 + 300 > 850) and y = 20, 240, ..., 900
        // (900 + 200 = 1100 still fits): the red spans the first to the last.
        QVERIFY(Near(RedBounds(dir.filePath("sheet.pdf")), QRect(20, 20, 620, 1080)));
    }

    void badPercentKeepsThePreviewAndReportsIt() {
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, QDir::temp().filePath("quillon-unused.pdf"));
        PrintPreviewDialog dialog(printer);
        std::vector<std::string> errors;
        dialog.showError = [&](const std::string& e) { errors.push_back(e); };
        const auto picture = RedPicture(60, 40);
        dialog.preparePreview(*picture, 60, 40);
        const QSize before = dialog.previewLabel->size();
        dialog.widthPercentEdit->setText("12q");
        emit dialog.widthPercentEdit->editingFinished();
        QCOMPARE(errors.size(), std::size_t(1));
        QCOMPARE(errors[0], std::string("'12q' is not a valid floating point value"));
        QCOMPARE(dialog.previewLabel->size(), before);
    }

    void noPrinterInstalledIsReported() {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::NativeFormat);
        PrintPreviewDialog dialog(printer);
        std::vector<std::string> errors;
        dialog.showError = [&](const std::string& e) { errors.push_back(e); };
        const auto picture = RedPicture(60, 40);
        dialog.preparePreview(*picture, 60, 40);
        dialog.printButton->click();
        QCOMPARE(errors.size(), std::size_t(1));
        QVERIFY(errors[0].find("No printer is installed") == 0);
        QVERIFY(dialog.printButton->isEnabled());
    }
};

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
