// The set-up of one GUI test: a fresh folder as the start folder with a
// private settings store and scripted dialogs (ScratchRun), then either the
// document controller alone with a private clipboard (ControllerRun) or the
// whole main window on the system clipboard (ShellRun).
#pragma once

#include "ScriptedDialogs.h"
#include "app/DocumentController.h"
#include "app/MainWindow.h"
#include "app/SystemClipboard.h"
#include "canvas/Bitmap.h"
#include "document/ClipboardPort.h"
#include "document/PhotoDocument.h"
#include "formats/Formats.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace quillon {

class ScratchRun {
public:
    ScratchRun() {
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path() + "/store");
        Dialogs::install(&dialogs);
    }
    ~ScratchRun() {
        Dialogs::install(nullptr);
        QDir::setCurrent(previous_);
    }
    ScratchRun(const ScratchRun&) = delete;
    ScratchRun& operator=(const ScratchRun&) = delete;

    std::string path(const std::string& name) const {
        return dir_.path().toStdString() + "/" + name;
    }
    // Writes a width x height picture file (format by its name) whose pixel
    // (x, y) is RGB(7x, 5y, 90).
    std::string writePicture(const std::string& name, int width, int height) const {
        Bitmap bitmap(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, RGB(x * 7, y * 5, 90));
        SavePictureFile(bitmap, path(name));
        return path(name);
    }
    void writeText(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    // A width x height picture whose pixel (x, y) is RGB(200, 3x, 3y).
    static std::unique_ptr<Bitmap> samplePicture(int width, int height) {
        auto bitmap = std::make_unique<Bitmap>(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) bitmap->SetPixel(x, y, RGB(200, x * 3, y * 3));
        return bitmap;
    }

    ScriptedDialogs dialogs;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// The document controller alone, made in the scratch folder.
class ControllerRun : public ScratchRun {
public:
    void putPictureOnClipboard(int width, int height) {
        clipboard.SetPicture(*samplePicture(width, height));
    }
    // Opens a width x height picture named photo.bmp.
    PhotoDocument& openPicture(int width = 60, int height = 40) {
        controller.open(writePicture("photo.bmp", width, height));
        return *controller.document();
    }

    MemoryClipboard clipboard;
    DocumentController controller{clipboard};
};

// The whole program's main window, made in the scratch folder.
class ShellRun : public ScratchRun {
public:
    ShellRun() { clipboard.Clear(); }
    ~ShellRun() { window.reset(); }

    // Makes the main window; show() runs the first showing's work.
    MainWindow& start(bool show = true) {
        window = std::make_unique<MainWindow>();
        if (show) {
            window->show();
            QApplication::processEvents();
        }
        return *window;
    }
    void putPictureOnClipboard(int width, int height) {
        clipboard.SetPicture(*samplePicture(width, height));
    }

    SystemClipboard clipboard;
    std::unique_ptr<MainWindow> window;
};

// Whether two pictures have the same size and colours (the fourth byte of a
// pixel aside).
inline bool SamePixels(const Bitmap& a, const Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if ((a.Pixel(x, y) & 0xFFFFFF) != (b.Pixel(x, y) & 0xFFFFFF)) return false;
    return true;
}

// The program's decoration library, seen from the scratch folder.
inline void LinkDataFolder(const ScratchRun& run) {
    namespace fs = std::filesystem;
    for (const fs::directory_entry& e : fs::directory_iterator(QUILLON_BUILD_DATA_DIR))
        fs::create_symlink(e.path(), run.path(e.path().filename().string()));
}

// Sends a mouse event to a widget as the platform would.
inline void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button,
                      Qt::MouseButtons buttons, QPoint at) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace quillon
