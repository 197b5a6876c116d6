// The editing arithmetic that needs no window: the edit bar's layout for
// each style's captions, the edit boxes' numbers, the decoration item texts,
// what a moulding's name says about its look, and the picker's place.
#include "app/EditBarLayout.h"
#include "app/dialogs/DecorationPicker.h"
#include "frames/OrnateFrame.h"

#include <QtTest>

#include <string>

using namespace quillon;

Q_DECLARE_METATYPE(StyleId)

namespace {

// Every label is 7 pixels a character wide.
int CharWidth(const char* caption) {
    return int(std::string(caption).size()) * 7;
}
std::function<int(EditField)> LabelWidths(const EditCaptions& captions) {
    return [captions](EditField field) { return CharWidth(captions[std::size_t(field)]); };
}

} // namespace

class EditLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void theCornerFrameLaysOutEveryFieldFromXFive() {
        const EditCaptions& captions = StyleInfoOf(StyleId::Corner).captions;
        const EditBarPlaces p = EditBarLayout(captions, LabelWidths(captions));
        int x = 5;
        for (EditField f :
             {EditField::FrameHeight, EditField::FrameWidth, EditField::BorderWidth}) {
            const EditFieldPlace& place = p[std::size_t(f)];
            QVERIFY(place.visible);
            QCOMPARE(place.labelLeft, x);
            QCOMPARE(place.controlLeft, x + CharWidth(captions[std::size_t(f)]) + 3);
            QCOMPARE(place.upDownLeft, place.controlLeft + 26);
            QCOMPARE(place.unitLeft, place.upDownLeft + 14 + 1);
            x += CharWidth(captions[std::size_t(f)]) + 3 + 26 + 14 + 1 + 22 + 12;
        }
        for (EditField f : {EditField::FrameColor, EditField::BorderColor}) {
            QCOMPARE(p[std::size_t(f)].labelLeft, x);
            x += CharWidth(captions[std::size_t(f)]) + 3 + 18 + 12;
        }
        const EditFieldPlace& decoration = p[std::size_t(EditField::Decoration)];
        QCOMPARE(QString(captions[std::size_t(EditField::Decoration)]), QString("Fill Pattern"));
        QCOMPARE(decoration.labelLeft, x);
        QCOMPARE(decoration.controlLeft, x + CharWidth("Fill Pattern") + 3);
        QVERIFY(!p[std::size_t(EditField::CheckBox)].visible);
    }

    void hiddenFieldsTakeNoRoom_data() {
        QTest::addColumn<StyleId>("style");
        QTest::addColumn<bool>("none");
        QTest::addColumn<QList<int>>("visible");
        QTest::newRow("grayscale") << StyleId::Grayscale << false << QList<int>{0, 1};
        QTest::newRow("ornate") << StyleId::Ornate << false << QList<int>{0, 5};
        QTest::newRow("overlay") << StyleId::Overlay << false << QList<int>{5};
        QTest::newRow("shadow") << StyleId::Shadow << false << QList<int>{0, 2, 3, 4, 5, 6};
        QTest::newRow("mask") << StyleId::Mask << false << QList<int>{2, 3, 5};
        QTest::newRow("no style") << StyleId::Corner << true << QList<int>{};
    }
    void hiddenFieldsTakeNoRoom() {
        QFETCH(StyleId, style);
        QFETCH(bool, none);
        QFETCH(QList<int>, visible);
        const EditCaptions& captions = none ? kNoEditCaptions : StyleInfoOf(style).captions;
        const bool thirdIsLength = StyleInfoOf(style).thirdFieldIsLength;
        const EditBarPlaces p = EditBarLayout(captions, LabelWidths(captions), thirdIsLength);
        int x = 5;
        for (int g = 0; g < kEditFieldCount; ++g) {
            const EditFieldPlace& place = p[std::size_t(g)];
            QCOMPARE(place.visible, visible.contains(g));
            if (!place.visible) continue;
            if (EditField(g) == EditField::CheckBox) {
                QCOMPARE(place.controlLeft, x);
                x += 101 + 12;
                continue;
            }
            QCOMPARE(place.labelLeft, x);
            const int w = CharWidth(captions[std::size_t(g)]) + 3;
            // A length's unit button follows its up-down; the mask's
            // brightness has none.
            const bool unit = g < int(EditField::BorderWidth) ||
                              (g == int(EditField::BorderWidth) && thirdIsLength);
            QCOMPARE(place.unitLeft > 0, unit);
            x += w + (g <= int(EditField::BorderWidth) ? 26 + 14 : 18) + (unit ? 1 + 22 : 0) + 12;
        }
    }

    void editBoxValues() {
        QCOMPARE(EditBoxValue("42"), 42);
        QCOMPARE(EditBoxValue("-3"), -3);
        QCOMPARE(EditBoxValue("+5"), 5);
        for (const char* bad : {"", " 4", "4 ", "1x", "x", "+-1", "99999999999", "1.5"})
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, EditBoxValue(bad));
    }

    void lengthBoxesReadInTheirUnit() {
        QCOMPARE(*EditBoxLength("0.5", LengthUnit::Inches), (Length{0.5, LengthUnit::Inches}));
        QCOMPARE(*EditBoxLength("12", LengthUnit::Millimetres),
                 (Length{12, LengthUnit::Millimetres}));
        // A unit typed with the number wins over the field's.
        QCOMPARE(*EditBoxLength("5%", LengthUnit::Inches), (Length{5, LengthUnit::Percent}));
        QVERIFY(!EditBoxLength("-1", LengthUnit::Inches)); // stops the reading, as in pixels
        for (const char* bad : {"", "in", "1,5", "0.5px", "x1"})
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, EditBoxLength(bad, LengthUnit::Inches));
        QCOMPARE(PrintSizeText({15, 10, LengthUnit::Centimetres}), std::string("15x10 cm"));
        QCOMPARE(PrintSizeText({4.5, 3, LengthUnit::Inches}), std::string("4.5x3 in"));
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

    // The rule the picker's mouldings follow, read from the whole path.
    void aMouldingsNameGivesItsLook_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("clip");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<bool>("over");
        QTest::newRow("GoldClip") << "/d/Ornate/GoldClip.bmp" << true << false << false;
        QTest::newRow("GoldcLIP") << "/d/Ornate/GoldcLIP.bmp" << false << false << false;
        QTest::newRow("ClipTrn") << "/d/Ornate/ClipTrn.bmp" << true << false << true;
        QTest::newRow("LeafTRN") << "/d/Ornate/LeafTRN.bmp" << false << true << true;
        QTest::newRow("folder Clipart") << "/d/Clipart/Ornate/Plain.bmp" << false << false << false;
        QTest::newRow("tRN") << "/d/Ornate/tRN.bmp" << false << false << false;
    }
    void aMouldingsNameGivesItsLook() {
        QFETCH(QString, path);
        QFETCH(bool, clip);
        QFETCH(bool, transparent);
        QFETCH(bool, over);
        const MouldingLook look = MouldingLookFor(path.toStdString());
        QCOMPARE(look.clipCorners, clip);
        QCOMPARE(look.transparentPieces, transparent);
        QCOMPARE(look.liesOverPhoto, over);
    }

    void thePickerHangsUnderThePanelOrEndsAtTheRightEdge() {
        const PickerAnchor anchor{100, 50, 640, 20, 24, 300, 4};
        const PickerPlace under = PickerPlaceFor(anchor, 40);
        QCOMPARE(under.left, 404);
        QCOMPARE(under.top, 50 + 20 + 24 + 40);
        PickerAnchor right = anchor;
        right.panelLeft = 560;
        QCOMPARE(PickerPlaceFor(right, 130).left, 100 + 640 - 4 - 130);
        // Exactly at the edge is pushed too: the test is strictly less.
        QCOMPARE(PickerPlaceFor({0, 0, 100, 0, 24, 56, 4}, 40).left, 56);
    }
};

QTEST_MAIN(EditLayoutTest)
#include "EditLayoutTest.moc"
