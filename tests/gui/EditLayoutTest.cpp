// The editing maths that need no window: the edit bar's layout, the
// decoration item texts, the ornate flags and sizes, the picker's place.
#include "app/EditBar.h"
#include "app/dialogs/Patterns.h"

#include <QtTest>

using namespace quillon;

namespace {

// Every label is 7 pixels a character wide.
int CharWidth(const std::string& caption) {
    return int(caption.size()) * 7;
}
std::function<int(int)> LabelWidths(const TEditCaptions& captions) {
    return [captions](int group) { return CharWidth(captions[std::size_t(group)]); };
}

} // namespace

class EditLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void styleZeroLaysOutEveryGroupFromXFive() {
        const TEditCaptions captions = EditBarCaptions(0);
        const TEditBarPlaces p = EditBarLayout(captions, LabelWidths(captions));
        int x = 5;
        for (int g : {egFH, egFW, egBW}) {
            QVERIFY(p[g].Visible);
            QCOMPARE(p[g].LabelLeft, x);
            QCOMPARE(p[g].ControlLeft, x + CharWidth(captions[g]) + 3);
            QCOMPARE(p[g].UpDownLeft, p[g].ControlLeft + 26);
            x += CharWidth(captions[g]) + 3 + 26 + 14 + 12;
        }
        for (int g : {egFC, egBC}) {
            QCOMPARE(p[g].LabelLeft, x);
            x += CharWidth(captions[g]) + 3 + 18 + 12;
        }
        QCOMPARE(captions[egP], std::string("Fill Pattern"));
        QCOMPARE(p[egP].LabelLeft, x);
        QCOMPARE(p[egP].ControlLeft, x + CharWidth("Fill Pattern") + 3);
        QVERIFY(!p[egCB].Visible);
    }

    void hiddenGroupsKeepX_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<int>>("visible");
        QTest::newRow("grayscale") << 5 << QList<int>{egFH, egFW};
        QTest::newRow("ornate") << 8 << QList<int>{egP};
        QTest::newRow("overlay") << 11 << QList<int>{egP};
        QTest::newRow("shadow") << 9 << QList<int>{egFH, egFC, egBC, egP, egCB};
        QTest::newRow("outside") << 13 << QList<int>{};
        QTest::newRow("none") << -1 << QList<int>{};
    }
    void hiddenGroupsKeepX() {
        QFETCH(int, style);
        QFETCH(QList<int>, visible);
        const TEditCaptions captions = EditBarCaptions(style);
        const TEditBarPlaces p = EditBarLayout(captions, LabelWidths(captions));
        int x = 5;
        for (int g = 0; g < kEditGroupCount; ++g) {
            QCOMPARE(p[g].Visible, visible.contains(g));
            if (!p[g].Visible) continue;
            if (g == egCB) {
                QCOMPARE(p[g].ControlLeft, x);
                x += 101 + 12;
                continue;
            }
            QCOMPARE(p[g].LabelLeft, x);
            const int w = CharWidth(captions[g]) + 3;
            x += w + (g <= egBW ? 26 + 14 : 18) + 12;
        }
    }

    void editBoxValues() {
        QCOMPARE(EditBoxValue("42"), 42);
        QCOMPARE(EditBoxValue("-3"), -3);
        QCOMPARE(EditBoxValue("+5"), 5);
        for (const char* bad : {"", " 4", "4 ", "1x", "x", "+-1", "99999999999", "1.5"})
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, EditBoxValue(bad));
    }

    void decorationItemText() {
        QCOMPARE(DecorationItemText("Soft.bmp", "/m/Soft.bmp"),
                 "Soft" + std::string(56, ' ') + "/m/Soft.bmp");
        const std::string name = std::string(64, 'n') + ".jpg";
        const std::string text = DecorationItemText(name, "/p/" + name);
        QCOMPARE(text.substr(0, 60), std::string(60, 'n'));
        QCOMPARE(DecorationItemPath(text), "/p/" + name);
        // Long paths come back whole.
        QCOMPARE(DecorationItemPath(std::string(60, ' ') + std::string(120, 'p')),
                 std::string(120, 'p'));
        QCOMPARE(DecorationItemPath("short"), std::string());
    }

    void ornateFlagsAndOutputSize_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("clip");
        QTest::addColumn<bool>("trn");
        QTest::addColumn<int>("width");
        QTest::newRow("GoldClip") << "/d/Ornate/GoldClip.bmp" << true << false << 100 + 40;
        QTest::newRow("GoldcLIP") << "/d/Ornate/GoldcLIP.bmp" << false << false << 140;
        QTest::newRow("ClipTrn") << "/d/Ornate/ClipTrn.bmp" << true << false << 100;
        QTest::newRow("LeafTRN") << "/d/Ornate/LeafTRN.bmp" << false << true << 100;
        QTest::newRow("folder Clipart") << "/d/Clipart/Ornate/Plain.bmp" << true << false << 140;
        QTest::newRow("tRN") << "/d/Ornate/tRN.bmp" << false << false << 140;
    }
    void ornateFlagsAndOutputSize() {
        QFETCH(QString, path);
        QFETCH(bool, clip);
        QFETCH(bool, trn);
        QFETCH(int, width);
        const TOrnateChoice c = OrnateChoice(path.toStdString(), 100, 80, 20);
        QCOMPARE(c.ClipCorners, clip);
        QCOMPARE(c.TransparentPieces, trn);
        QCOMPARE(c.OutputWidth, width);
        QCOMPARE(c.OutputHeight, width - 20);
    }

    void pickerHangsUnderThePanelOrEndsAtTheRightEdge() {
        const TPickerPlace under = PickerPlace(100, 50, 640, 20, 24, 300, 4, 40);
        QCOMPARE(under.Left, 404);
        QCOMPARE(under.Top, 50 + 20 + 24 + 40);
        const TPickerPlace pushed = PickerPlace(100, 50, 640, 20, 24, 560, 4, 130);
        QCOMPARE(pushed.Left, 100 + 640 - 4 - 130);
        // Exactly at the edge is pushed too: the test is strictly less.
        QCOMPARE(PickerPlace(0, 0, 100, 0, 24, 56, 4, 40).Left, 56);
    }
};

QTEST_MAIN(EditLayoutTest)
#include "EditLayoutTest.moc"
