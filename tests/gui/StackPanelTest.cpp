// The Frames panel: when it shows, what its rows say, and each of its
// actions (select, hide, drag, Delete, the context menu) reaching the stack.
#include "GuiFixture.h"
#include "app/FrameEditBar.h"
#include "app/FrameStackPanel.h"

#include <QListWidget>
#include <QtTest>

using namespace quillon;

namespace {

// Opens a photo and applies matte, corner and shadow through the menus.
MainWindow& ThreeFrames(ShellRun& run) {
    LinkDataFolder(run);
    MainWindow& m = run.start();
    run.dialogs.openAnswers.push_back(run.writePicture("photo.bmp", 60, 40));
    m.openAction->trigger();
    for (StyleId id : {StyleId::Matte, StyleId::Corner, StyleId::Shadow}) {
        m.styleAction(id)->trigger();
        m.applyFrameAction->trigger();
    }
    return m;
}

QStringList RowTexts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    return texts;
}

} // namespace

class StackPanelTest : public QObject {
    Q_OBJECT
private slots:
    void showsOnceTwoFramesAreStacked() {
        ShellRun run;
        LinkDataFolder(run);
        MainWindow& m = run.start();
        run.dialogs.openAnswers.push_back(run.writePicture("photo.bmp", 60, 40));
        m.openAction->trigger();
        FrameStackPanel* panel = m.frameStackPanel();
        QVERIFY(!panel->isVisible());
        m.styleAction(StyleId::Matte)->trigger();
        m.applyFrameAction->trigger();
        QVERIFY(!panel->isVisible());
        m.styleAction(StyleId::Corner)->trigger();
        // The frame in progress is the top row, not yet a group.
        QCOMPARE(RowTexts(*panel->list()),
                 QStringList({"Corner Frame (not applied)", "Matte Frame"}));
        m.applyFrameAction->trigger();
        QVERIFY(panel->isVisible());
        QVERIFY(m.frameStackAction->isChecked());
        // View > Frame Stack hides and shows it again.
        m.frameStackAction->trigger();
        QVERIFY(!panel->isVisible());
        m.frameStackAction->trigger();
        QVERIFY(panel->isVisible());
    }

    void rowsSayWhatEachGroupIs() {
        ShellRun run;
        MainWindow& m = ThreeFrames(run);
        QListWidget& list = *m.frameStackPanel()->list();
        QCOMPARE(RowTexts(list), QStringList({"Drop Shadow", "Corner Frame", "Matte Frame"}));
        QCOMPARE(m.frameStackPanel()->groupOfRow(0), std::optional<std::size_t>(2));
        for (int i = 0; i < list.count(); ++i) {
            QCOMPARE(list.item(i)->checkState(), Qt::Checked);
            QVERIFY(!list.item(i)->icon().isNull());
        }
        m.controller().editGroup(0);
        m.controller().setFrameColor(RGB(255, 0, 0));
        QVERIFY(list.item(2)->toolTip().startsWith("Matte Frame\n"));
        QVERIFY2(list.item(2)->toolTip().contains("#FF0000"), qPrintable(list.item(2)->toolTip()));
    }

    void selectingARowLoadsItsGroupIntoTheEditBar() {
        ShellRun run;
        MainWindow& m = ThreeFrames(run);
        QListWidget& list = *m.frameStackPanel()->list();
        list.item(2)->setSelected(true);
        QCOMPARE(m.controller().editedGroup(), std::optional<std::size_t>(0));
        QVERIFY(m.editBar()->isVisible());
        QCOMPARE(m.controller().style(), std::optional<StyleId>(StyleId::Matte));
        // Apply Frame ends the edit and clears the selection.
        m.applyFrameAction->trigger();
        QVERIFY(!m.controller().editedGroup());
        QVERIFY(list.selectedItems().isEmpty());
    }

    void theBoxHidesAndShows() {
        ShellRun run;
        MainWindow& m = ThreeFrames(run);
        QListWidget& list = *m.frameStackPanel()->list();
        const QSize framed = m.controller().shownSize();
        list.item(1)->setCheckState(Qt::Unchecked);
        QVERIFY(!m.controller().group(1).visible);
        QCOMPARE(m.undoAction->text(), QString("&Undo Hide Frame"));
        QVERIFY(m.controller().shownSize() != framed);
        m.undoAction->trigger();
        QCOMPARE(list.item(1)->checkState(), Qt::Checked);
        QVERIFY(m.controller().group(1).visible);
    }

    void aDroppedRowMovesItsGroup() {
        ShellRun run;
        MainWindow& m = ThreeFrames(run);
        QListWidget& list = *m.frameStackPanel()->list();
        // The shadow (top row) dropped at the bottom: under the matte.
        QVERIFY(list.model()->moveRow(QModelIndex(), 0, QModelIndex(), 3));
        QTRY_COMPARE(m.controller().group(0).group.style, std::optional<StyleId>(StyleId::Shadow));
        QCOMPARE(RowTexts(list), QStringList({"Corner Frame", "Matte Frame", "Drop Shadow"}));
        QCOMPARE(m.undoAction->text(), QString("&Undo Move Frame"));
        // And the matte dropped on top.
        QVERIFY(list.model()->moveRow(QModelIndex(), 1, QModelIndex(), 0));
        QTRY_COMPARE(m.controller().group(2).group.style, std::optional<StyleId>(StyleId::Matte));
        QCOMPARE(RowTexts(list), QStringList({"Matte Frame", "Corner Frame", "Drop Shadow"}));
    }

    void theContextMenuAndDelete() {
        ShellRun run;
        MainWindow& m = ThreeFrames(run);
        FrameStackPanel& panel = *m.frameStackPanel();
        QListWidget& list = *panel.list();
        QCOMPARE(list.actions().size(), 4);
        list.item(1)->setSelected(true); // the corner
        QVERIFY(panel.moveUpAction->isEnabled() && panel.moveDownAction->isEnabled());
        panel.duplicateAction->trigger();
        QCOMPARE(RowTexts(list),
                 QStringList({"Drop Shadow", "Corner Frame", "Corner Frame", "Matte Frame"}));
        list.item(0)->setSelected(true);
        QVERIFY(!panel.moveUpAction->isEnabled());
        panel.moveDownAction->trigger();
        QCOMPARE(RowTexts(list),
                 QStringList({"Corner Frame", "Drop Shadow", "Corner Frame", "Matte Frame"}));
        list.item(3)->setSelected(true);
        QVERIFY(!panel.moveDownAction->isEnabled());
        panel.moveUpAction->trigger();
        QCOMPARE(RowTexts(list),
                 QStringList({"Corner Frame", "Drop Shadow", "Matte Frame", "Corner Frame"}));
        list.item(2)->setSelected(true);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(RowTexts(list), QStringList({"Corner Frame", "Drop Shadow", "Corner Frame"}));
        QCOMPARE(m.undoAction->text(), QString("&Undo Remove Frame"));
        panel.list()->item(0)->setSelected(true);
        panel.removeAction->trigger();
        QCOMPARE(m.controller().groupCount(), std::size_t(2));
    }
};

QTEST_MAIN(StackPanelTest)
#include "StackPanelTest.moc"
