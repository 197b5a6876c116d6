// The document controller driven without a window: opening, pasting,
// saving and copying, the undo history, zoom, the selection and crop, the
// Image menu and the frame commands, with the signals the views follow.
#include "GuiFixture.h"
#include "formats/Formats.h"
#include "frames/FrameStyle.h"

#include <QSignalSpy>
#include <QtTest>

#include <cstdlib>
#include <filesystem>

using namespace quillon;

namespace {

Color PixelOf(const Bitmap& b, int x, int y) {
    return b.Pixel(x, y) & 0xFFFFFF;
}

} // namespace

class ControllerTest : public QObject {
    Q_OBJECT
private slots:
    // --- Opening, pasting, saving, copying ----------------------------------------

    void openShowsThePictureFittedWithItsTitles() {
        ControllerRun run;
        DocumentController& c = run.controller;
        c.setZoom(0.5); // no picture yet
        QSignalSpy opened(&c, &DocumentController::documentOpened);
        const std::string file = run.writePicture("lake.bmp", 40, 30);
        c.open(file);
        QCOMPARE(opened.count(), 1);
        // A picture smaller than the room is fitted at 100 %, not blown up.
        QVERIFY(c.fitting());
        QCOMPARE(c.zoom(), 1.0);
        QCOMPARE(c.shownSize(), QSize(40, 30));
        QCOMPARE(c.mainTitle().toStdString(), "Quillon - " + file);
        QCOMPARE(c.imageTitle(), QString("lake.bmp - 100%"));
        QCOMPARE(c.fileName(), file);
        QVERIFY(!c.canUndo());
        QVERIFY(!c.framing());
    }

