// The shell's plain arithmetic and conversions: image window sizes, dialog
// centring, file parts, save-name completion, the rubber band's outline and
// the hand-over of pictures between the engine and Qt.
#include "app/ImageWindow.h"
#include "app/QtBitmap.h"
#include "app/WindowLayout.h"
#include "app/dialogs/Dialogs.h"

#include <QtTest>

#include <random>
#include <vector>

using namespace quillon;

Q_DECLARE_METATYPE(WindowSize)

namespace {

const WindowMetrics kMetrics{20, 4, 4};

// Compares a black-and-white image with rows of text, '#' white, '.' black.
void ExpectPixels(const QImage& image, const std::vector<const char*>& rows) {
    QCOMPARE(image.height(), int(rows.size()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb expected =
                rows[std::size_t(y)][x] == '#' ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            QVERIFY2(image.pixel(x, y) == expected,
                     qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
        }
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void adjustedWindowSize_data() {
        QTest::addColumn<int>("pictureW");
        QTest::addColumn<int>("pictureH");
        QTest::addColumn<bool>("editBar");
        QTest::addColumn<WindowSize>("expected");
        // Room in an 800 x 600 main window: 782 wide, 542 high (518 with
        // the edit bar).
        QTest::newRow("fits") << 300 << 200 << false << WindowSize{310, 230};
        QTest::newRow("too wide only") << 1000 << 200 << false << WindowSize{782, 230};
        QTest::newRow("too tall only gets the scroll bar's width")
            << 300 << 900 << false << WindowSize{330, 542};
        QTest::newRow("too tall, and wide enough to reach the limit")
            << 765 << 900 << false << WindowSize{782, 542};
        QTest::newRow("too big both ways") << 2000 << 2000 << false << WindowSize{782, 542};
        QTest::newRow("edit bar takes its height") << 300 << 500 << true << WindowSize{330, 518};
        QTest::newRow("fits under the edit bar") << 300 << 480 << true << WindowSize{310, 510};
    }
    void adjustedWindowSize() {
        QFETCH(int, pictureW);
        QFETCH(int, pictureH);
        QFETCH(bool, editBar);
        QFETCH(WindowSize, expected);
        const WindowSize got =
            AdjustedWindowSize(kMetrics, pictureW, pictureH, 800, 600, editBar, 24);
        QCOMPARE(got.width, expected.width);
        QCOMPARE(got.height, expected.height);
    }

    void firstWindowSizeAddsOneAndNoScrollBarAllowance() {
        QCOMPARE(FirstWindowSize(kMetrics, 300, 200, 800, 600), (WindowSize{309, 229}));
        QCOMPARE(FirstWindowSize(kMetrics, 300, 900, 800, 600), (WindowSize{309, 542}));
        QCOMPARE(FirstWindowSize(kMetrics, 0, 0, 800, 600), (WindowSize{9, 29}));
    }

    void startsMaximisedOnlyOnTheExactDefaults() {
        QVERIFY(StartsMaximised({0, 0, 640, 480}));
        QVERIFY(!StartsMaximised({0, 0, 641, 480}));
        QVERIFY(!StartsMaximised({1, 0, 640, 480}));
        QVERIFY(!StartsMaximised({0, 0, 640, 479}));
    }

    void centringTruncatesEachHalf() {
        QCOMPARE(CentredOnScreen(1280, 1024, 520, 246), (ScreenPoint{380, 389}));
        QCOMPARE(CentredOnScreen(1281, 1025, 521, 247), (ScreenPoint{640 - 260, 512 - 123}));
    }

    void filePart_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("part");
        QTest::newRow("folders") << "/home/ann/photos/lake.bmp"
                                 << "lake.bmp";
        QTest::newRow("no folder") << "lake.bmp"
                                   << "lake.bmp";
        QTest::newRow("windows name") << "C:\\photos\\lake.jpg"
                                      << "lake.jpg";
        QTest::newRow("drive only") << "C:lake.jpg"
                                    << "lake.jpg";
        QTest::newRow("empty") << ""
                               << "";
    }
    void filePart() {
        QFETCH(QString, name);
        QFETCH(QString, part);
        QCOMPARE(QString::fromStdString(FilePart(name.toStdString())), part);
    }

    void completeSaveName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("result");
        QTest::newRow("no extension, jpeg filter") << "/p/a"
                                                   << "*.jpg"
                                                   << "/p/a.jpg";
        QTest::newRow("no extension, no filter") << "/p/a"
                                                 << ""
                                                 << "/p/a.bmp";
        QTest::newRow("extension kept") << "/p/a.gif"
                                        << "*.jpg"
                                        << "/p/a.gif";
        QTest::newRow("dot in a folder only") << "/p.x/a"
                                              << "*.gif"
                                              << "/p.x/a.gif";
        QTest::newRow("folder name alone") << "/p/"
                                           << "*.gif"
                                           << "/p/";
    }
    void completeSaveName() {
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QString, result);
        QCOMPARE(QString::fromStdString(
                     CompleteSaveName(name.toStdString(), filter.toStdString(), "*.bmp")),
                 result);
    }

