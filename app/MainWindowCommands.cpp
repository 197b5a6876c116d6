// The main window's commands that ask the person first (file names, sizes,
// whether to save changes) and its decoration picker.
#include "app/MainWindow.h"

#include "app/BusyCursor.h"
#include "app/DialogMemory.h"
#include "app/DocumentController.h"
#include "app/FrameEditBar.h"
#include "app/SettingsStore.h"
#include "app/SystemClipboard.h"
#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/DecorationPicker.h"
#include "app/dialogs/Dialogs.h"
#include "app/dialogs/ResizeDialog.h"
#include "app/dialogs/SettingsDialog.h"
#include "app/print/PrintPreviewDialog.h"
#include "app/scan/Scanner.h"
#include "document/PhotoDocument.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"

#include <QAction>

#include <exception>
#include <filesystem>

namespace quillon {

namespace {

bool FileExists(const std::string& name) {
    std::error_code ec;
    return std::filesystem::exists(name, ec);
}

const char* const kOpenFailed = "Could not open photo";
const char* const kSaveFailed = "Could not save photo";

// The text of a failed open or save: the reason, with the file named in
// front unless the reason names it already.
std::string FailureText(const std::string& fileName, const std::string& reason) {
    if (reason.find(FilePart(fileName)) != std::string::npos) return reason;
    return fileName + ": " + reason;
}

} // namespace

// --- Commands that ask first ----------------------------------------------------------------

void MainWindow::openPicture() {
    FileRequest request;
    request.title = "Open";
    request.initialDir = OpenDialogFolder(controller_->folders());
    request.fileName = "*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.tga;*.pcx;*.tif;*.png;*.dib;*.rle;*.pdd;"
                       "*.psd;*.pbm;*.cel;*.pic;*.cut";
    request.filters = OpenDialogFilters();
    const auto chosen = Dialogs::current().openPicture(this, request);
    if (!chosen) return;
    openFile(*chosen);
}

void MainWindow::openFile(const std::string& fileName) {
    if (!confirmDiscard()) return;
    try {
        controller_->open(fileName);
    } catch (const std::exception& e) {
        ShowError(this, kOpenFailed, FailureText(fileName, e.what()));
        return;
    }
    if (!controller_->hasDocument()) return;
    rememberRecentFile(fileName);
    RememberOpenedFile(fileName);
}

void MainWindow::pastePicture() {
    // An empty clipboard changes nothing, so there is nothing to ask.
    if (!controller_->clipboard().HasPicture()) return;
    if (!confirmDiscard()) return;
    controller_->paste();
}

bool MainWindow::confirmDiscard() {
    if (!controller_->hasDocument() || !controller_->modified()) return true;
    const std::string name =
        controller_->fileName().empty() ? "Untitled" : FilePart(controller_->fileName());
    switch (Dialogs::current().messageBox(this, kCaption, "Save changes to " + name + "?",
                                          MessageIcon::Question,
                                          MessageButtons::SaveDiscardCancel)) {
    case MessageResult::Save:
        return save();
    case MessageResult::Discard:
        return true;
    default:
        return false;
    }
}

bool MainWindow::saveAs() {
    if (!controller_->hasDocument()) return false;
    FileRequest request;
    request.title = "Save As";
    request.initialDir = SaveDialogFolder(controller_->folders());
    request.filters = SaveDialogFilters();
    request.selectedPatterns = SaveDialogPattern();
    request.defaultExtension = request.selectedPatterns;
    // The photo's own name in the format last saved in.
    if (const auto source = controller_->saveTarget())
        request.fileName =
            std::filesystem::path(*source).stem().string() + request.selectedPatterns.substr(1);
    const auto chosen = Dialogs::current().savePicture(this, request);
    if (!chosen) return false;
    const std::string& name = *chosen;
    if (FileExists(name) &&
        Dialogs::current().messageBox(
            this, "Confirm", "File " + FilePart(name) + " already exists, overwrite?",
            MessageIcon::Question, MessageButtons::YesNo) != MessageResult::Yes)
        return false;
    return writePicture(name);
}

bool MainWindow::save() {
    if (!controller_->hasDocument()) return false;
    const auto target = controller_->saveTarget();
    if (!target) return saveAs();
    if (controller_->saveReplacesOriginal() &&
        Dialogs::current().messageBox(
            this, "Save", "Replace the original photo " + FilePart(*target) + " with this picture?",
            MessageIcon::Question, MessageButtons::YesNo) != MessageResult::Yes)
        return false;
    return writePicture(*target);
}

bool MainWindow::writePicture(const std::string& name) {
    // A name that names none of the written formats writes nothing; say so
    // rather than showing the name as saved.
    bool saved = false;
    try {
        saved = controller_->saveAs(name);
    } catch (const std::exception& e) {
        ShowError(this, kSaveFailed, FailureText(name, e.what()));
        return false;
    }
    if (!saved) {
        ShowError(this, kSaveFailed,
                  "File " + FilePart(name) +
                      " was not saved: the name must end in .bmp, .jpg, .gif, .png or .webp.");
        return false;
    }
    RememberSavedFile(name);
    return true;
}

void MainWindow::resizePicture() {
    const PhotoDocument* document = controller_->document();
    if (!document || !document->HasPhoto()) return;
    if (!resizeDialog_) {
        resizeDialog_ = new ResizeDialog(this);
        resizeDialog_->showError = [this](const std::string& message) { ShowError(this, message); };
    }
    resizeDialog_->prepare(controller_->photo().Width(), controller_->photo().Height());
    if (Dialogs::current().runModal(*resizeDialog_) != QDialog::Accepted) return;
    // A size that is not a whole number, or is 0 or below, is refused here,
    // before anything changes.
    const auto [w, h] = resizeDialog_->requestedSize();
    controller_->resize(w, h);
}

void MainWindow::print() {
    const PhotoDocument* document = controller_->document();
    if (!document) return;
    if (!printDialog_) {
        printDialog_ = new PrintPreviewDialog(CurrentPrinter(), this);
        printDialog_->showError = [this](const std::string& message) { ShowError(this, message); };
    }
    // With a frame style chosen the framed picture is printed, and its own
    // size (frame band included) is the size that 100 % prints.
    const Bitmap* picture = controller_->picture();
    if (!picture || picture->Empty()) return;
    printDialog_->preparePreview(*picture, picture->Width(), picture->Height());
    Dialogs::current().runModal(*printDialog_);
    // A photo size printed becomes the size the edit bar's print lengths
    // refer to.
    if (const auto box = printDialog_->printedPhotoBox())
        controller_->setPrintSize({box->Width, box->Height, LengthUnit::Inches});
}

void MainWindow::selectScanSource() {
    scanner_->selectSource();
    scanAction->setEnabled(scanner_->sourceSelected());
}

void MainWindow::scan() {
    if (!confirmDiscard()) return;
    std::unique_ptr<Bitmap> picture;
    {
        BusyCursor busy;
        picture = scanner_->acquire();
    }
    controller_->openScan(std::move(picture));
}

void MainWindow::printerSetup() {
    Dialogs::current().printerSetup(this);
}

void MainWindow::showSettings() {
    centreAndShowModal(*settings_);
}

void MainWindow::showAbout() {
    centreAndShowModal(*about_);
}

void MainWindow::showHelp() {
    Dialogs::current().showHelp(this, StartFolder() + "/help/index.html");
}

// --- The decoration picker ----------------------------------------------------------------

void MainWindow::toggleDecorationPicker() {
    PickerAnchor anchor;
    anchor.mainLeft = x();
    anchor.mainTop = y();
    anchor.mainWidth = width();
    anchor.editTop = editBar_->mapTo(this, QPoint(0, 0)).y();
    anchor.editHeight = editBar_->height();
    anchor.panelLeft = editBar_->decorationPanel->x();
    anchor.borderY = metrics_.borderY;
    picker_->toggle(anchor);
}

void MainWindow::closeDecorationPicker() {
    if (picker_) picker_->hide();
}

} // namespace quillon
