// TScanImage: brings a picture in from a scanner through the program's
// scanner access library (libquillon-twain.so), loaded at run time and kept
// loaded for the rest of the run. The library hands a scanned picture back
// through a callback; the picture goes onto the program's clipboard, from
// where the scan command pastes it. A missing library or entry point is
// reported and the operation does nothing.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

class QWidget;

namespace quillon {

class TScanImage final : public QObject {
    Q_OBJECT
public:
    explicit TScanImage(QWidget* owner);

    // The library's file name (the one "Missing " names) and the folders
    // searched for it in order; empty folder = the system's library path.
    std::string LibraryFile = "libquillon-twain.so";
    std::vector<std::string> LibraryFolders;

    // An image control that receives the scanned picture, or none (then the
    // picture stays on the clipboard). Returns to none when destroyed.
    QPointer<QLabel> ScanedImage;
    void* LibraryHandle = nullptr;
    bool SourceSelected = false;

    void SelectImageSource();
    void AcquireImage();

    // Called by the library with a scanned picture; puts it on the clipboard.
    bool ReceivePicture(int width, int height, const unsigned char* rgb);
    // Asks the user to choose among the devices; -1 for none.
    int ChooseSource(const std::vector<std::string>& labels);

private:
    void LoadLibrary();
    void* Entry(const char* name) const;
    QWidget* owner_;
};

} // namespace quillon
