// quillon-gui-tour DATA-DIR OUT-DIR: runs the main window through a typical
// session (start, open the sample photo, choose a frame, save) with scripted
// answers and writes a picture of the window after each step, so a person
// can look at what the program shows. It also writes one picture per frame
// style for the manual.
#include "TourSupport.h"
#include "app/DocumentController.h"
#include "app/MainWindow.h"
#include "app/QtBitmap.h"
#include "app/StylePictures.h"
#include "app/SystemClipboard.h"
#include "formats/Formats.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMenu>

using namespace quillon;

namespace {

void Grab(QWidget& window, const QString& path) {
    Settle();
    SaveShot(window.grab(), path);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Tour tour;
    if (!tour.start(argc, argv, "quillon-gui-tour")) return 2;
    const QString& out = tour.out;
    ScriptedDialogs& dialogs = tour.dialogs;

    for (const StyleInfo& info : StyleCatalog()) {
        const QImage framed = FramedSample(info.id, 160, 120);
        if (!framed.isNull()) framed.save(out + QString("/style-%1.png").arg(int(info.id)));
    }

    {
        MainWindow m;
        m.resize(900, 640);
        m.show();
        Grab(m, out + "/1-start.png");

        {
            FileRequest request;
            request.title = "Open";
            request.initialDir = QDir::currentPath().toStdString();
            request.filters = OpenDialogFilters();
            auto dialog = MakeOpenPictureDialog(&m, request);
            dialog->show();
            // The folder list loads in the background; select once it is there.
            QElapsedTimer wait;
            wait.start();
            while (wait.elapsed() < 1000) QApplication::processEvents();
            dialog->selectFile("sample.jpg");
            Grab(*dialog, out + "/1b-open-dialog.png");
        }
        dialogs.openAnswers.push_back(QDir::current().absoluteFilePath("sample.jpg").toStdString());
        m.openAction->trigger();
        Grab(m, out + "/2-opened.png");

        m.styleAction(StyleId::Ornate)->trigger();
        Grab(m, out + "/3-ornate.png");
        m.styleAction(StyleId::Corner)->trigger();
        Grab(m, out + "/4-corner.png");

        dialogs.saveAnswers.push_back((out + "/framed.jpg").toStdString());
        m.saveAsAction->trigger();
        Grab(m, out + "/5-saved.png");

        {
            // A small picture: the window should fit it without scroll bars.
            QImage small(200, 150, QImage::Format_RGB32);
            small.fill(QColor(90, 140, 200));
            Bitmap bitmap;
            FromQImage(small, bitmap);
            SystemClipboard().SetPicture(bitmap);
            m.pasteAction->trigger();
            Grab(m, out + "/5b-small-pasted.png");
            m.styleAction(StyleId::Oval)->trigger();
            Grab(m, out + "/5c-small-oval.png");
        }

        m.framesMenu->popup(m.mapToGlobal(QPoint(60, 0)));
        Settle();
        m.framesMenu->grab().save(out + "/6-frames-menu.png");
        m.framesMenu->hide();

        tour.reportMessages();
        m.close();
    }
    return 0;
}