    void qtFilterStringKeepsEveryPattern() {
        const std::vector<FileFilter> filters = {{"Bitmap (*.bmp)", "*.bmp"},
                                                 {"GIF (*.gif) ", "*.gif"},
                                                 {"Autodesk (*.cel, *.pic)", "*.cel;*.pic"}};
        QCOMPARE(QString::fromStdString(QtFilterString(filters)),
                 QString("Bitmap (*.bmp);;GIF (*.gif);;"
                         "Autodesk (*.cel, *.pic) (*.cel *.pic)"));
    }

    void focusRectangleOutlineIsDottedAndDrawnTwiceErases() {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::black);
        InvertFocusRect(image, QPoint(0, 0), Rect(1, 1, 7, 5));
        ExpectPixels(image, {"........", //
                             ".#.#.#..", //
                             "......#.", //
                             ".#......", //
                             "..#.#.#.", //
                             "........"});
        InvertFocusRect(image, QPoint(0, 0), Rect(1, 1, 7, 5));
        ExpectPixels(image,
                     {"........", "........", "........", "........", "........", "........"});
    }

    void focusRectangleDotsFollowThePictureNotThePart() {
        // A part of the picture starting at (1, 2): the dots stay where
        // x + y is even in the whole picture.
        QImage part(4, 3, QImage::Format_RGB32);
        part.fill(Qt::black);
        InvertFocusRect(part, QPoint(1, 2), Rect(1, 2, 5, 5));
        ExpectPixels(part, {".#.#", //
                            "#...", //
                            ".#.#"});
    }

    void focusRectangleClipsAndSkipsEmptyRectangles() {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::black);
        InvertFocusRect(image, QPoint(0, 0), Rect(-3, -3, 10, 10)); // outline all outside
        InvertFocusRect(image, QPoint(0, 0), Rect(2, 2, 2, 3));     // no width
        ExpectPixels(image, {"....", "....", "....", "...."});
        InvertFocusRect(image, QPoint(0, 0), Rect(0, 0, 1, 1)); // one pixel, inverted once
        ExpectPixels(image, {"#...", "....", "....", "...."});
    }

    void picturesSurviveTheTripThroughQt() {
        std::mt19937 random(20261208);
        for (PixelFormat format : {PixelFormat::Device, PixelFormat::Bgrx32, PixelFormat::Bgr24}) {
            Bitmap bitmap(13, 7, format);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 13; ++x) bitmap.SetPixel(x, y, random() & 0xFFFFFF);
            const QImage image = ToQImage(bitmap);
            QCOMPARE(image.size(), QSize(13, 7));
            QCOMPARE(image.pixel(4, 3) & 0xFFFFFF,
                     QColor(GetRValue(bitmap.Pixel(4, 3)), GetGValue(bitmap.Pixel(4, 3)),
                            GetBValue(bitmap.Pixel(4, 3)))
                             .rgb() &
                         0xFFFFFF);
            Bitmap back;
            FromQImage(image, back);
            QCOMPARE(back.format(), PixelFormat::Device);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 13; ++x) {
                    QCOMPARE(back.Pixel(x, y), bitmap.Pixel(x, y));
                    QCOMPARE(int(back.ScanLine(y)[x * 4 + 3]), 0);
                }
        }
    }

    void aPartOfAPictureConvertsAlone() {
        Bitmap bitmap(10, 10);
        bitmap.SetPixel(6, 7, kRed);
        const QImage part = ToQImage(bitmap, 5, 5, 3, 4);
        QCOMPARE(part.size(), QSize(3, 4));
        QCOMPARE(QColor(part.pixel(1, 2)), QColor(Qt::red));
        QCOMPARE(QColor(part.pixel(0, 0)), QColor(Qt::black));
    }

    void indexedPicturesConvertThroughTheirPalette() {
        Bitmap bitmap(2, 1, PixelFormat::Indexed8);
        bitmap.Palette() = {kBlue, kLime};
        bitmap.ScanLine(0)[0] = 1;
        bitmap.ScanLine(0)[1] = 7; // outside the palette: black
        const QImage image = ToQImage(bitmap);
        QCOMPARE(QColor(image.pixel(0, 0)), QColor(Qt::green));
        QCOMPARE(QColor(image.pixel(1, 0)), QColor(Qt::black));
    }
};

QTEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
