#include "app/DocumentController.h"

#include "app/WindowLayout.h"
#include "document/ClipboardPort.h"
#include "document/PhotoDocument.h"
#include "formats/DataPaths.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace quillon {

namespace {

const char* const kProgramName = "Quillon";
const char* const kPlainUndoCaption = "&Undo";

const char* ZoomUndoCaption(Zoom zoom) {
    switch (zoom) {
    case Zoom::Normal:
        return "&Undo Normal Size";
    case Zoom::Percent75:
        return "&Undo Zoom 75%";
    case Zoom::Percent50:
        return "&Undo Zoom 50%";
    case Zoom::Percent25:
        return "&Undo Zoom 25%";
    case Zoom::Percent10:
        break;
    }
    return "&Undo Zoom 10%";
}

// The image window's caption after the file name. The uneven spacing is
// the program's own and is kept.
const char* ZoomSuffix(Zoom zoom) {
    switch (zoom) {
    case Zoom::Normal:
        return " - 100%";
    case Zoom::Percent75:
        return " - 75%  ";
    case Zoom::Percent50:
        return " - 50%  ";
    case Zoom::Percent25:
        return " - 25% ";
    case Zoom::Percent10:
        break;
    }
    return " - 10%  ";
}

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

// Marks the controller busy for the life of one command, so that the views
// can show it; nested commands count once.
class DocumentController::BusyScope {
public:
    explicit BusyScope(DocumentController& c) : c_(c) {
        if (c_.busyDepth_++ == 0) emit c_.busyChanged(true);
    }
    ~BusyScope() {
        if (--c_.busyDepth_ == 0) emit c_.busyChanged(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    DocumentController& c_;
};

Selection Selection::Normalised() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

DocumentController::DocumentController(ClipboardPort& clipboard, QObject* parent)
    : QObject(parent), clipboard_(clipboard), undoCaption_(kPlainUndoCaption) {
    // The start folder is the current folder at start: the decoration
    // folders and the sample photo are read from it.
    std::error_code ec;
    SetStartFolder(std::filesystem::current_path(ec).string());
    folders_.openDir = StartFolder() + "/Pictures";
}

DocumentController::~DocumentController() = default;

std::optional<StyleId> DocumentController::style() const {
    return document_ ? document_->Style() : std::nullopt;
}

QString DocumentController::mainTitle() const {
    return titleFile_ ? FromStd(std::string(kProgramName) + " - " + *titleFile_)
                      : QString(kProgramName);
}

QString DocumentController::imageTitle() const {
    return FromStd(FilePart(fileName_) + ZoomSuffix(zoom_));
}

// --- Pictures -----------------------------------------------------------------------

void DocumentController::replaceDocument(std::unique_ptr<PhotoDocument> document) {
    document_ = std::move(document);
    showAfresh();
}

void DocumentController::showAfresh() {
    selection_ = {};
    selecting_ = false;
    emit documentOpened();
    emit styleChanged();
    emit selectionChanged();
    emit zoomChanged(zoom_);
    emit titlesChanged();
    emit undoAvailable(undoEnabled_, undoCaption_);
}

bool DocumentController::closeIfEmpty() {
    if (!document_ || document_->ShownPhotoWidth() != 0) return false;
    emit errorOccurred("Error", FromStd("File " + FilePart(fileName_) + " appears corrupted!"));
    closeDocument();
    return true;
}

void DocumentController::open(const std::string& fileName) {
    auto document = std::make_unique<PhotoDocument>();
    {
        BusyScope busy(*this);
        document->Open(fileName, Zoom::Normal);
    }
    zoom_ = Zoom::Normal;
    fileName_ = fileName;
    titleFile_ = fileName;
    history_.Clear();
    undoEnabled_ = false;
    replaceDocument(std::move(document));
    closeIfEmpty();
}

bool DocumentController::paste() {
    if (!clipboard_.HasPicture()) return false;
    auto document = std::make_unique<PhotoDocument>();
    if (!document->PasteFrom(clipboard_, zoom_)) return false;
    titleFile_.reset();
    replaceDocument(std::move(document));
    return true;
}

void DocumentController::openScan(std::unique_ptr<Bitmap> picture) {
    if (!picture) return;
    auto document = std::make_unique<PhotoDocument>();
    document->OpenPicture(std::move(picture), "Untitled", Zoom::Normal);
    zoom_ = Zoom::Normal;
    fileName_ = "Untitled";
    titleFile_.reset();
    replaceDocument(std::move(document));
}

bool DocumentController::saveAs(const std::string& fileName) {
    if (!document_) return false;
    {
        BusyScope busy(*this);
        if (!document_->Save(fileName)) return false;
    }
    fileName_ = fileName;
    titleFile_ = fileName;
    emit titlesChanged();
    return true;
}

void DocumentController::copy() {
    if (!document_) return;
    BusyScope busy(*this);
    document_->CopyTo(clipboard_);
}

void DocumentController::closeDocument() {
    if (!document_) return;
    document_.reset();
    selection_ = {};
    selecting_ = false;
    titleFile_.reset();
    // The history stays for a pasted picture, but Undo waits for the next
    // change.
    undoEnabled_ = false;
    emit documentClosed();
    emit styleChanged();
    emit selectionChanged();
    emit titlesChanged();
    emit undoAvailable(undoEnabled_, undoCaption_);
}

// --- Undo ---------------------------------------------------------------------------

void DocumentController::setUndoState(bool enabled, const QString& caption) {
    undoEnabled_ = enabled;
    undoCaption_ = caption;
    emit undoAvailable(undoEnabled_, undoCaption_);
}

void DocumentController::pushUndo(const char* caption) {
    UndoEntry& entry = history_.Push(document_->Photo(), zoom_, caption);
    const QSize window = windowSize_ ? windowSize_() : QSize();
    entry.windowWidth = window.width();
    entry.windowHeight = window.height();
    setUndoState(true, caption);
}

void DocumentController::undo() {
    if (!document_ || !undoEnabled_ || history_.Empty()) return;
    {
        BusyScope busy(*this);
        const UndoEntry& entry = history_.Newest();
        if (entry.windowWidth > 0 && entry.windowHeight > 0)
            emit windowSizeRestored(entry.windowWidth, entry.windowHeight);
        zoom_ = entry.zoom;
        document_->RestorePhoto(entry.picture, entry.zoom);
        history_.Pop();
    }
    selection_ = {};
    selecting_ = false;
    emit styleChanged();
    emit selectionChanged();
    emit zoomChanged(zoom_);
    emit titlesChanged();
    emit pictureChanged();
    if (history_.Empty())
        setUndoState(false, kPlainUndoCaption);
    else
        setUndoState(true, FromStd(history_.Newest().caption));
}

// --- Frames -------------------------------------------------------------------------

void DocumentController::chooseStyle(StyleId id) {
    if (!document_) return;
    const bool starting = !framing();
    {
        BusyScope busy(*this);
        // A style whose defaults cannot be read throws here, before
        // anything has changed.
        document_->SelectStyle(id);
    }
    if (document_->Style() != id) return;
    // One entry for the whole framing: Undo gives back the photo without
    // any frame, whatever styles were tried.
    if (starting) pushUndo("&Undo Frame");
    // The rubber band belongs to the photo, which the frame now hides.
    selection_ = {};
    selecting_ = false;
    emit selectionChanged();
    emit styleChanged();
    emit frameChanged();
    emit pictureChanged();
    emit pictureResized();
}

void DocumentController::applyFrame() {
    if (!document_) return;
    {
        BusyScope busy(*this);
        document_->ApplyFrame(zoom_);
    }
    titleFile_.reset();
    showAfresh();
}

void DocumentController::repaintFrame() {
    BusyScope busy(*this);
    document_->DrawPictureCentred();
    document_->DrawFrame();
}

void DocumentController::editFrame(const FrameEdit& edit) {
    if (!framing()) return;
    if (edit.frameHeight) document_->SetFrameHeight(*edit.frameHeight);
    if (edit.frameWidth) document_->SetFrameWidth(*edit.frameWidth);
    if (edit.borderWidth) document_->SetBorderWidth(*edit.borderWidth);
    repaintFrame();
    emit frameChanged();
    emit pictureChanged();
    if (edit.frameHeight || edit.frameWidth) emit pictureResized();
}

void DocumentController::setScaled(bool scaled) {
    if (!framing()) return;
    document_->SetScaled(scaled);
    repaintFrame();
    emit frameChanged();
    emit pictureChanged();
    emit pictureResized();
}

void DocumentController::setFrameColor(Color color) {
    if (!framing()) return;
    document_->SetPattern("");
    document_->SetFrameColor(color);
    repaintFrame();
    emit frameChanged();
    emit pictureChanged();
}

void DocumentController::setBorderColor(Color color) {
    if (!framing()) return;
    document_->SetBorderColor(color);
    repaintFrame();
    emit frameChanged();
    emit pictureChanged();
}

void DocumentController::chooseDecoration(const std::string& fileName) {
    if (!framing()) return;
    {
        BusyScope busy(*this);
        document_->ChooseDecoration(fileName);
    }
    emit decorationChosen();
    emit frameChanged();
    emit pictureChanged();
    // A moulding gives the ornate frame its thickness, and so its size.
    if (style() == StyleId::Ornate) emit pictureResized();
}

// --- The Edit, Image and View menus ---------------------------------------------------

void DocumentController::setZoom(Zoom zoom) {
    if (!document_) {
        zoom_ = zoom;
        emit zoomChanged(zoom_);
        return;
    }
    clearSelection();
    if (framing()) {
        zoom_ = zoom;
        {
            BusyScope busy(*this);
            document_->SetZoom(zoom);
        }
        emit zoomChanged(zoom_);
        emit titlesChanged();
        emit pictureChanged();
        emit pictureResized();
        return;
    }
    pushUndo(ZoomUndoCaption(zoom));
    zoom_ = zoom;
    {
        BusyScope busy(*this);
        document_->Reopen(zoom);
    }
    titleFile_ = fileName_;
    showAfresh();
    closeIfEmpty();
}

void DocumentController::crop() {
    if (!document_) return;
    setSelection(selection_.Normalised());
    const Selection s = selection_;
    if (s.right - s.left < 3 || s.bottom - s.top < 3) return;
    pushUndo("&Undo Crop");
    {
        BusyScope busy(*this);
        document_->Crop(s.left, s.top, s.right, s.bottom);
        document_->Reopen(zoom_);
    }
    titleFile_.reset();
    showAfresh();
}

void DocumentController::resize(int width, int height) {
    if (!document_ || width <= 0 || height <= 0) return;
    // Refused before the undo entry, so a size over the limit leaves the
    // history as it was.
    CheckPictureSize(width, height);
    const bool framed = framing();
    if (!framed) pushUndo("&Undo Resize");
    {
        BusyScope busy(*this);
        document_->Resize(width, height);
        // The resized picture is shown as a new document.
        if (framed)
            document_->ApplyFrame(zoom_);
        else
            document_->Reopen(zoom_);
    }
    titleFile_.reset();
    showAfresh();
}

void DocumentController::imageCommand(const char* undoCaption, bool turns,
                                      void (PhotoDocument::*command)()) {
    // The Image menu works on the photo, and waits while a frame is chosen.
    if (!document_ || framing()) return;
    if (turns) clearSelection();
    pushUndo(undoCaption);
    {
        BusyScope busy(*this);
        ((*document_).*command)();
    }
    emit pictureChanged();
    if (turns) emit pictureResized();
}

void DocumentController::grayScale() {
    imageCommand("&Undo Grayscale", false, &PhotoDocument::GrayScale);
}

void DocumentController::negative() {
    imageCommand("&Undo Negative", false, &PhotoDocument::Negative);
}

void DocumentController::rotateRight() {
    imageCommand("&Undo Rotate 90 Right", true, &PhotoDocument::RotateRight);
}

void DocumentController::rotateLeft() {
    imageCommand("&Undo Rotate 90 Left", true, &PhotoDocument::RotateLeft);
}

void DocumentController::rotate180() {
    imageCommand("&Undo Rotate 180", true, &PhotoDocument::Rotate180);
}

// --- The rubber band ------------------------------------------------------------------

void DocumentController::setSelection(const Selection& selection) {
    if (selection == selection_) return;
    selection_ = selection;
    emit selectionChanged();
}

void DocumentController::beginSelection(int x, int y) {
    if (!document_ || framing()) return;
    selecting_ = true;
    setSelection({x, y, x, y});
}

void DocumentController::extendSelection(int x, int y) {
    if (!selecting_) return;
    setSelection({selection_.left, selection_.top, x, y});
}

void DocumentController::endSelection(int x, int y) {
    extendSelection(x, y);
    selecting_ = false;
}

void DocumentController::clearSelection() {
    selecting_ = false;
    setSelection({});
}

// --- Settings ---------------------------------------------------------------------------

void DocumentController::applyStartupSettings() {
    ApplyStartupSettings(folders_);
}

void DocumentController::setFolder(FolderSetting setting, const std::string& folder) {
    FolderOf(folders_, setting) = folder;
}

} // namespace quillon
