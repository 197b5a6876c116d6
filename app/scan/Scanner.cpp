#include "app/scan/Scanner.h"

#include "app/dialogs/Dialogs.h"
#include "canvas/Types.h"
#include "scanning/twain/QuillonTwain.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QListWidget>
#include <QProgressDialog>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <dlfcn.h>

#include <cstdint>

namespace quillon {

namespace {

// The library's callbacks: no exception may cross back into its C code.
int ChooseCallback(void* context, const char* const* /*names*/, const char* const* labels,
                   int count) {
    try {
        std::vector<std::string> l;
        for (int i = 0; i < count; ++i) l.emplace_back(labels[i] ? labels[i] : "");
        return static_cast<Scanner*>(context)->chooseSource(l);
    } catch (...) {
        return -1;
    }
}

int DeliverCallback(void* context, int width, int height, const unsigned char* rgb) {
    try {
        return static_cast<Scanner*>(context)->receivePicture(width, height, rgb) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

void ShowScanError(QWidget* owner, const std::string& text) {
    Dialogs::current().messageBox(owner, "Error", text, MessageIcon::Error, MessageButtons::Ok);
}

} // namespace

Scanner::Scanner(QWidget* owner) : QObject(owner), owner_(owner) {
    setObjectName("scanner");
    libraryFolders = {QCoreApplication::applicationDirPath().toStdString(), ""};
}

void Scanner::loadLibrary() {
    for (const std::string& folder : libraryFolders) {
        const std::string path = folder.empty() ? libraryFile : folder + "/" + libraryFile;
        library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library_) break;
    }
    if (!library_) return;
    using SetCallbacks = void (*)(QTwainChooseSource, QTwainDeliverImage, void*);
    if (auto set = reinterpret_cast<SetCallbacks>(dlsym(library_, "QTWAIN_SetCallbacks")))
        set(ChooseCallback, DeliverCallback, this);
}

void* Scanner::entry(const char* name) const {
    return library_ ? dlsym(library_, name) : nullptr;
}

void Scanner::selectSource() {
    if (!library_) loadLibrary();
    if (!library_) {
        ShowScanError(owner_, "Missing " + libraryFile);
        sourceSelected_ = false;
    }
    if (!entry("QTWAIN_ListSources") || !entry("QTWAIN_SetSource")) {
        selectThroughLibrary();
        return;
    }
    const std::optional<SourceList> found = listSources();
    if (!found) return; // the person stopped waiting; nothing changes
    if (!found->listed) {
        ShowScanError(owner_,
                      found->error.empty() ? "The scanners could not be listed." : found->error);
        sourceSelected_ = false;
        return;
    }
    if (found->names.empty()) {
        Dialogs::current().messageBox(owner_, "Select Source", "No scanners found",
                                      MessageIcon::Information, MessageButtons::Ok);
        sourceSelected_ = false;
        return;
    }
    const int chosen = chooseSource(found->labels);
    using SetSource = void (*)(const char*);
    if (chosen >= 0 && chosen < int(found->names.size()))
        reinterpret_cast<SetSource>(entry("QTWAIN_SetSource"))(
            found->names[std::size_t(chosen)].c_str());
    // With no device chosen, a scan takes the first one.
    sourceSelected_ = true;
}

void Scanner::selectThroughLibrary() {
    using Select = int (*)(long);
    if (auto select = reinterpret_cast<Select>(entry("TWAIN_SelectImageSource"))) {
        select(0);
        sourceSelected_ = true;
    } else {
        ShowScanError(owner_, "No Twain driver loaded");
        sourceSelected_ = false;
    }
}

std::optional<Scanner::SourceList> Scanner::listSources() {
    using List = int (*)(QTwainSourceFound, void*);
    using LastError = const char* (*)();
    const auto list = reinterpret_cast<List>(entry("QTWAIN_ListSources"));
    const auto lastError = reinterpret_cast<LastError>(entry("QTWAIN_LastError"));
    // A listing still running from a wait the person gave up is awaited
    // rather than run beside a second one.
    if (!listing_.isRunning()) {
        listing_ = QtConcurrent::run([list, lastError] {
            SourceList found;
            const auto add = [](void* context, const char* name, const char* label) {
                auto* f = static_cast<SourceList*>(context);
                f->names.emplace_back(name ? name : "");
                f->labels.emplace_back(label ? label : "");
            };
            found.listed = list(add, &found) != 0;
            if (!found.listed && lastError && lastError()) found.error = lastError();
            return found;
        });
    }
    if (!listing_.isFinished()) {
        QProgressDialog busy(tr("Looking for scanners..."), tr("Cancel"), 0, 0, owner_);
        busy.setObjectName("scannerSearchProgress");
        busy.setWindowTitle(tr("Select Source"));
        busy.setWindowModality(Qt::WindowModal);
        busy.setMinimumDuration(300);
        QEventLoop wait;
        QFutureWatcher<SourceList> watcher;
        connect(&watcher, &QFutureWatcher<SourceList>::finished, &wait, &QEventLoop::quit);
        connect(&busy, &QProgressDialog::canceled, &wait, &QEventLoop::quit);
        watcher.setFuture(listing_);
        if (!listing_.isFinished()) wait.exec();
        if (!listing_.isFinished()) return std::nullopt;
    }
    return listing_.result();
}

std::unique_ptr<Bitmap> Scanner::acquire() {
    using Load = int (*)();
    using Acquire = int (*)(long, long);
    using Unload = void (*)();
    received_.reset();
    // SANE takes one caller at a time: a listing still running ends first.
    listing_.waitForFinished();
    auto load = reinterpret_cast<Load>(entry("TWAIN_LoadSourceManager"));
    if (!load || load() < 1) return nullptr;
    if (auto scan = reinterpret_cast<Acquire>(entry("TWAIN_AcquireToClipboard"))) scan(0, 0);
    if (auto unload = reinterpret_cast<Unload>(entry("TWAIN_UnloadSourceManager"))) unload();
    return std::move(received_);
}

bool Scanner::receivePicture(int width, int height, const unsigned char* rgb) {
    if (!rgb || width <= 0 || height <= 0) return false;
    CheckPictureSize(width, height);
    auto picture = std::make_unique<Bitmap>(width, height, PixelFormat::Bgrx32);
    for (int y = 0; y < height; ++y) {
        const unsigned char* src = rgb + std::size_t(y) * std::size_t(width) * 3;
        std::uint8_t* dst = picture->ScanLine(y);
        for (int x = 0; x < width; ++x, src += 3, dst += 4) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            dst[3] = 0;
        }
    }
    received_ = std::move(picture);
    return true;
}

int Scanner::chooseSource(const std::vector<std::string>& labels) {
    QDialog dialog(owner_);
    dialog.setObjectName("selectSourceDialog");
    dialog.setWindowTitle("Select Source");
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName("sourceList");
    for (const std::string& l : labels) list->addItem(QString::fromStdString(l));
    if (!labels.empty()) list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    if (Dialogs::current().runModal(dialog) != QDialog::Accepted) return -1;
    return list->currentRow();
}

} // namespace quillon
