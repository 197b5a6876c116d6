// The Image menu and the resize dialog driven through the main window's
// actions: what the working bitmap, the shown image and the clipboard hold.
#include "GuiFixture.h"
#include "app/dialogs/Resize.h"
#include "app/print/Prntprv.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

using namespace quillon;

namespace {

Color ClipboardPixel(TQtClipboard& clipboard, int x, int y) {
    Bitmap b;
    if (!clipboard.GetBitmap(b)) return Color(-1);
    return b.Pixel(x, y) & 0xFFFFFF;
}

} // namespace

class ImageMenuTest : public QObject {
    Q_OBJECT
private slots:
    void grayAtHalfZoomKeepsTheFullPictureAndShowsHalf() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(41, 31); // RGB(200, 3x, 3y)
        m.PasteFromClipboard->trigger();
        QVERIFY(m.Document);
        m.Zoom50->trigger();
        QCOMPARE(m.Document->Scale, 0.5f);
        m.GreyScale1->trigger();
        QVERIFY(run.dialogs.Messages.empty());
        QCOMPARE(m.Document->Photo->Width(), 41);
        QCOMPARE(m.Document->Photo->Height(), 31);
        QCOMPARE(m.Document->GetImageWidth(), 20);
        QCOMPARE(m.Document->GetImageHeight(), 15);
        const int g = (200 + 3 * 10 + 3 * 4) / 3;
        QCOMPARE(m.Document->Photo->Pixel(10, 4) & 0xFFFFFF, RGB(g, g, g));
        QCOMPARE(ClipboardPixel(run.clipboard, 10, 4), RGB(g, g, g));
    }

    void negativeTwiceRestoresThePicture() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(9, 7);
        m.PasteFromClipboard->trigger();
        const Color before = m.Document->Photo->Pixel(4, 5) & 0xFFFFFF;
        m.NegativeImage1->trigger();
        QCOMPARE(ClipboardPixel(run.clipboard, 4, 5), RGB(55, 255 - 12, 255 - 15));
        m.NegativeImage1->trigger();
        QCOMPARE(m.Document->Photo->Pixel(4, 5) & 0xFFFFFF, before);
        QCOMPARE(m.UndoCount, 2);
        QCOMPARE(m.Undo1->text(), QString("&Undo Negative"));
        QVERIFY(m.Undo1->isEnabled());
        // Undoing the second negative brings back the first one's picture.
        m.Undo1->trigger();
        QCOMPARE(m.Document->Photo->Pixel(4, 5) & 0xFFFFFF, RGB(55, 255 - 12, 255 - 15));
    }

    void rotationsTurnThePictureAndClearTheSelection() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(12, 5);
        m.PasteFromClipboard->trigger();
        const Color corner = m.Document->Photo->Pixel(0, 0) & 0xFFFFFF;
        m.TSelection = {1, 1, 4, 4};
        m.Rotate90Right1->trigger();
        QCOMPARE(m.Document->Photo->Width(), 5);
        QCOMPARE(m.Document->Photo->Height(), 12);
        QCOMPARE(m.Document->Photo->Pixel(4, 0) & 0xFFFFFF, corner); // top-left went top-right
        QCOMPARE(m.TSelection.Right, 0);
        QCOMPARE(m.Undo1->text(), QString("&Undo Rotate 90 Right"));
        m.Rotate90Left1->trigger();
        m.Rotate1801->trigger();
        QCOMPARE(m.Document->Photo->Width(), 12);
        QCOMPARE(m.Document->Photo->Pixel(11, 4) & 0xFFFFFF, corner);
        QCOMPARE(ClipboardPixel(run.clipboard, 11, 4), corner);
    }

    void resizeDialogLinksAndResizes() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(640, 480);
        m.PasteFromClipboard->trigger();
        run.dialogs.OnModal = [](QDialog& d) {
            auto& r = static_cast<TfrmResize&>(d);
            r.edWidthPerc->clear();
            for (const char* text : {"1", "15", "150"}) r.edWidthPerc->setText(text);
            if (r.edPixHeight->text() != "720") return int(QDialog::Rejected);
            r.edPixWidth->setText("100");
            return int(QDialog::Accepted);
        };
        m.Resize1->trigger();
        QVERIFY(run.dialogs.Messages.empty());
        QCOMPARE(m.frmResize->edWidthPerc->text(), QString("15"));
        QCOMPARE(m.Document->Photo->Width(), 100);
        QCOMPARE(m.Document->Photo->Height(), 75);
        QCOMPARE(m.Undo1->text(), QString("&Undo Resize"));
    }

    void resizeDialogKeepsAspectChoiceAndRefusesBadSizes() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(64, 48);
        m.PasteFromClipboard->trigger();
        run.dialogs.OnModal = [](QDialog& d) {
            auto& r = static_cast<TfrmResize&>(d);
            r.cbAspect->setChecked(false);
            r.edWidthPerc->setText("50");
            r.edPixHeight->setText("0");
            return int(QDialog::Accepted);
        };
        m.Resize1->trigger();
        QCOMPARE(int(run.dialogs.Messages.size()), 1);
        QCOMPARE(m.Document->Photo->Width(), 64);
        // The next showing refills the edits but keeps the check box.
        run.dialogs.OnModal = [](QDialog& d) {
            auto& r = static_cast<TfrmResize&>(d);
            const bool ok = !r.cbAspect->isChecked() && r.edPixWidth->text() == "64" &&
                            r.edWidthPerc->text() == "100";
            r.edWidthPerc->setText("abc");
            return int(ok ? QDialog::Accepted : QDialog::Rejected);
        };
        m.Resize1->trigger();
        QCOMPARE(int(run.dialogs.Messages.size()), 2);
        QCOMPARE(run.dialogs.Messages.back().Text,
                 std::string("'abc' is not a valid floating point value"));
        QCOMPARE(m.Document->Photo->Width(), 64);
        QCOMPARE(m.Document->Photo->Height(), 48);
    }

    void printingAFramedPhotoAt4x6FillsTheBoxWithTheFramedPicture() {
        REQUIRE_ENGINE();
        TShellRun run;
        TfrmMain& m = run.Start();
        run.PutPictureOnClipboard(300, 200);
        m.PasteFromClipboard->trigger();
        m.SelectFrameStyle(fsMatte);
        float scale = 0;
        const Bitmap* framed = m.Document->GetFramedPicture(scale);
        QVERIFY(framed && framed->Width() > 300);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("framed.pdf");
        QPrinter& printer = CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(100);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        run.dialogs.OnModal = [](QDialog& d) {
            auto& p = static_cast<TfrmPrint&>(d);
            p.rgCustom->button(int(CustomSize::Size4x6))->click();
            p.btnPrint->click();
            return p.result();
        };
        m.Print1->trigger();
        QVERIFY(run.dialogs.Messages.empty());
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
        const int percent = int(100 * (400.0f / float(framed->Width())));
        QVERIFY(std::abs(ink.left() - 8) <= 1 && std::abs(ink.top() - 8) <= 1);
        QVERIFY(std::abs(ink.width() - framed->Width() * percent / 100) <= 2);
        QVERIFY(std::abs(ink.height() - framed->Height() * percent / 100) <= 2);
    }
};

QTEST_MAIN(ImageMenuTest)
#include "ImageMenuTest.moc"
