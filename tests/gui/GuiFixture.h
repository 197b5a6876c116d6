// One program run for a GUI test: a fresh folder as the start folder, a
// private settings store, the system clipboard, scripted dialogs and the
// start routine's forms.
#pragma once

#include "ScriptedDialogs.h"
#include "app/Mainfrm.h"
#include "app/QtBitmap.h"
#include "app/Wind.h"
#include "canvas/Canvas.h"
#include "document/Butbar.h"
#include "formats/Formats.h"
#include "frames/Clipboard.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <string>

namespace quillon {

class TShellRun {
public:
    TShellRun() {
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path() + "/store");
        SetDialogs(&dialogs);
        SetClipboard(&clipboard);
        clipboard.Clear();
    }
    ~TShellRun() {
        forms.reset();
        SetClipboard(nullptr);
        SetDialogs(nullptr);
        QDir::setCurrent(previous_);
    }
    TShellRun(const TShellRun&) = delete;
    TShellRun& operator=(const TShellRun&) = delete;

    // Creates the forms; show() runs the first showing's work.
    TfrmMain& Start(bool show = true) {
        forms = std::make_unique<TProgramForms>();
        if (show) {
            frmMain->show();
            QApplication::processEvents();
        }
        return *frmMain;
    }

    std::string Path(const std::string& name) const {
        return dir_.path().toStdString() + "/" + name;
    }
    // Writes a width x height picture file (format by its name).
    std::string WritePicture(const std::string& name, int width, int height) const {
        Bitmap bitmap(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, RGB(x * 7, y * 5, 90));
        SavePictureFile(bitmap, Path(name));
        return Path(name);
    }
    void WriteText(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    void PutPictureOnClipboard(int width, int height) {
        Bitmap bitmap(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, RGB(200, x * 3, y * 3));
        clipboard.SetBitmap(bitmap);
    }

    TScriptedDialogs dialogs;
    TQtClipboard clipboard;
    std::unique_ptr<TProgramForms> forms;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// Whether the engine can draw pictures yet (its canvas may still be a
// placeholder on a branch that has not received it).
inline bool EngineDraws() {
    try {
        Bitmap from(2, 2), to(4, 4);
        to.canvas().StretchDraw(Rect(0, 0, 4, 4), from);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
#define REQUIRE_ENGINE()                                                                           \
    do {                                                                                           \
        if (!EngineDraws()) QSKIP("the canvas layer cannot draw yet on this branch");              \
    } while (0)

// Sends a mouse event to the image window's picture as the platform would.
inline void SendMouse(QWidget* view, QEvent::Type type, Qt::MouseButton button,
                      Qt::MouseButtons buttons, QPoint at) {
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

} // namespace quillon
