// Seeing the photo: the zoom arithmetic, the controller's zoom (fitted on
// open, fixed steps, never an undo step), and the main window's view of it:
// the View menu's keys, Ctrl and the wheel, the smooth preview below 100 %,
// 100 % on a 2x screen, the status bar, the tool bar, and what Undo and
// Apply Frame offer after a paste.
#include "app/ViewZoom.h"
#include "GuiFixture.h"
#include "app/ImageWindow.h"
#include "app/QuickPreview.h"
#include "app/StatusPanel.h"

#include <QLabel>
#include <QMdiArea>
#include <QSignalSpy>
#include <QToolBar>
#include <QtTest>

using namespace quillon;

namespace {

// The darkest red value of the view as painted (device pixels).
int DarkestRed(QWidget* view) {
    const QImage image = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, qRed(image.pixel(x, y)));
    return darkest;
}

void SendWheel(QWidget* widget, QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(QPointF(at), widget->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// The photo file with a matte of the given height drawn at full size.
std::unique_ptr<Bitmap> MatteOf(const std::string& photo, int height) {
    PhotoDocument doc;
    doc.Open(photo, Zoom::Normal);
    doc.SelectStyle(StyleId::Matte);
    doc.SetFrameHeight(height);
    doc.DrawPictureCentred();
    doc.DrawFrame();
    auto copy = std::make_unique<Bitmap>();
    copy->Assign(*doc.Result());
    return copy;
}

} // namespace

class ViewZoomTest : public QObject {
    Q_OBJECT
private slots:
    // Each pixel of the shrunk photo is the rounded mean of its block; the
    // edge blocks the factor does not fill are left out.
    void shrinkingAveragesEachBlock() {
        Bitmap picture(5, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) picture.SetPixel(x, y, RGB(x * 10 + y, 255 - x, y * 100));
        const auto small = ShrinkByBlocks(picture, 2);
        QCOMPARE(small->Width(), 2);
        QCOMPARE(small->Height(), 1);
        // Block (0..1, 0..1): red 0, 10, 1, 11 -> 5.5 -> 6; green 255, 254 -> 254.5 -> 255;
        // blue 0, 100 -> 50.
        QCOMPARE(small->Pixel(0, 0) & 0xFFFFFF, RGB(6, 255, 50));
        // Block (2..3, 0..1): red 20, 30, 21, 31 -> 25.5 -> 26; green 253, 252 -> 253.
        QCOMPARE(small->Pixel(1, 0) & 0xFFFFFF, RGB(26, 253, 50));
        const auto same = ShrinkByBlocks(picture, 1);
        QCOMPARE(same->Width(), 5);
        QCOMPARE(same->Pixel(4, 2) & 0xFFFFFF, picture.Pixel(4, 2) & 0xFFFFFF);
    }

    // On a large photo seen at 25 %, a change of the frame shows first drawn
    // small; the real frame follows once the changes pause, or at once when
    // something needs the picture.
    void aLargePhotoZoomedOutShowsAChangedFrameSmallFirst() {
        ShellRun run;
        MainWindow& m = run.start();
        const std::string photo = run.writePicture("big.bmp", 2000, 1000);
        run.dialogs.openAnswers.push_back(photo);
        m.openAction->trigger();
        DocumentController& c = m.controller();
        c.setZoom(0.25);
        m.styleAction(StyleId::Matte)->trigger();
        QVERIFY(!c.quickPreview());
        c.editFrame({120, std::nullopt, std::nullopt});
        QVERIFY(c.quickPreview());
        QCOMPARE(c.pictureSize().height(), 1000 + 2 * 120);
        QVERIFY(std::abs(c.quickPreview()->Height() * 4 - c.pictureSize().height()) <= 8);
        // The view shows it stretched to the picture's shown size.
        PictureView* view = m.imageWindow()->view();
        const QImage shown = view->grab().toImage();
        QCOMPARE(shown.size(), c.shownSize());
        QTRY_VERIFY(!c.quickPreview());
        QVERIFY(SamePixels(*c.picture(), *MatteOf(photo, 120)));

        // Several changes before the pause: the frame drawn is the last.
        c.editFrame({40, std::nullopt, std::nullopt});
        c.editFrame({200, std::nullopt, std::nullopt});
        QCOMPARE(c.pictureSize().height(), 1000 + 2 * 200);
        QVERIFY(SamePixels(*c.picture(), *MatteOf(photo, 200)));

        c.editFrame({130, std::nullopt, std::nullopt});
        QVERIFY(c.quickPreview());
        QVERIFY(c.saveAs(run.path("saved.bmp")));
        QVERIFY(!c.quickPreview());
        QVERIFY(SamePixels(*LoadPictureFile(run.path("saved.bmp")), *MatteOf(photo, 130)));
        // Undo draws the pending frame before it steps back.
        c.editFrame({140, std::nullopt, std::nullopt});
        c.undo();
        QVERIFY(!c.quickPreview());
        QVERIFY(!c.framing());
        c.redo();
        QVERIFY(SamePixels(*c.picture(), *MatteOf(photo, 140)));
        // At 100 % every change is drawn at once.
        c.setZoom(1.0);
        c.editFrame({150, std::nullopt, std::nullopt});
        QVERIFY(!c.quickPreview());
        QVERIFY(SamePixels(*c.picture(), *MatteOf(photo, 150)));
    }

    // --- The arithmetic ---------------------------------------------------------------

    void stepsGoThroughTheFixedScales() {
        QCOMPARE(ZoomInStep(1.0), 1.5);
        QCOMPARE(ZoomInStep(0.1), 0.25);
        QCOMPARE(ZoomInStep(0.2345), 0.25); // from a fitted scale to the next step
        QCOMPARE(ZoomInStep(0.2499999), 0.5);
        QCOMPARE(ZoomInStep(4.0), 4.0);
        QCOMPARE(ZoomOutStep(1.0), 0.75);
        QCOMPARE(ZoomOutStep(0.2345), 0.1);
        QCOMPARE(ZoomOutStep(0.1), 0.1);
        QCOMPARE(ZoomOutStep(0.05), 0.1); // a tiny fitted scale comes up to the smallest
    }

    void fitScaleFillsTheRoomWithoutBlowingUp() {
        QCOMPARE(FitScale(4000, 3000, 1000, 1000), 0.25);
        QCOMPARE(FitScale(3000, 4000, 1000, 1000), 0.25);
        QCOMPARE(FitScale(4000, 1000, 1000, 1000), 0.25);
        QCOMPARE(FitScale(40, 30, 1000, 1000), 1.0);
        QCOMPARE(FitScale(0, 30, 1000, 1000), 1.0);
        QCOMPARE(FitScale(40, 30, 0, 0), 1.0);
        // The fitted picture fits: its shown size never passes the room.
        for (int w : {997, 1601, 4000, 12345})
            for (int room : {101, 333, 999}) {
                const double s = FitScale(w, 3000, room, room);
                QVERIFY(ShownLength(w, s) <= room);
                QVERIFY(ShownLength(3000, s) <= room);
            }
    }

    void shownLengthsTruncateButKeepAPixel() {
        QCOMPARE(ShownLength(200, 0.5), 100);
        QCOMPARE(ShownLength(1000, 0.1), 100);
        QCOMPARE(ShownLength(999, 0.1), 99);
        QCOMPARE(ShownLength(5, 0.1), 1);
        QCOMPARE(ShownLength(0, 0.5), 0);
        QCOMPARE(ShownLength(3, 4.0), 12);
    }

    void zoomTexts() {
        QCOMPARE(ZoomPercent(0.25), std::string("25%"));
        QCOMPARE(ZoomPercent(0.2345), std::string("23%"));
        QCOMPARE(ZoomPercent(0.055), std::string("5.5%"));
        QCOMPARE(ZoomPercent(0.05), std::string("5%"));
        QCOMPARE(ZoomPercent(4.0), std::string("400%"));
        QCOMPARE(ZoomCaptionSuffix(0.75), std::string(" - 75%  "));
        QCOMPARE(ZoomCaptionSuffix(0.25), std::string(" - 25% "));
        QCOMPARE(ZoomCaptionSuffix(2.0), std::string(" - 200%"));
        QCOMPARE(ZoomCaptionSuffix(0.2345), std::string(" - 23%"));
    }

    // --- The controller -----------------------------------------------------------------

    void aPhotoOpensFittedAndFollowsTheRoom() {
        ControllerRun run;
        DocumentController& c = run.controller;
        c.setViewRoom(100, 100);
        c.setZoom(2.0);
        run.openPicture(400, 200);
        QVERIFY(c.fitting());
        QCOMPARE(c.zoom(), 0.25);
        QCOMPARE(c.shownSize(), QSize(100, 50));
        QCOMPARE(c.imageTitle(), QString("photo.bmp - 25% "));
        QSignalSpy zoomed(&c, &DocumentController::zoomChanged);
        c.setViewRoom(200, 200);
        QCOMPARE(zoomed.count(), 1);
        QCOMPARE(c.zoom(), 0.5);
        // A fixed zoom stays when the room changes.
        c.setZoom(2.0);
        c.setViewRoom(50, 50);
        QCOMPARE(c.zoom(), 2.0);
        QVERIFY(!c.fitting());
        c.zoomToFit();
        QCOMPARE(c.zoom(), 0.125);
        // A pasted picture is fitted as an opened one is.
        c.setZoom(1.0);
        run.putPictureOnClipboard(25, 100);
        QVERIFY(c.paste());
        QVERIFY(c.fitting());
        QCOMPARE(c.zoom(), 0.5);
    }

    void zoomIsNoUndoStepAndChangesNoPixel() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(200, 100);
        c.negative();
        QSignalSpy opened(&c, &DocumentController::documentOpened);
        QSignalSpy undo(&c, &DocumentController::undoAvailable);
        c.setZoom(0.25);
        c.zoomIn();
        QCOMPARE(c.zoom(), 0.5);
        c.zoomOut();
        c.zoomOut();
        QCOMPARE(c.zoom(), 0.1);
        c.setZoom(4.0);
        c.zoomIn();
        QCOMPARE(c.zoom(), 4.0);
        QCOMPARE(c.shownSize(), QSize(800, 400));
        QCOMPARE(c.imageTitle(), QString("photo.bmp - 400%"));
        QCOMPARE(opened.count(), 0);
        QCOMPARE(undo.count(), 0);
        QCOMPARE(c.undoCount(), 1);
        QCOMPARE(c.undoCaption(), QString("&Undo Negative Photo"));
        QCOMPARE(c.document()->Photo().Width(), 200);
        // Undo takes back the negative, not a zoom, and keeps the zoom.
        c.undo();
        QVERIFY(!c.canUndo());
        QCOMPARE(c.zoom(), 4.0);
    }

    void undoingAFrameKeepsTheZoom() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(200, 100);
        c.setZoom(0.5);
        c.chooseStyle(StyleId::Matte);
        QCOMPARE(c.zoom(), 0.5);
        c.undo();
        QVERIFY(!c.framing());
        QCOMPARE(c.zoom(), 0.5);
        QCOMPARE(c.shownSize(), QSize(100, 50));
        c.redo();
        QCOMPARE(c.zoom(), 0.5);
        // Fitted, the frame and its undo each refit.
        c.undo();
        c.setViewRoom(200, 200);
        c.zoomToFit();
        QCOMPARE(c.zoom(), 1.0);
        c.chooseStyle(StyleId::Matte); // the matte makes the picture wider than the room
        QVERIFY(c.zoom() < 1.0);
        QVERIFY(c.shownSize().width() <= 200);
        c.undo();
        QVERIFY(c.fitting());
        QCOMPARE(c.zoom(), 1.0);
    }

    void framesAndCropsDoNotDependOnTheZoom() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(200, 100);
        c.chooseStyle(StyleId::Corner);
        const int atFull = c.document()->GetFrameHeight();
        c.undo();
        c.setZoom(0.25);
        c.chooseStyle(StyleId::Corner);
        QCOMPARE(c.document()->GetFrameHeight(), atFull);
    }

    void pasteAndScanOfferNeitherUndoNorApplyFrame() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture();
        c.grayScale();
        c.chooseStyle(StyleId::Matte);
        QVERIFY(c.canUndo());
        run.putPictureOnClipboard(30, 20);
        QSignalSpy undo(&c, &DocumentController::undoAvailable);
        QVERIFY(c.paste());
        QVERIFY(!c.canUndo());
        QVERIFY(!undo.isEmpty());
        QCOMPARE(undo.last()[0].toBool(), false);
        QVERIFY(!c.framing());
        c.negative();
        QVERIFY(c.canUndo());
        c.openScan(run.samplePicture(8, 8));
        QVERIFY(!c.canUndo());
    }

    // --- The main window ---------------------------------------------------------------------

    void viewKeysAndTheMenuChecks() {
        ShellRun run;
        MainWindow& m = run.start();
        run.dialogs.openAnswers.push_back(run.writePicture("wide.bmp", 3000, 200));
        m.openAction->trigger();
        DocumentController& c = m.controller();
        QVERIFY(c.fitting());
        QVERIFY(c.zoom() < 1.0);
        QVERIFY(m.zoomFitAction->isChecked());
        // The fitted picture's window fits in the document area.
        QVERIFY(m.imageWindow()->width() <= m.documentArea()->width());
        QVERIFY(m.imageWindow()->view()->width() <= m.documentArea()->width());
        QTest::keyClick(&m, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(c.zoom(), 1.0);
        QVERIFY(m.zoomNormalAction->isChecked());
        QVERIFY(!m.zoomFitAction->isChecked());
        QCOMPARE(m.imageWindow()->view()->width(), 3000);
        QTest::keyClick(&m, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(c.zoom(), 1.5);
        QVERIFY(!m.zoomNormalAction->isChecked());
        QTest::keyClick(&m, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(&m, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(c.zoom(), 0.75);
        QVERIFY(m.zoom75Action->isChecked());
        m.zoom200Action->trigger();
        QCOMPARE(c.zoom(), 2.0);
        QCOMPARE(m.imageWindow()->windowTitle(), QString("wide.bmp - 200%"));
        QTest::keyClick(&m, Qt::Key_0, Qt::ControlModifier);
        QVERIFY(c.fitting());
        QVERIFY(m.zoomFitAction->isChecked());
        QVERIFY(!c.canUndo());
    }

    void ctrlAndTheWheelZoomAboutThePointer() {
        ShellRun run;
        MainWindow& m = run.start();
        run.dialogs.openAnswers.push_back(run.writePicture("photo.bmp", 1200, 900));
        m.openAction->trigger();
        DocumentController& c = m.controller();
        c.setZoom(1.0);
        PictureView* view = m.imageWindow()->view();
        // Without Ctrl the wheel leaves the zoom alone.
        SendWheel(view, {10, 10}, 120, Qt::NoModifier);
        QCOMPARE(c.zoom(), 1.0);
        // A fine wheel zooms once its turns add up to a notch.
        SendWheel(view, {10, 10}, 60, Qt::ControlModifier);
        QCOMPARE(c.zoom(), 1.0);
        SendWheel(view, {10, 10}, 60, Qt::ControlModifier);
        QCOMPARE(c.zoom(), 1.5);
        SendWheel(view, {10, 10}, -240, Qt::ControlModifier);
        QCOMPARE(c.zoom(), 0.75);
        // Zooming in about a point keeps that picture point under the pointer.
        c.setZoom(1.0);
        m.imageWindow()->setScrollPositions(0, 0);
        const QPoint at(100, 80);
        const QPoint pixel = view->pictureAt(at);
        SendWheel(view, at, 120, Qt::ControlModifier);
        QCOMPARE(c.zoom(), 1.5);
        // The pointer did not move on the screen; the view scrolled under it.
        const QPoint onScreen =
            at + QPoint(m.imageWindow()->horizontalScroll(), m.imageWindow()->verticalScroll());
        const QPoint after = view->pictureAt(onScreen);
        QVERIFY2(std::abs(after.x() - pixel.x()) <= 1 && std::abs(after.y() - pixel.y()) <= 1,
                 qPrintable(QString("%1,%2 became %3,%4")
                                .arg(pixel.x())
                                .arg(pixel.y())
                                .arg(after.x())
                                .arg(after.y())));
    }

    void thinLinesStayVisibleBelowFullSizeAndTheFileIsUnchanged() {
        ShellRun run;
        MainWindow& m = run.start();
        // White with one black column of one pixel at x = 202: a nearest
        // pixel preview at 25 % samples every fourth column and misses it.
        Bitmap picture(400, 100);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 400; ++x) picture.SetPixel(x, y, x == 202 ? kBlack : kWhite);
        run.clipboard.SetPicture(picture);
        m.pasteAction->trigger();
        DocumentController& c = m.controller();
        c.setZoom(0.25);
        PictureView* view = m.imageWindow()->view();
        QCOMPARE(view->size(), QSize(100, 25));
        QVERIFY2(DarkestRed(view) < 200, "the line is gone from the preview");
        // The picture itself keeps its sharp line.
        QCOMPARE(c.document()->Photo().Pixel(202, 50) & 0xFFFFFF, Color(kBlack));
        QCOMPARE(c.document()->Photo().Pixel(201, 50) & 0xFFFFFF, Color(kWhite));
        // Above 100 % each picture pixel is a sharp block.
        c.setZoom(2.0);
        const QImage big = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(qRed(big.pixel(404, 10)), 0);
        QCOMPARE(qRed(big.pixel(405, 10)), 0);
        QCOMPARE(qRed(big.pixel(403, 10)), 255);
        QCOMPARE(qRed(big.pixel(406, 10)), 255);
    }

    void aSelectionAtHalfZoomIsDrawnWhereItsPixelsAre() {
        ShellRun run;
        MainWindow& m = run.start();
        run.putPictureOnClipboard(80, 60);
        m.pasteAction->trigger();
        DocumentController& c = m.controller();
        c.setZoom(0.5);
        PictureView* view = m.imageWindow()->view();
        SendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 4});
        SendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {25, 20});
        SendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {25, 20});
        QCOMPARE(c.selection(), (Selection{10, 8, 50, 40}));
        QVERIFY(m.cropAction->isEnabled());
        QCOMPARE(m.statusPanel()->selectionLabel->text(), QString("Selection 40 × 32 pixels"));
        m.cropAction->trigger();
        QCOMPARE(c.document()->Photo().Width(), 40);
        QCOMPARE(c.document()->Photo().Height(), 32);
    }

    void hiDpiShowsOnePhotoPixelPerDevicePixel() {
        ShellRun run;
        MainWindow& m = run.start();
        if (m.devicePixelRatioF() != 2.0) QSKIP("runs on a 2x screen (QT_SCALE_FACTOR=2)");
        run.putPictureOnClipboard(60, 40);
        m.pasteAction->trigger();
        m.controller().setZoom(1.0);
        PictureView* view = m.imageWindow()->view();
        QCOMPARE(view->size(), QSize(30, 20));
        const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(60, 40));
        for (int y = 0; y < 40; y += 7)
            for (int x = 0; x < 60; x += 7)
                QCOMPARE(shown.pixel(x, y) & 0xFFFFFF, qRgb(200, 3 * x, 3 * y) & 0xFFFFFF);
        QCOMPARE(view->pictureAt(QPointF(10.5, 5.5)), QPoint(21, 11));
    }

    void statusBarAndToolBar() {
        ShellRun run;
        MainWindow& m = run.start();
        StatusPanel& status = *m.statusPanel();
        QCOMPARE(status.fileLabel->text(), QString());
        QVERIFY(!m.zoomFitAction->isEnabled()); // nothing to zoom yet
        run.dialogs.openAnswers.push_back(run.writePicture("lake.bmp", 600, 400));
        m.openAction->trigger();
        QCOMPARE(status.fileLabel->text(), QString("lake.bmp"));
        // 600 x 400 printed in 6 x 4 inches: 100 dpi.
        QCOMPARE(status.sizeLabel->text(), QString("600 × 400 pixels, 6 × 4 in at 100 dpi"));
        m.controller().setZoom(2.0);
        QCOMPARE(status.zoomLabel->text(), QString("200%"));
        m.zoomFitAction->trigger();
        QVERIFY(status.zoomLabel->text().startsWith("Fit "));
        QVERIFY(status.selectionLabel->isHidden());
        QVERIFY(m.zoomFitAction->isEnabled());
        m.controller().setPrintSize({15, 10, LengthUnit::Centimetres});
        QCOMPARE(status.sizeLabel->text(), QString("600 × 400 pixels, 15 × 10 cm at 102 dpi"));

        const QList<QAction*> tools = m.mainToolBar()->actions();
        for (QAction* a : {m.openAction, m.saveAction, m.undoAction, m.redoAction,
                           m.applyFrameAction, m.zoomFitAction}) {
            QVERIFY2(tools.contains(a), qPrintable(a->objectName()));
            QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
        }
    }

    void afterAPasteUndoAndApplyFrameWaitForSomethingToDo() {
        ShellRun run;
        MainWindow& m = run.start();
        run.dialogs.openAnswers.push_back(run.writePicture("photo.bmp", 60, 40));
        m.openAction->trigger();
        m.negativeAction->trigger();
        m.styleAction(StyleId::Matte)->trigger();
        QVERIFY(m.undoAction->isEnabled());
        QVERIFY(m.applyFrameAction->isEnabled());
        run.putPictureOnClipboard(30, 20);
        run.dialogs.messageAnswers.push_back(MessageResult::Discard);
        m.pasteAction->trigger();
        QCOMPARE(m.controller().document()->Photo().Width(), 30);
        QVERIFY(!m.undoAction->isEnabled());
        QVERIFY(!m.applyFrameAction->isEnabled());
        m.rotateRightAction->trigger();
        QVERIFY(m.undoAction->isEnabled());
    }
};

QTEST_MAIN(ViewZoomTest)
#include "ViewZoomTest.moc"
