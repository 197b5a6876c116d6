// The resize dialog and printing driven through the main window's actions:
// what the dialogs show, what the picture becomes, where the print lands.
#include "GuiFixture.h"
#include "app/dialogs/ResizeDialog.h"
#include "app/print/PrintPreviewDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

using namespace quillon;

class ImageMenuTest : public QObject {
    Q_OBJECT
private slots:
    void theResizeDialogLinksItsEditsAndResizes() {
        ShellRun run;
        MainWindow& m = run.start();
        run.putPictureOnClipboard(640, 480);
        m.pasteAction->trigger();
        run.dialogs.onModal = [](QDialog& d) {
            auto& r = static_cast<ResizeDialog&>(d);
            r.widthPercentEdit->clear();
            for (const char* text : {"1", "15", "150"}) r.widthPercentEdit->setText(text);
            if (r.pixelHeightEdit->text() != "720") return int(QDialog::Rejected);
            r.pixelWidthEdit->setText("100");
            return int(QDialog::Accepted);
        };
        m.resizeAction->trigger();
        QVERIFY(run.dialogs.messages.empty());
        QCOMPARE(m.resizeDialog()->widthPercentEdit->text(), QString("15"));
        QCOMPARE(m.controller().document()->Photo().Width(), 100);
        QCOMPARE(m.controller().document()->Photo().Height(), 75);
        QCOMPARE(m.undoAction->text(), QString("&Undo Resize Photo"));
        QCOMPARE(m.windowTitle(), QString("Quillon"));
    }

    void theResizeDialogKeepsItsAspectChoiceAndRefusesBadSizes() {
        ShellRun run;
        MainWindow& m = run.start();
        run.putPictureOnClipboard(64, 48);
        m.pasteAction->trigger();
        run.dialogs.onModal = [](QDialog& d) {
            auto& r = static_cast<ResizeDialog&>(d);
            r.aspectCheck->setChecked(false);
            r.widthPercentEdit->setText("50");
            r.pixelHeightEdit->setText("0");
            return int(QDialog::Accepted);
        };
        m.resizeAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 1);
        QCOMPARE(m.controller().document()->Photo().Width(), 64);
        QVERIFY(!m.undoAction->isEnabled());
        // The next showing refills the edits but keeps the check box.
        run.dialogs.onModal = [](QDialog& d) {
            auto& r = static_cast<ResizeDialog&>(d);
            const bool ok = !r.aspectCheck->isChecked() && r.pixelWidthEdit->text() == "64" &&
                            r.widthPercentEdit->text() == "100";
            r.widthPercentEdit->setText("abc");
            return int(ok ? QDialog::Accepted : QDialog::Rejected);
        };
        m.resizeAction->trigger();
        QCOMPARE(int(run.dialogs.messages.size()), 2);
        QCOMPARE(run.dialogs.messages.back().text,
                 std::string("'abc' is not a valid floating point value"));
        QCOMPARE(m.controller().document()->Photo().Width(), 64);
        QCOMPARE(m.controller().document()->Photo().Height(), 48);
    }

    void printingAFramedPhotoAt4x6FillsTheBoxWithTheFramedPicture() {
        ShellRun run;
        MainWindow& m = run.start();
        run.putPictureOnClipboard(300, 200);
        m.pasteAction->trigger();
        m.styleAction(StyleId::Matte)->trigger();
        const Bitmap* framed = m.controller().document()->Result();
        QVERIFY(framed && framed->Width() > 300);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("framed.pdf");
        QPrinter& printer = CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(100);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        run.dialogs.onModal = [](QDialog& d) {
            auto& p = static_cast<PrintPreviewDialog&>(d);
            p.customSizeGroup->button(int(CustomSize::Size4x6))->click();
            p.printButton->click();
            return p.result();
        };
        m.printAction->trigger();
        QVERIFY(run.dialogs.messages.empty());
        const QString png = dir.filePath("page");
        QCOMPARE(QProcess::execute("pdftoppm", {"-r", "100", "-png", "-singlefile", pdf, png}), 0);
        const QImage page(png + ".png");
        if (qEnvironmentVariableIsSet("QUILLON_KEEP_PAGE")) page.save(qgetenv("QUILLON_KEEP_PAGE"));
        QRect ink;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
        // A wide picture in the 4" x 6" box: 4 inches (400 dots) wide, its
        // height from the framed picture's own proportions, at (8, 8).
        const double scale = 400.0 / framed->Width();
        QVERIFY(std::abs(ink.left() - 8) <= 1 && std::abs(ink.top() - 8) <= 1);
        QVERIFY2(std::abs(ink.width() - 400) <= 1, qPrintable(QString::number(ink.width())));
        QVERIFY(std::abs(ink.height() - framed->Height() * scale) <= 1.5);
    }
};

QTEST_MAIN(ImageMenuTest)
#include "ImageMenuTest.moc"
