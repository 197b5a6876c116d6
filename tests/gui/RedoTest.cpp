// Redo over the ten-step undo history: what it brings back (pictures, a
// frame with its settings, the undo caption), when it is forgotten, and the
// Edit menu's Redo item.
#include "GuiFixture.h"
#include "app/ImageWindow.h"

#include <QSignalSpy>
#include <QtTest>

#include <deque>

using namespace quillon;

class RedoTest : public QObject {
    Q_OBJECT
private slots:
    void redoBringsBackWhatUndoTookAway() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(60, 40);
        QVERIFY(!c.canRedo());
        c.grayScale();
        c.rotateRight();
        Bitmap turned;
        turned.Assign(c.document()->Photo());
        QSignalSpy redoSpy(&c, &DocumentController::redoAvailable);
        c.undo();
        QCOMPARE(c.document()->Photo().Width(), 60);
        QVERIFY(c.canRedo());
        QCOMPARE(c.undoCaption(), QString("&Undo Grayscale Photo"));
        c.redo();
        QVERIFY(SamePixels(c.document()->Photo(), turned));
        QCOMPARE(c.undoCaption(), QString("&Undo Rotate Photo 90 Right"));
        QCOMPARE(c.undoCount(), 2);
        QVERIFY(!c.canRedo());
        QCOMPARE(redoSpy.count(), 2);
        QCOMPARE(redoSpy.last().at(0).toBool(), false);
        // And it can be undone again.
        c.undo();
        QCOMPARE(c.document()->Photo().Width(), 60);
    }

    void redoOfAFrameBringsBackItsStyleAndSettings() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(60, 40);
        c.chooseStyle(StyleId::Matte);
        c.editFrame({12, std::nullopt, std::nullopt});
        const int framedWidth = c.document()->Result()->Width();
        c.undo();
        QVERIFY(!c.framing());
        QCOMPARE(c.document()->Result()->Width(), 60);
        c.redo();
        QCOMPARE(c.style(), std::optional<StyleId>(StyleId::Matte));
        QCOMPARE(c.document()->GetFrameHeight(), 12);
        QCOMPARE(c.document()->Result()->Width(), framedWidth);
        QCOMPARE(c.undoCaption(), QString("&Undo Frame"));
        c.undo();
        QVERIFY(!c.framing());
    }

    void aNewCommandOrPictureForgetsRedo() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(60, 40);
        c.grayScale();
        c.undo();
        c.negative();
        QVERIFY(!c.canRedo());
        c.redo(); // nothing to bring back
        QCOMPARE(c.undoCount(), 1);

        c.undo();
        QVERIFY(c.canRedo());
        run.openPicture(30, 20);
        QVERIFY(!c.canRedo());

        c.grayScale();
        c.undo();
        run.putPictureOnClipboard(8, 8);
        QVERIFY(c.paste());
        QVERIFY(!c.canRedo());
    }

    void tenStepsGoBackAndComeAgain() {
        ControllerRun run;
        DocumentController& c = run.controller;
        run.openPicture(6, 4);
        std::deque<Bitmap> states(1);
        states[0].Assign(c.document()->Photo());
        for (int i = 0; i < DocumentController::kUndoSteps; ++i) {
            i % 2 ? c.negative() : c.rotateRight();
            states.emplace_back().Assign(c.document()->Photo());
        }
        for (int i = DocumentController::kUndoSteps - 1; i >= 0; --i) {
            c.undo();
            QVERIFY2(SamePixels(c.document()->Photo(), states[std::size_t(i)]),
                     qPrintable(QString("undo to step %1").arg(i)));
        }
        QVERIFY(!c.canUndo());
        for (int i = 1; i <= DocumentController::kUndoSteps; ++i) {
            c.redo();
            QVERIFY2(SamePixels(c.document()->Photo(), states[std::size_t(i)]),
                     qPrintable(QString("redo to step %1").arg(i)));
        }
        QVERIFY(!c.canRedo());
        QCOMPARE(c.undoCount(), DocumentController::kUndoSteps);
    }

    void theEditMenuOffersRedoAfterUndo() {
        ShellRun run;
        MainWindow& m = run.start();
        const QList<QAction*> items = m.editMenu->actions();
        QCOMPARE(items.indexOf(m.redoAction), items.indexOf(m.undoAction) + 1);
        QCOMPARE(m.redoAction->text(), QString("&Redo"));
        QVERIFY(m.redoAction->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
        QVERIFY(m.redoAction->shortcuts().contains(QKeySequence("Ctrl+Y")));
        QVERIFY(!m.redoAction->isEnabled());
        run.dialogs.openAnswers.push_back(run.writePicture("photo.bmp", 20, 10));
        m.openAction->trigger();
        m.negativeAction->trigger();
        m.undoAction->trigger();
        QVERIFY(m.redoAction->isEnabled());
        m.redoAction->trigger();
        QVERIFY(!m.redoAction->isEnabled());
        QVERIFY(m.undoAction->isEnabled());
        m.imageWindow()->close();
        QVERIFY(!m.redoAction->isEnabled());
    }
};

QTEST_MAIN(RedoTest)
#include "RedoTest.moc"
