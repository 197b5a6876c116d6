#include "app/scan/Scanning.h"

#include "app/Dialogs.h"
#include "app/QtBitmap.h"
#include "canvas/Bitmap.h"
#include "canvas/Types.h"
#include "frames/Clipboard.h"
#include "scanning/twain/QuillonTwain.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>

#include <dlfcn.h>

#include <cstdint>

namespace quillon {

namespace {

int ChooseCallback(void* context, const char* const* /*names*/, const char* const* labels,
                   int count) {
    try {
        std::vector<std::string> l;
        for (int i = 0; i < count; ++i) l.emplace_back(labels[i] ? labels[i] : "");
        return static_cast<TScanImage*>(context)->ChooseSource(l);
    } catch (...) {
        return -1;
    }
}

int DeliverCallback(void* context, int width, int height, const unsigned char* rgb) {
    try {
        return static_cast<TScanImage*>(context)->ReceivePicture(width, height, rgb) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

} // namespace

TScanImage::TScanImage(QWidget* owner) : QObject(owner), owner_(owner) {
    setObjectName("ScanImage1");
    LibraryFolders = {QCoreApplication::applicationDirPath().toStdString(), ""};
}

void TScanImage::LoadLibrary() {
    for (const std::string& folder : LibraryFolders) {
        const std::string path = folder.empty() ? LibraryFile : folder + "/" + LibraryFile;
        LibraryHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (LibraryHandle) break;
    }
    if (!LibraryHandle) return;
    using TSetCallbacks = void (*)(QTwainChooseSource, QTwainDeliverImage, void*);
    if (auto set = reinterpret_cast<TSetCallbacks>(dlsym(LibraryHandle, "QTWAIN_SetCallbacks")))
        set(ChooseCallback, DeliverCallback, this);
}

void* TScanImage::Entry(const char* name) const {
    return LibraryHandle ? dlsym(LibraryHandle, name) : nullptr;
}

void TScanImage::SelectImageSource() {
    if (!LibraryHandle) LoadLibrary();
    if (!LibraryHandle) {
        Dialogs().MessageBox(owner_, "Error", "Missing " + LibraryFile, TMsgIcon::Error,
                             TMsgButtons::Ok);
        SourceSelected = false;
    }
    using TSelect = int (*)(long);
    if (auto select = reinterpret_cast<TSelect>(Entry("TWAIN_SelectImageSource"))) {
        select(0);
        SourceSelected = true;
    } else {
        Dialogs().MessageBox(owner_, "Error", "No Twain driver loaded", TMsgIcon::Error,
                             TMsgButtons::Ok);
        SourceSelected = false;
    }
}

void TScanImage::AcquireImage() {
    using TLoad = int (*)();
    using TAcquire = int (*)(long, long);
    using TUnload = void (*)();
    auto load = reinterpret_cast<TLoad>(Entry("TWAIN_LoadSourceManager"));
    if (!load || load() < 1) return;
    Clipboard().Clear();
    auto acquire = reinterpret_cast<TAcquire>(Entry("TWAIN_AcquireToClipboard"));
    if (acquire && acquire(0, 0) > 0 && ScanedImage) {
        Bitmap picture;
        if (Clipboard().GetBitmap(picture))
            ScanedImage->setPixmap(QPixmap::fromImage(ToQImage(picture)));
        Clipboard().Clear();
    }
    if (auto unload = reinterpret_cast<TUnload>(Entry("TWAIN_UnloadSourceManager"))) unload();
}

bool TScanImage::ReceivePicture(int width, int height, const unsigned char* rgb) {
    if (!rgb || width <= 0 || height <= 0) return false;
    CheckPictureSize(width, height);
    Bitmap picture(width, height, PixelFormat::Bgrx32);
    for (int y = 0; y < height; ++y) {
        const unsigned char* src = rgb + std::size_t(y) * std::size_t(width) * 3;
        std::uint8_t* dst = picture.ScanLine(y);
        for (int x = 0; x < width; ++x, src += 3, dst += 4) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            dst[3] = 0;
        }
    }
    Clipboard().SetBitmap(picture);
    return true;
}

int TScanImage::ChooseSource(const std::vector<std::string>& labels) {
    QDialog dialog(owner_);
    dialog.setObjectName("frmSelectSource");
    dialog.setWindowTitle("Select Source");
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName("lstSources");
    for (const std::string& l : labels) list->addItem(QString::fromStdString(l));
    if (!labels.empty()) list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    if (Dialogs().RunModal(dialog) != QDialog::Accepted) return -1;
    return list->currentRow();
}

} // namespace quillon
