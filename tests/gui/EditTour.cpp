// quillon-edit-tour DATA-DIR OUT-DIR: opens the sample photo and chooses
// each style from the Frames menu in turn, writing a picture of the main
// window (edit bar and framed photo) after each, then one with the
// decoration picker open, so a person can check every style's controls.
#include "TourSupport.h"
#include "app/EditBar.h"
#include "app/Mainfrm.h"
#include "app/dialogs/Patterns.h"
#include "document/Butbar.h"

#include <QDir>
#include <QLineEdit>
#include <QPainter>

#include <cstdio>

using namespace quillon;

namespace {

// The main window with the picker drawn where it sits on the screen.
void Grab(TfrmMain& m, const QString& path) {
    Settle();
    QPixmap shot = m.grab();
    if (frmPattern && frmPattern->isVisible()) {
        QPainter painter(&shot);
        painter.drawPixmap(frmPattern->pos() - m.pos(), frmPattern->grab());
    }
    SaveShot(shot, path);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TTour tour;
    if (!tour.Start(argc, argv, "quillon-edit-tour")) return 2;
    const QString& out = tour.out;
    {
        TProgramForms forms;
        TfrmMain& m = *frmMain;
        m.move(0, 0);
        m.resize(1000, 760);
        m.show();
        Settle();
        tour.dialogs.OpenAnswers.push_back(
            QDir::current().absoluteFilePath("sample.jpg").toStdString());
        m.Open->trigger();
        for (std::size_t i = 0; i < kFrameMenu.size(); ++i) {
            m.FrameItems[i]->trigger();
            Grab(m, out + QString("/edit-style-%1.png").arg(kFrameMenu[i].Style));
        }
        m.FrameItems[8]->trigger(); // the corner frame, then a thicker frame
        m.EditBar->edFrameHeight->setText("40");
        m.EditBar->EnterPressed(m.EditBar->edFrameHeight);
        m.EditBar->PatternClick();
        Grab(m, out + "/edit-picker.png");
        if (frmPattern->lbPatterns->count() > 3) {
            frmPattern->lbPatterns->setCurrentRow(3);
            frmPattern->lbPatternsDblClick();
        }
        Grab(m, out + "/edit-pattern-chosen.png");
        m.ClosePatternPicker();
        m.FrameItems[0]->trigger(); // ornate
        m.EditBar->PatternClick();
        if (frmPattern->lbOrnate->count() > 1) {
            frmPattern->lbOrnate->setCurrentRow(1);
            frmPattern->lbOrnateDblClick();
        }
        Grab(m, out + "/edit-ornate-chosen.png");
        tour.ReportMessages();
        m.close();
    }
    return 0;
}