    void aFailedOpenLeavesThePictureAndHistoryAsTheyWere() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(20, 10);
        c.grayScale();
        run.writeText("broken.bmp", "this is not a picture");
        QSignalSpy busy(&c, &DocumentController::busyChanged);
        QVERIFY_THROWS_EXCEPTION(PictureError, c.open(run.path("broken.bmp")));
        QVERIFY(c.hasDocument());
        QCOMPARE(c.document()->Photo().Width(), 20);
        QCOMPARE(c.fileName(), run.path("photo.bmp"));
        QVERIFY(c.canUndo());
        QCOMPARE(c.undoCount(), 1);
        // The busy state was given up on the way out.
        QCOMPARE(busy.count(), 2);
        QVERIFY(!c.busy());
    }

    void pasteKeepsTheHistoryAndTheFileNameOfTheImageTitleButNotUndo() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(20, 10);
        c.negative();
        run.putPictureOnClipboard(12, 8);
        QVERIFY(c.paste());
        QCOMPARE(c.document()->Photo().Width(), 12);
        QCOMPARE(c.mainTitle(), QString("Quillon"));
        QCOMPARE(c.imageTitle(), QString("photo.bmp - 100%"));
        QCOMPARE(c.undoCount(), 1);
        // Nothing of the pasted picture has been done yet.
        QVERIFY(!c.canUndo());
        c.rotateRight();
        c.undo();
        QCOMPARE(c.document()->Photo().Width(), 12);
    }

    void thePhotosMetadataSurvivesUndoAndRecipes() {
        if (std::system("command -v exiftool >/dev/null 2>&1") != 0)
            QSKIP("exiftool is not installed");
        ControllerRun run;
        const std::string photo = run.path("camera.jpg");
        SavePictureFile(*run.samplePicture(60, 40), photo);
        QCOMPARE(
            std::system(("exiftool -q -q -overwrite_original -Artist='Ann Example' '" + photo + "'")
                            .c_str()),
            0);
        DocumentController& c = run.controller;
        c.open(photo);
        QVERIFY(c.document()->Metadata() != nullptr);
        c.rotateRight();
        c.undo();
        QVERIFY(c.document()->Metadata() != nullptr);
        Recipe matte;
        matte.groups[0].style = StyleId::Matte;
        c.applyRecipe(matte);
        QVERIFY(c.document()->Metadata() != nullptr);
    }

    void pasteOfNoPictureChangesNothing() {
        ControllerRun run;
        DocumentController& c = run.controller;
        QSignalSpy opened(&c, &DocumentController::documentOpened);
        QVERIFY(!c.paste());
        QVERIFY(!c.hasDocument());
        run.openPicture();
        QVERIFY(!c.paste());
        QCOMPARE(opened.count(), 1);
        QCOMPARE(c.document()->Photo().Width(), 60);
    }

    void pasteWhileFramingStartsAFreshPhoto() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture();
        c.chooseStyle(StyleId::Corner);
        run.putPictureOnClipboard(30, 20);
        c.paste();
        QVERIFY(!c.framing());
        // The next frame is a new framing, with its own undo entry.
        c.chooseStyle(StyleId::Matte);
        QCOMPARE(c.undoCount(), 2);
        c.undo();
        QVERIFY(!c.framing());
        QCOMPARE(c.document()->Photo().Width(), 30);
    }

    void copyPutsTheFullSizeResultOnTheClipboard() {
        ControllerRun run;
        DocumentController& c = run.controller;
        c.setZoom(0.5);
        run.putPictureOnClipboard(30, 20);
        c.paste();
        run.clipboard.SetPicture(Bitmap(1, 1));
        c.copy();
        QCOMPARE(run.clipboard.Picture()->Width(), 30);
        c.chooseStyle(StyleId::Matte);
        c.copy();
        QCOMPARE(run.clipboard.Picture()->Width(), c.document()->Result()->Width());
        QVERIFY(run.clipboard.Picture()->Width() > 30);
    }

    void onlyCopyTouchesTheClipboard() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.putPictureOnClipboard(30, 20);
        c.paste();
        run.clipboard.SetPicture(Bitmap(3, 2));
        c.grayScale();
        c.rotateRight();
        c.chooseStyle(StyleId::Corner);
        c.applyFrame();
        c.setZoom(0.75);
        c.undo();
        QCOMPARE(run.clipboard.Picture()->Width(), 3);
    }

    void saveWritesTheResultOrSaysItCannot() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.putPictureOnClipboard(9, 7);
        c.paste();
        QVERIFY(!c.saveAs(run.path("picture.tga")));
        QVERIFY(!std::filesystem::exists(run.path("picture.tga")));
        QCOMPARE(c.mainTitle(), QString("Quillon"));
        QVERIFY(c.saveAs(run.path("new.bmp")));
        QCOMPARE(LoadPictureFile(run.path("new.bmp"))->Width(), 9);
        QCOMPARE(c.mainTitle().toStdString(), "Quillon - " + run.path("new.bmp"));
        QCOMPARE(c.imageTitle(), QString("new.bmp - 100%"));
    }

    void closingKeepsTheHistoryButNotUndo() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture();
        c.negative();
        c.closeDocument();
        QVERIFY(!c.hasDocument());
        QVERIFY(!c.canUndo());
        QCOMPARE(c.undoCount(), 1);
        run.putPictureOnClipboard(5, 5);
        c.paste();
        QVERIFY(!c.canUndo()); // until the next change
        c.negative();
        QCOMPARE(c.undoCount(), 2);
    }

    // --- Undo --------------------------------------------------------------------------

    void twelveChangesThenTenUndosGoBackTenSteps() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(60, 40);
        for (int k = 1; k <= 12; ++k) c.resize(10 + k, 5);
        QCOMPARE(c.undoCount(), 10);
        QCOMPARE(c.undoCaption(), QString("&Undo Resize Photo"));
        for (int k = 12; k >= 3; --k) {
            QVERIFY(c.canUndo());
            c.undo();
            QCOMPARE(c.document()->Photo().Width(), 10 + k - 1);
        }
        QVERIFY(!c.canUndo());
        QCOMPARE(c.undoCaption(), QString("&Undo"));
        c.undo(); // nothing left: no change
        QCOMPARE(c.document()->Photo().Width(), 12);
    }

    void framingPushesOneEntryAndUndoTakesTheFrameAway() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture();
        QSignalSpy resized(&c, &DocumentController::pictureResized);
        c.chooseStyle(StyleId::Corner);
        c.chooseStyle(StyleId::Matte);
        c.chooseStyle(StyleId::Corner);
        QCOMPARE(resized.count(), 3);
        QCOMPARE(c.undoCount(), 1);
        QCOMPARE(c.undoCaption(), QString("&Undo Frame"));
        const int defaultHeight = c.document()->GetFrameHeight();
        FrameEdit edit;
        edit.frameHeight = defaultHeight + 9;
        c.editFrame(edit);
        QCOMPARE(c.document()->GetFrameHeight(), defaultHeight + 9);

        QSignalSpy style(&c, &DocumentController::styleChanged);
        c.undo();
        QCOMPARE(style.count(), 1);
        QVERIFY(!c.framing());
        QCOMPARE(c.document()->Photo().Width(), 60);
        QVERIFY(!c.canUndo());
        // The style comes back as it was left: Undo took the frame away,
        // not the settings.
        c.chooseStyle(StyleId::Corner);
        QCOMPARE(c.document()->GetFrameHeight(), defaultHeight + 9);
    }

    void openingEmptiesTheHistoryButKeepsTheCaption() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture();
        c.rotate180();
        c.open(run.path("photo.bmp"));
        QVERIFY(c.undoCount() == 0);
        QVERIFY(!c.canUndo());
        QCOMPARE(c.undoCaption(), QString("&Undo Rotate Photo 180"));
    }

    void undoGivesBackTheWindowSizeButKeepsTheZoom() {
        ControllerRun run;
        DocumentController& c = run.controller;
        c.setWindowSizeSource([] { return QSize(321, 222); });
        run.openPicture(200, 100);
        c.negative();
        c.setZoom(0.5);
        QSignalSpy restored(&c, &DocumentController::windowSizeRestored);
        c.undo();
        QCOMPARE(restored.count(), 1);
        QCOMPARE(restored[0][0].toInt(), 321);
        QCOMPARE(restored[0][1].toInt(), 222);
        QCOMPARE(c.zoom(), 0.5);
        QCOMPARE(c.imageTitle(), QString("photo.bmp - 50%  "));
    }

    // --- Selection and crop ------------------------------------------------------------------

    void aDragMakesTheSelectionOnlyOnThePhoto() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture();
        QSignalSpy changed(&c, &DocumentController::selectionChanged);
        c.beginSelection(3, 4);
        QCOMPARE(c.selection(), (Selection{3, 4, 3, 4}));
        c.extendSelection(12, 10);
        c.endSelection(14, 11);
        QCOMPARE(c.selection(), (Selection{3, 4, 14, 11}));
        c.extendSelection(20, 20); // the drag is over
        QCOMPARE(c.selection(), (Selection{3, 4, 14, 11}));
        QCOMPARE(changed.count(), 3);
        // Choosing a frame hides the photo and ends its selection; none is
        // made on a frame.
        c.chooseStyle(StyleId::Corner);
        QCOMPARE(c.selection(), Selection{});
        c.beginSelection(1, 1);
        QCOMPARE(c.selection(), Selection{});
    }

    void aSmallSelectionIsPutInOrderButNotCropped_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("bottom");
        QTest::newRow("2 x 200") << 7 << 205;
        QTest::newRow("200 x 2") << 205 << 7;
    }
    void aSmallSelectionIsPutInOrderButNotCropped() {
        QFETCH(int, right);
        QFETCH(int, bottom);
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(300, 300);
        c.beginSelection(right, bottom);
        c.endSelection(5, 5);
        c.crop();
        QCOMPARE(c.document()->Photo().Width(), 300);
        QVERIFY(c.undoCount() == 0);
        QCOMPARE(c.selection(), (Selection{5, 5, right, bottom}));
    }

    void aReversedDragCropsTheSameArea() {
        std::vector<Color> pixels[2];
        const Selection drags[] = {{5, 10, 25, 40}, {25, 40, 5, 10}};
        for (int i = 0; i < 2; ++i) {
            ControllerRun run;
            DocumentController& c = run.controller;
            run.openPicture();
            c.beginSelection(drags[i].left, drags[i].top);
            c.endSelection(drags[i].right, drags[i].bottom);
            c.crop();
            QCOMPARE(c.undoCaption(), QString("&Undo Crop Photo"));
            QCOMPARE(c.mainTitle(), QString("Quillon"));
            QCOMPARE(c.selection(), Selection{});
            const Bitmap& photo = c.document()->Photo();
            QCOMPARE(photo.Width(), 20);
            QCOMPARE(photo.Height(), 30);
            // (x, y) of the crop is (x + 5, y + 10) of the photo.
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 20; ++x) {
                    pixels[i].push_back(PixelOf(photo, x, y));
                    QCOMPARE(pixels[i].back(), RGB((x + 5) * 7, (y + 10) * 5, 90));
                }
            c.undo();
            QCOMPARE(c.document()->Photo().Width(), 60);
        }
        QCOMPARE(pixels[0], pixels[1]);
    }

    void cropAtHalfZoomCutsTheSelectedPhotoPixels() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(80, 60);
        c.setZoom(0.5);
        // The selection is in the photo's pixels, whatever the zoom.
        c.beginSelection(20, 10);
        c.endSelection(60, 50);
        c.crop();
        QCOMPARE(c.document()->Photo().Width(), 40);
        QCOMPARE(c.document()->Photo().Height(), 40);
        QCOMPARE(PixelOf(c.document()->Photo(), 0, 0), RGB(20 * 7, 10 * 5, 90));
        QCOMPARE(c.zoom(), 0.5);
        QVERIFY(!c.fitting());
    }

    // --- The Image menu -------------------------------------------------------------------------

    void grayAtHalfZoomKeepsTheFullPictureAndShowsHalf() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.putPictureOnClipboard(41, 31); // RGB(200, 3x, 3y)
        c.paste();
        c.setZoom(0.5);
        QSignalSpy changed(&c, &DocumentController::pictureChanged);
        QSignalSpy resized(&c, &DocumentController::pictureResized);
        c.grayScale();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(resized.count(), 0);
        const Bitmap& photo = c.document()->Photo();
        QCOMPARE(photo.Width(), 41);
        QCOMPARE(photo.Height(), 31);
        QCOMPARE(c.shownSize(), QSize(20, 15));
        const int g = (200 + 3 * 10 + 3 * 4) / 3;
        QCOMPARE(PixelOf(photo, 10, 4), RGB(g, g, g));
        QCOMPARE(c.undoCaption(), QString("&Undo Grayscale Photo"));
    }

    void negativeTwiceRestoresThePicture() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.putPictureOnClipboard(9, 7);
        c.paste();
        const Color before = PixelOf(c.document()->Photo(), 4, 5);
        c.negative();
        QCOMPARE(PixelOf(c.document()->Photo(), 4, 5), RGB(55, 255 - 12, 255 - 15));
        c.negative();
        QCOMPARE(PixelOf(c.document()->Photo(), 4, 5), before);
        QCOMPARE(c.undoCount(), 2);
        QCOMPARE(c.undoCaption(), QString("&Undo Negative Photo"));
        // Undoing the second negative brings back the first one's picture.
        c.undo();
        QCOMPARE(PixelOf(c.document()->Photo(), 4, 5), RGB(55, 255 - 12, 255 - 15));
    }

    void rotationsTurnThePictureAndEndTheSelection() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.putPictureOnClipboard(12, 5);
        c.paste();
        const Color corner = PixelOf(c.document()->Photo(), 0, 0);
        c.beginSelection(1, 1);
        c.endSelection(4, 4);
        QSignalSpy resized(&c, &DocumentController::pictureResized);
        c.rotateRight();
        QCOMPARE(resized.count(), 1);
        QCOMPARE(c.document()->Photo().Width(), 5);
        QCOMPARE(c.document()->Photo().Height(), 12);
        QCOMPARE(PixelOf(c.document()->Photo(), 4, 0), corner); // top-left went top-right
        QCOMPARE(c.selection(), Selection{});
        QCOMPARE(c.undoCaption(), QString("&Undo Rotate Photo 90 Right"));
        c.rotateLeft();
        QCOMPARE(c.undoCaption(), QString("&Undo Rotate Photo 90 Left"));
        c.rotate180();
        QCOMPARE(c.document()->Photo().Width(), 12);
        QCOMPARE(PixelOf(c.document()->Photo(), 11, 4), corner);
    }

    void theImageMenuWaitsWhileAFrameIsChosen() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(12, 5);
        c.chooseStyle(StyleId::Corner);
        c.rotateRight();
        c.grayScale();
        QCOMPARE(c.document()->Photo().Width(), 12);
        QCOMPARE(c.undoCount(), 1);
    }

    void resizeShowsTheNewSizeAsANewDocument() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.putPictureOnClipboard(640, 480);
        c.paste();
        QSignalSpy opened(&c, &DocumentController::documentOpened);
        c.resize(100, 75);
        QCOMPARE(opened.count(), 1);
        QCOMPARE(c.document()->Photo().Width(), 100);
        QCOMPARE(c.document()->Photo().Height(), 75);
        QCOMPARE(c.undoCaption(), QString("&Undo Resize Photo"));
    }

    void aResizeOverTheLimitIsRefusedBeforeTheHistory() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.putPictureOnClipboard(64, 48);
        c.paste();
        QVERIFY_THROWS_EXCEPTION(PictureError, c.resize(1000000, 1000000));
        QVERIFY(c.undoCount() == 0);
        QCOMPARE(c.document()->Photo().Width(), 64);
    }

    // --- Frames --------------------------------------------------------------------------------

    void applyFrameMakesTheFramedPictureThePhotoAtTheZoom() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.putPictureOnClipboard(80, 60);
        c.paste();
        c.setZoom(0.5);
        QCOMPARE(c.shownSize(), QSize(40, 30));
        c.chooseStyle(StyleId::Matte); // a matte all round
        const int framedWidth = c.document()->Result()->Width();
        QVERIFY(framedWidth > 80);
        QSignalSpy opened(&c, &DocumentController::documentOpened);
        c.applyFrame();
        QCOMPARE(opened.count(), 1);
        QVERIFY(!c.framing());
        QCOMPARE(c.zoom(), 0.5);
        QCOMPARE(c.document()->Photo().Width(), framedWidth);
        QCOMPARE(c.shownSize().width(), framedWidth / 2);
        // Pasted before any file was opened: the picture is untitled.
        QCOMPARE(c.imageTitle(), QString("Untitled - 50%  "));
        // Apply itself is not undone: Undo goes back to before the frame.
        c.undo();
        QCOMPARE(c.document()->Photo().Width(), 80);
    }

    void aStyleWithoutAPictureDoesNothing() {
        ControllerRun run;
        DocumentController& c = run.controller;
        QSignalSpy style(&c, &DocumentController::styleChanged);
        c.chooseStyle(StyleId::Oval);
        QCOMPARE(style.count(), 0);
        QVERIFY(!c.framing());
    }

    void aStyleWhoseDefaultCannotBeReadChangesNothing() {
        ControllerRun run; // no Ornate folder in the scratch folder
        DocumentController& c = run.controller;
        run.openPicture();
        QVERIFY_THROWS_EXCEPTION(PictureError, c.chooseStyle(StyleId::Ornate));
        QVERIFY(!c.framing());
        QVERIFY(c.undoCount() == 0);
    }

    void frameEditsSetInOrderThenRepaint() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture();
        c.chooseStyle(StyleId::Corner);
        QSignalSpy resized(&c, &DocumentController::pictureResized);
        QSignalSpy frame(&c, &DocumentController::frameChanged);
        FrameEdit border;
        border.borderWidth = 3;
        c.editFrame(border);
        QCOMPARE(c.document()->GetBorderWidth(), 3);
        QCOMPARE(resized.count(), 0);
        FrameEdit thick;
        thick.frameHeight = 7;
        thick.frameWidth = 9;
        c.editFrame(thick);
        QCOMPARE(resized.count(), 1);
        QCOMPARE(frame.count(), 2);
        QCOMPARE(c.document()->Result()->Height(), 40 + 2 * 7);
        QCOMPARE(c.document()->Result()->Width(), 60 + 2 * 9);
    }

    void aFrameColourReplacesThePattern() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture();
        const std::string tile = run.writePicture("tile.bmp", 8, 8);
        c.chooseStyle(StyleId::Corner);
        QSignalSpy chosen(&c, &DocumentController::decorationChosen);
        c.chooseDecoration(tile);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(c.document()->CurrentFrame()->PatternName, tile);
        c.setFrameColor(RGB(10, 200, 30));
        QVERIFY(c.document()->CurrentFrame()->PatternName.empty());
        QCOMPARE(c.document()->GetFrameColor(), RGB(10, 200, 30));
    }

    void eachStyleKeepsItsSettingsUntilAnotherPhotoOpens() {
        ControllerRun run;
        std::filesystem::create_directory(run.path("Ornate"));
        run.writePicture("Ornate/_Orn001.bmp", 30, 12);
        const std::string gold = run.writePicture("Ornate/Gold.bmp", 30, 16);
        DocumentController& c = run.controller;
        run.openPicture(400, 380);
        const Color cream = RGB(240, 232, 216);
        c.chooseStyle(StyleId::Matte);
        const int defaultHeight = c.document()->GetFrameHeight();
        c.setFrameColor(cream);
        FrameEdit edit;
        edit.frameHeight = 152;
        edit.frameWidth = 150;
        c.editFrame(edit);
        c.chooseStyle(StyleId::Ornate);
        c.chooseDecoration(gold);
        const auto matteIsAsLeft = [&](const char* after) {
            c.chooseStyle(StyleId::Matte);
            const PhotoDocument& d = *c.document();
            QVERIFY2(d.GetFrameHeight() == 152 && d.GetFrameWidth() == 150, after);
            QVERIFY2(d.GetFrameColor() == cream, after);
            // Painted with them, not only remembered.
            QVERIFY2(d.Result()->Width() == d.Photo().Width() + 2 * 150, after);
            QVERIFY2(PixelOf(*d.Result(), 3, 3) == cream, after);
            c.chooseStyle(StyleId::Ornate);
            QVERIFY2(c.document()->CurrentFrame()->PatternName == gold, after);
            QVERIFY2(c.document()->GetFrameHeight() == 16, after);
        };
        matteIsAsLeft("switching");
        // Undo takes the frame away; the styles keep what they were given.
        c.undo();
        matteIsAsLeft("undo");
        // So does a new frame group on the applied frame.
        c.applyFrame();
        matteIsAsLeft("apply frame");
        // The recipe records the settings the style came back with.
        c.chooseStyle(StyleId::Matte);
        const Recipe r = c.recipe();
        QCOMPARE(r.groups.back().frameColor, std::optional<Color>(cream));
        // Another photo starts every style afresh.
        run.openPicture(400, 380);
        c.chooseStyle(StyleId::Matte);
        QCOMPARE(c.document()->GetFrameHeight(), defaultHeight);
        QVERIFY(c.document()->GetFrameColor() != cream);
    }

    void aMouldingRefitsTheWindowAndAPatternDoesNot() {
        ControllerRun run;
        std::filesystem::create_directory(run.path("Ornate"));
        run.writePicture("Ornate/_Orn001.bmp", 30, 12);
        const std::string gold = run.writePicture("Ornate/Gold.bmp", 30, 16);
        DocumentController& c = run.controller;
        run.openPicture();
        c.chooseStyle(StyleId::Ornate);
        QSignalSpy resized(&c, &DocumentController::pictureResized);
        c.chooseDecoration(gold);
        QCOMPARE(resized.count(), 1);
        QCOMPARE(c.document()->Result()->Width(), 60 + 2 * 16);
        c.applyFrame();
        c.chooseStyle(StyleId::Corner);
        resized.clear();
        c.chooseDecoration(run.writePicture("tile.bmp", 8, 8));
        QCOMPARE(resized.count(), 0);
    }
};

QTEST_MAIN(ControllerTest)
#include "ControllerTest.moc"
