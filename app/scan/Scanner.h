// Scanner: brings a picture in from a scanner through the program's scanner
// access library (libquillon-twain.so), loaded at run time and kept loaded
// for the rest of the run. The library hands a scanned picture back through
// a callback; the scanner keeps it until acquire returns it, so that the
// scan opens as a new document without passing through the clipboard. A
// missing library or entry point is reported and the operation does nothing.
//
// Select Scan Source asks SANE for its devices on a worker thread, since
// SANE may take seconds to look on the network and the USB buses; the
// window goes on painting under a busy indicator meanwhile, and an empty
// list is reported as "No scanners found".
#pragma once

#include "canvas/Bitmap.h"

#include <QFuture>
#include <QObject>

#include <memory>
#include <optional>
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

    // The devices SANE knows, as a listing on a worker thread gives them.
    struct SourceList {
        bool listed = false; // SANE answered
        std::string error;   // why it did not
        std::vector<std::string> names;
        std::vector<std::string> labels;
    };

private:
    void loadLibrary();
    void* entry(const char* name) const;
    // Lists the devices on a worker thread, showing a busy indicator until
    // it ends; none when the person cancelled the wait.
    std::optional<SourceList> listSources();
    // Selection through the library's own chooser (a library without the
    // listing entry point).
    void selectThroughLibrary();

    QWidget* owner_;
    void* library_ = nullptr;
    bool sourceSelected_ = false;
    std::unique_ptr<Bitmap> received_;
    // The last listing; a later one waits for it, since SANE takes one
    // caller at a time.
    QFuture<SourceList> listing_;
};

} // namespace quillon
