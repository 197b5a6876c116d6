// Scanner: brings a picture in from a scanner through the program's scanner
// access library (libquillon-twain.so), loaded at run time and kept loaded
// for the rest of the run. The library hands a scanned picture back through
// a callback; the scanner keeps it until acquire returns it, so that the
// scan opens as a new document without passing through the clipboard. A
// missing library or entry point is reported and the operation does nothing.
#pragma once

#include "canvas/Bitmap.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace quillon {

class Scanner final : public QObject {
    Q_OBJECT
public:
    explicit Scanner(QWidget* owner);

    // The library's file name (the one "Missing " names) and the folders
    // searched for it in order; empty folder = the system's library path.
    std::string libraryFile = "libquillon-twain.so";
    std::vector<std::string> libraryFolders;

    // Whether a source has been selected, so that Scan can be offered.
    bool sourceSelected() const { return sourceSelected_; }
    void selectSource();
    // Scans one picture; null when the scan gave none.
    std::unique_ptr<Bitmap> acquire();

    // Called by the library with a scanned picture (8-bit RGB rows).
    bool receivePicture(int width, int height, const unsigned char* rgb);
    // Asks the user to choose among the devices; -1 for none.
    int chooseSource(const std::vector<std::string>& labels);

private:
    void loadLibrary();
    void* entry(const char* name) const;

    QWidget* owner_;
    void* library_ = nullptr;
    bool sourceSelected_ = false;
    std::unique_ptr<Bitmap> received_;
};

} // namespace quillon
