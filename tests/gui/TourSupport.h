// What the tour programs share: the command line (DATA-DIR OUT-DIR), a
// settings store inside OUT-DIR, scripted dialogs and the system clipboard,
// and writing a picture of a window.
#pragma once

#include "ScriptedDialogs.h"
#include "app/QtBitmap.h"
#include "frames/Clipboard.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSettings>

#include <cstdio>

namespace quillon {

inline void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

inline void SaveShot(const QPixmap& shot, const QString& path) {
    shot.save(path);
    std::printf("wrote %s\n", qPrintable(path));
}

class TTour {
public:
    // Runs in DATA-DIR and writes to OUT-DIR; false (with the usage on
    // stderr) when the arguments are not those two.
    bool Start(int argc, char** argv, const char* program) {
        if (argc != 3) {
            std::fprintf(stderr, "usage: %s DATA-DIR OUT-DIR\n", program);
            return false;
        }
        QDir::setCurrent(argv[1]);
        out = QDir(argv[2]).absolutePath();
        QDir().mkpath(out);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, out + "/store");
        SetDialogs(&dialogs);
        SetClipboard(&clipboard);
        return true;
    }
    // Prints the messages the program showed during the tour.
    void ReportMessages() const {
        for (const auto& message : dialogs.Messages)
            std::printf("message: %s\n", message.Text.c_str());
    }
    ~TTour() {
        SetClipboard(nullptr);
        SetDialogs(nullptr);
    }

    QString out;
    TScriptedDialogs dialogs;
    TQtClipboard clipboard;
};

} // namespace quillon
