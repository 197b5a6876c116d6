// What the tour programs share: the command line (DATA-DIR OUT-DIR), a
// settings store inside OUT-DIR, scripted dialogs, and writing a picture of
// a window.
#pragma once

#include "ScriptedDialogs.h"

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

class Tour {
public:
    // Runs in DATA-DIR and writes to OUT-DIR; false (with the usage on
    // stderr) when the arguments are not those two.
    bool start(int argc, char** argv, const char* program) {
        if (argc != 3) {
            std::fprintf(stderr, "usage: %s DATA-DIR OUT-DIR\n", program);
            return false;
        }
        QDir::setCurrent(argv[1]);
        out = QDir(argv[2]).absolutePath();
        QDir().mkpath(out);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, out + "/store");
        Dialogs::install(&dialogs);
        return true;
    }
    // Prints the messages the program showed during the tour.
    void reportMessages() const {
        for (const auto& message : dialogs.messages)
            std::printf("message: %s\n", message.text.c_str());
    }
    ~Tour() { Dialogs::install(nullptr); }

    QString out;
    ScriptedDialogs dialogs;
};

} // namespace quillon
