// quillon-edit-tour DATA-DIR OUT-DIR: opens the sample photo and chooses
// each style from the Frames menu in turn, writing a picture of the main
// window (edit bar and framed photo) after each, then one with the
// decoration picker open, so a person can check every style's controls.
#include "TourSupport.h"
#include "app/FrameEditBar.h"
#include "app/MainWindow.h"
#include "app/dialogs/DecorationPicker.h"

#include <QDir>
#include <QLineEdit>
#include <QPainter>

using namespace quillon;

namespace {

// The main window with the picker drawn where it sits on the screen.
void Grab(MainWindow& m, const QString& path) {
    Settle();
    QPixmap shot = m.grab();
    DecorationPicker* picker = m.decorationPicker();
    if (picker->isVisible()) {
        QPainter painter(&shot);
        painter.drawPixmap(picker->pos() - m.pos(), picker->grab());
    }
    SaveShot(shot, path);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Tour tour;
    if (!tour.start(argc, argv, "quillon-edit-tour")) return 2;
    const QString& out = tour.out;
    {
        MainWindow m;
        m.move(0, 0);
        m.resize(1000, 760);
        m.show();
        Settle();
        tour.dialogs.openAnswers.push_back(
            QDir::current().absoluteFilePath("sample.jpg").toStdString());
        m.openAction->trigger();
        for (StyleId style : StylesInMenuOrder()) {
            m.styleAction(style)->trigger();
            Grab(m, out + QString("/edit-style-%1.png").arg(int(style)));
        }
        // The corner frame, then a thicker frame and the picker.
        m.styleAction(StyleId::Corner)->trigger();
        FrameEditBar& bar = *m.editBar();
        bar.frameHeightEdit->setText("40");
        bar.applyFields();
        m.toggleDecorationPicker();
        Grab(m, out + "/edit-picker.png");
        DecorationPicker& picker = *m.decorationPicker();
        if (picker.patternList->count() > 3) {
            picker.patternList->setCurrentRow(3);
            picker.choosePattern();
        }
        Grab(m, out + "/edit-pattern-chosen.png");
        m.closeDecorationPicker();
        m.styleAction(StyleId::Ornate)->trigger();
        m.toggleDecorationPicker();
        if (picker.mouldingList->count() > 1) {
            picker.mouldingList->setCurrentRow(1);
            picker.chooseMoulding();
        }
        Grab(m, out + "/edit-ornate-chosen.png");
        tour.reportMessages();
        m.close();
    }
    return 0;
}
