// quillon-gui-tour DATA-DIR OUT-DIR: runs the main window through a typical
// session (start, open the sample photo, choose a frame, save) with scripted
// answers and writes a picture of the window after each step, so a person
// can look at what the program shows. It also writes one picture per frame
// style for the manual.
#include "TourSupport.h"
#include "app/Mainfrm.h"
#include "app/QtBitmap.h"
#include "app/StylePictures.h"
#include "app/Wind.h"
#include "document/Butbar.h"
#include "formats/Formats.h"
#include "frames/Clipboard.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QTimer>

#include <cstdio>

using namespace quillon;

namespace {

void Grab(QWidget& window, const QString& path) {
    Settle();
    SaveShot(window.grab(), path);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TTour tour;
    if (!tour.Start(argc, argv, "quillon-gui-tour")) return 2;
    const QString& out = tour.out;
    TScriptedDialogs& dialogs = tour.dialogs;

    for (int style = 0; style < kStyleCount; ++style) {
        const QImage framed = FramedSample(style, 160, 120);
        if (!framed.isNull()) framed.save(out + QString("/style-%1.png").arg(style));
    }

    {
        TProgramForms forms;
        TfrmMain& m = *frmMain;
        m.resize(900, 640);
        m.show();
        Grab(m, out + "/1-start.png");

        {
            TFileRequest request;
            request.Title = "Open";
            request.InitialDir = QDir::currentPath().toStdString();
            request.Filters = OpenDialogFilters();
            auto dialog = MakeOpenPictureDialog(&m, request);
            dialog->show();
            // The folder list loads in the background; select once it is there.
            QElapsedTimer wait;
            wait.start();
            while (wait.elapsed() < 1000) QApplication::processEvents();
            dialog->selectFile("sample.jpg");
            Grab(*dialog, out + "/1b-open-dialog.png");
        }
        dialogs.OpenAnswers.push_back(QDir::current().absoluteFilePath("sample.jpg").toStdString());
        m.Open->trigger();
        Grab(m, out + "/2-opened.png");

        m.FrameItems[0]->trigger(); // the ornate frame
        Grab(m, out + "/3-ornate.png");
        m.FrameItems[8]->trigger(); // the corner frame
        Grab(m, out + "/4-corner.png");

        dialogs.SaveAnswers.push_back((out + "/framed.jpg").toStdString());
        m.Save1->trigger();
        Grab(m, out + "/5-saved.png");

        {
            // A small picture: the window should fit it without scroll bars.
            QImage small(200, 150, QImage::Format_RGB32);
            small.fill(QColor(90, 140, 200));
            Bitmap bitmap;
            FromQImage(small, bitmap);
            Clipboard().SetBitmap(bitmap);
            m.PasteFromClipboard->trigger();
            Grab(m, out + "/5b-small-pasted.png");
            m.FrameItems[9]->trigger(); // the oval
            Grab(m, out + "/5c-small-oval.png");
        }

        m.Frames1->popup(m.mapToGlobal(QPoint(60, 0)));
        Settle();
        m.Frames1->grab().save(out + "/6-frames-menu.png");
        m.Frames1->hide();

        tour.ReportMessages();
        m.close();
    }
    return 0;
}
