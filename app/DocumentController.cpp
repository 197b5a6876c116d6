#include "app/DocumentController.h"

#include "app/SettingsStore.h"
#include "app/ViewZoom.h"
#include "app/WindowLayout.h"
#include "document/ClipboardPort.h"
#include "document/PhotoDocument.h"
#include "document/RecipeFile.h"
#include "formats/DataPaths.h"
#include "formats/DominantColors.h"
#include "formats/Formats.h"
#include "frames/FrameStyle.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <utility>

namespace quillon {

namespace {

const char* const kProgramName = "Quillon";
const char* const kPlainUndoCaption = "&Undo";

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
    // A picture pasted before any file was opened has no name of its own.
    const std::string name = fileName_.empty() ? std::string("Untitled") : FilePart(fileName_);
    return FromStd(name + ZoomCaptionSuffix(zoom_));
}

// --- Pictures -----------------------------------------------------------------------

void DocumentController::replaceDocument(std::unique_ptr<PhotoDocument> document) {
    document_ = std::move(document);
    startRecord();
    showAfresh();
}

void DocumentController::setModified(bool modified) {
    if (modified == modified_) return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}

void DocumentController::startRecord() {
    const bool photo = document_ && document_->HasPhoto();
    record_.Start(photo ? document_->Photo().Width() : 0, photo ? document_->Photo().Height() : 0);
}

void DocumentController::recordCommand(const ImageCommand& command) {
    record_.AddCommand(command, document_->Photo().Width(), document_->Photo().Height());
}

void DocumentController::showAfresh() {
    selection_ = {};
    selecting_ = false;
    refit();
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
        LoadOptions options;
        options.autoOrient = SettingsStore().AutoOrient();
        document->Open(fileName, Zoom::Normal, options);
    }
    fitting_ = true;
    fileName_ = fileName;
    titleFile_ = fileName;
    sourceFile_ = fileName;
    sourceWritten_ = false;
    styleSettings_ = {};
    history_.Clear();
    recordHistory_.clear();
    undoEnabled_ = false;
    clearRedo();
    setModified(false);
    replaceDocument(std::move(document));
    closeIfEmpty();
}

bool DocumentController::paste() {
    if (!clipboard_.HasPicture()) return false;
    auto document = std::make_unique<PhotoDocument>();
    if (!document->PasteFrom(clipboard_, Zoom::Normal)) return false;
    titleFile_.reset();
    sourceFile_.reset();
    fitting_ = true;
    // The history stays, but Undo waits for a change of the pasted picture:
    // until then there is nothing of it to undo.
    undoEnabled_ = false;
    styleSettings_ = {};
    clearRedo();
    setModified(true);
    replaceDocument(std::move(document));
    return true;
}

void DocumentController::openScan(std::unique_ptr<Bitmap> picture) {
    if (!picture) return;
    auto document = std::make_unique<PhotoDocument>();
    document->OpenPicture(std::move(picture), "Untitled", Zoom::Normal);
    fitting_ = true;
    fileName_ = "Untitled";
    // As after a paste: nothing of the scanned picture to undo yet.
    undoEnabled_ = false;
    titleFile_.reset();
    sourceFile_.reset();
    styleSettings_ = {};
    clearRedo();
    setModified(true);
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
    sourceFile_ = fileName;
    sourceWritten_ = true;
    setModified(false);
    emit titlesChanged();
    return true;
}

std::optional<std::string> DocumentController::saveTarget() const {
    if (!document_ || !sourceFile_ || !SaveFormatForName(*sourceFile_)) return std::nullopt;
    return sourceFile_;
}

bool DocumentController::saveReplacesOriginal() const {
    return saveTarget().has_value() && !sourceWritten_;
}

void DocumentController::copy() {
    if (!document_) return;
    BusyScope busy(*this);
    document_->CopyTo(clipboard_);
}

void DocumentController::closeDocument() {
    if (!document_) return;
    document_.reset();
    styleSettings_ = {};
    selection_ = {};
    selecting_ = false;
    titleFile_.reset();
    clearRedo();
    setModified(false);
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

void DocumentController::clearRedo() {
    if (redoStack_.empty()) return;
    redoStack_.clear();
    emit redoAvailable(false);
}

void DocumentController::pushUndo(const char* caption) {
    clearRedo();
    pushUndoEntry(caption);
}

void DocumentController::pushUndoEntry(const std::string& caption) {
    UndoEntry& entry = history_.Push(document_->Photo(), caption);
    const QSize window = windowSize_ ? windowSize_() : QSize();
    entry.windowWidth = window.width();
    entry.windowHeight = window.height();
    recordHistory_.push_back(record_);
    if (recordHistory_.size() > std::size_t(UndoHistory::kCapacity)) recordHistory_.pop_front();
    setUndoState(true, FromStd(caption));
}

void DocumentController::undo() {
    if (!document_ || !undoEnabled_ || history_.Empty()) return;
    rememberStyles();
    {
        BusyScope busy(*this);
        const UndoEntry& entry = history_.Newest();
        // The undone document is kept whole for Redo; the earlier photo
        // comes back in a document of its own.
        auto restored = std::make_unique<PhotoDocument>();
        restored->OpenPicture(entry.picture.Unpack(), document_->FileName(), Zoom::Normal);
        restored->TakeMetadataOf(*document_);
        RedoEntry undone{std::move(document_), record_, entry.caption,
                         windowSize_ ? windowSize_() : QSize()};
        document_ = std::move(restored);
        redoStack_.push_back(std::move(undone));
        if (entry.windowWidth > 0 && entry.windowHeight > 0)
            emit windowSizeRestored(entry.windowWidth, entry.windowHeight);
        history_.Pop();
        setModified(true);
        if (!recordHistory_.empty()) {
            record_ = recordHistory_.back();
            recordHistory_.pop_back();
        }
    }
    selection_ = {};
    selecting_ = false;
    // The zoom stays as it was; a fitted view fits the picture undo gave back.
    refit();
    emit styleChanged();
    emit selectionChanged();
    emit titlesChanged();
    emit pictureChanged();
    if (history_.Empty())
        setUndoState(false, kPlainUndoCaption);
    else
        setUndoState(true, FromStd(history_.Newest().caption));
    emit redoAvailable(true);
}

void DocumentController::redo() {
    if (!canRedo()) return;
    RedoEntry entry = std::move(redoStack_.back());
    redoStack_.pop_back();
    // The photo Redo leaves becomes the undo entry again, under the caption
    // it had.
    pushUndoEntry(entry.caption);
    document_ = std::move(entry.document);
    record_ = std::move(entry.record);
    if (entry.windowSize.width() > 0 && entry.windowSize.height() > 0)
        emit windowSizeRestored(entry.windowSize.width(), entry.windowSize.height());
    setModified(true);
    selection_ = {};
    selecting_ = false;
    emit styleChanged();
    emit frameChanged();
    emit selectionChanged();
    refit();
    emit titlesChanged();
    emit pictureChanged();
    resized();
    emit redoAvailable(canRedo());
}

// --- Frames -------------------------------------------------------------------------

void DocumentController::chooseStyle(StyleId id) {
    if (!document_) return;
    const bool starting = !framing();
    const bool fresh = document_->Frame(id) == nullptr;
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
    setModified(true);
    record_.ChooseStyle(id, Zoom::Normal);
    if (fresh) restoreStyle(id);
    // The rubber band belongs to the photo, which the frame now hides.
    selection_ = {};
    selecting_ = false;
    emit selectionChanged();
    emit styleChanged();
    emit frameChanged();
    emit pictureChanged();
    resized();
}

void DocumentController::applyFrame() {
    if (!document_) return;
    rememberStyles();
    if (framing()) record_.ApplyFrame(*document_);
    {
        BusyScope busy(*this);
        document_->ApplyFrame(Zoom::Normal);
    }
    titleFile_.reset();
    clearRedo();
    setModified(true);
    showAfresh();
}

void DocumentController::rememberStyles() {
    if (!document_) return;
    for (int i = 0; i < kStyleCount; ++i) {
        const FrameStyle* frame = document_->Frame(StyleId(i));
        if (!frame) continue;
        styleSettings_[std::size_t(i)] = StyleSettings{
            frame->FrameHeight, frame->FrameWidth,  frame->BorderWidthField(), frame->FrameColor,
            frame->BorderColor, frame->PatternName, frame->StretchPicture};
    }
}

void DocumentController::restoreStyle(StyleId id) {
    const std::optional<StyleSettings>& kept = styleSettings_[std::size_t(id)];
    if (!kept) return;
    PhotoDocument& d = *document_;
    BusyScope busy(*this);
    // The decoration first: a moulding sets the ornate frame's thickness
    // and size, which the numbers then match.
    if (kept->pattern != d.CurrentFrame()->PatternName) {
        try {
            if (kept->pattern.empty())
                d.SetPattern("");
            else
                d.ChooseDecoration(kept->pattern);
        } catch (const std::exception&) {
            // A decoration that can no longer be read leaves the style's
            // own; the rest of its settings still come back.
        }
    }
    // Only what differs is set: a moulding's frame keeps the size it made.
    if (d.GetFrameColor() != kept->frameColor) d.SetFrameColor(kept->frameColor);
    if (d.GetBorderColor() != kept->borderColor) d.SetBorderColor(kept->borderColor);
    if (d.GetFrameHeight() != kept->frameHeight) d.SetFrameHeight(kept->frameHeight);
    if (d.GetFrameWidth() != kept->frameWidth) d.SetFrameWidth(kept->frameWidth);
    if (d.GetBorderWidth() != kept->borderWidth) d.SetBorderWidth(kept->borderWidth);
    if (d.GetScaled() != kept->scaled) d.SetScaled(kept->scaled);
    d.DrawPictureCentred();
    d.DrawFrame();
    // The record takes what the style came back with as given, so that a
    // recipe saved now frames the same way.
    const StyleInfo& info = StyleInfoOf(id);
    const std::pair<EditField, int> lengths[] = {{EditField::FrameHeight, d.GetFrameHeight()},
                                                 {EditField::FrameWidth, d.GetFrameWidth()},
                                                 {EditField::BorderWidth, d.GetBorderWidth()}};
    for (const auto& [field, pixels] : lengths)
        if (info.Shows(field)) record_.SetLength(field, Length{double(pixels), LengthUnit::Pixels});
    if (info.Shows(EditField::FrameColor)) record_.SetFrameColor(d.GetFrameColor());
    if (info.Shows(EditField::BorderColor)) record_.SetBorderColor(d.GetBorderColor());
    if (info.Shows(EditField::Decoration) && !d.CurrentFrame()->PatternName.empty())
        record_.SetPattern(d.CurrentFrame()->PatternName);
    if (info.Shows(EditField::CheckBox)) record_.SetScaled(d.GetScaled());
}

void DocumentController::repaintFrame() {
    // Every change of the frame's settings ends in a repaint.
    clearRedo();
    setModified(true);
    BusyScope busy(*this);
    document_->DrawPictureCentred();
    document_->DrawFrame();
}

void DocumentController::editFrame(const FrameEdit& edit) {
    LengthEdit given;
    const auto pixels = [](const std::optional<int>& v) -> std::optional<Length> {
        if (!v) return std::nullopt;
        return Length{double(*v), LengthUnit::Pixels};
    };
    given.frameHeight = pixels(edit.frameHeight);
    given.frameWidth = pixels(edit.frameWidth);
    given.borderWidth = pixels(edit.borderWidth);
    applyFrameEdit(edit, given);
}

void DocumentController::applyFrameEdit(const FrameEdit& edit, const LengthEdit& given) {
    if (!framing()) return;
    // A value the document takes is recorded with the unit it was given in;
    // one it refuses (out of range) leaves the record as it was.
    const auto set = [this](const std::optional<int>& v, const std::optional<Length>& length,
                            EditField field, void (PhotoDocument::*setter)(int),
                            int (PhotoDocument::*getter)() const) {
        if (!v) return;
        ((*document_).*setter)(*v);
        if (length && ((*document_).*getter)() == *v) record_.SetLength(field, *length);
    };
    set(edit.frameHeight, given.frameHeight, EditField::FrameHeight, &PhotoDocument::SetFrameHeight,
        &PhotoDocument::GetFrameHeight);
    set(edit.frameWidth, given.frameWidth, EditField::FrameWidth, &PhotoDocument::SetFrameWidth,
        &PhotoDocument::GetFrameWidth);
    set(edit.borderWidth, given.borderWidth, EditField::BorderWidth, &PhotoDocument::SetBorderWidth,
        &PhotoDocument::GetBorderWidth);
    repaintFrame();
    emit frameChanged();
    emit pictureChanged();
    if (edit.frameHeight || edit.frameWidth) resized();
}

void DocumentController::setScaled(bool scaled) {
    if (!framing()) return;
    document_->SetScaled(scaled);
    record_.SetScaled(scaled);
    repaintFrame();
    emit frameChanged();
    emit pictureChanged();
    resized();
}

void DocumentController::setFrameColor(Color color) {
    if (!framing()) return;
    document_->SetPattern("");
    document_->SetFrameColor(color);
    record_.SetFrameColor(color);
    repaintFrame();
    emit frameChanged();
    emit pictureChanged();
}

void DocumentController::setBorderColor(Color color) {
    if (!framing()) return;
    document_->SetBorderColor(color);
    record_.SetBorderColor(color);
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
    record_.SetPattern(fileName);
    clearRedo();
    setModified(true);
    emit decorationChosen();
    emit frameChanged();
    emit pictureChanged();
    // A moulding gives the ornate frame its thickness, and so its size.
    if (style() == StyleId::Ornate) resized();
}

// --- The Edit, Image and View menus ---------------------------------------------------

void DocumentController::setViewRoom(int width, int height) {
    room_ = QSize(std::max(width, 0), std::max(height, 0));
    refit();
}

void DocumentController::refit() {
    if (!fitting_) return;
    const double scale = document_ ? FitScale(document_->PreviewWidth(), document_->PreviewHeight(),
                                              room_.width(), room_.height())
                                   : 1.0;
    if (scale == zoom_) return;
    zoom_ = scale;
    emit zoomChanged(zoom_);
    emit titlesChanged();
}

void DocumentController::resized() {
    refit();
    emit pictureResized();
}

void DocumentController::zoomToFit() {
    fitting_ = true;
    refit();
    // Fit was chosen even when the scale stays: the menu's check follows.
    emit zoomChanged(zoom_);
}

void DocumentController::setZoom(double scale) {
    // Zoom changes only how the picture is shown: no undo entry, and the
    // document, its frames and the selection stay as they are.
    if (!(scale > 0)) return;
    fitting_ = false;
    zoom_ = std::min(scale, kMaxZoomStep);
    emit zoomChanged(zoom_);
    emit titlesChanged();
}

void DocumentController::zoomIn() {
    setZoom(ZoomInStep(zoom_));
}

void DocumentController::zoomOut() {
    setZoom(ZoomOutStep(zoom_));
}

QSize DocumentController::shownSize() const {
    if (!document_) return {};
    return {ShownLength(document_->PreviewWidth(), zoom_),
            ShownLength(document_->PreviewHeight(), zoom_)};
}

void DocumentController::crop() {
    if (!document_) return;
    setSelection(selection_.Normalised());
    const Selection s = selection_;
    if (s.right - s.left < 3 || s.bottom - s.top < 3) return;
    const std::optional<Rect> kept = document_->CropInPhoto(s.left, s.top, s.right, s.bottom);
    pushUndo("&Undo Crop");
    {
        BusyScope busy(*this);
        document_->Crop(s.left, s.top, s.right, s.bottom);
        document_->Reopen(Zoom::Normal);
    }
    if (kept) recordCommand({ImageCommand::Crop, kept->Left, kept->Top, kept->Right, kept->Bottom});
    titleFile_.reset();
    setModified(true);
    showAfresh();
}

void DocumentController::resize(int width, int height) {
    if (!document_ || width <= 0 || height <= 0) return;
    // Refused before the undo entry, so a size over the limit leaves the
    // history as it was.
    CheckPictureSize(width, height);
    const bool framed = framing();
    rememberStyles();
    if (!framed) pushUndo("&Undo Resize");
    // Resizing a framed picture applies the frame first: the resized
    // picture is the photo of the next group.
    if (framed) record_.ApplyFrame(*document_);
    {
        BusyScope busy(*this);
        document_->Resize(width, height);
        // The resized picture is shown as a new document.
        if (framed)
            document_->ApplyFrame(Zoom::Normal);
        else
            document_->Reopen(Zoom::Normal);
    }
    recordCommand({ImageCommand::Resize, width, height});
    titleFile_.reset();
    clearRedo();
    setModified(true);
    showAfresh();
}

void DocumentController::imageCommand(const char* undoCaption, bool turns,
                                      void (PhotoDocument::*command)(), ImageCommand::Kind kind) {
    // The Image menu works on the photo, and waits while a frame is chosen.
    if (!document_ || framing()) return;
    if (turns) clearSelection();
    pushUndo(undoCaption);
    {
        BusyScope busy(*this);
        ((*document_).*command)();
    }
    recordCommand({kind});
    setModified(true);
    emit pictureChanged();
    if (turns) resized();
}

void DocumentController::grayScale() {
    imageCommand("&Undo Grayscale", false, &PhotoDocument::GrayScale, ImageCommand::Gray);
}

void DocumentController::negative() {
    imageCommand("&Undo Negative", false, &PhotoDocument::Negative, ImageCommand::Negative);
}

void DocumentController::rotateRight() {
    imageCommand("&Undo Rotate 90 Right", true, &PhotoDocument::RotateRight,
                 ImageCommand::RotateRight);
}

void DocumentController::rotateLeft() {
    imageCommand("&Undo Rotate 90 Left", true, &PhotoDocument::RotateLeft,
                 ImageCommand::RotateLeft);
}

void DocumentController::rotate180() {
    imageCommand("&Undo Rotate 180", true, &PhotoDocument::Rotate180, ImageCommand::Rotate180);
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

std::vector<Color> DocumentController::photoColors(int count) const {
    if (!document_ || !document_->HasPhoto()) return {};
    return DominantColors(document_->Photo(), count);
}

// --- Recipes ----------------------------------------------------------------------------

Recipe DocumentController::recipe() const {
    return record_.ToRecipe(document_.get(), units_);
}

void DocumentController::saveRecipe(const std::string& fileName) const {
    SaveRecipe(recipe(), fileName);
}

void DocumentController::applyRecipe(Recipe r) {
    if (!document_ || !document_->HasPhoto()) return;
    CheckRecipe(r);
    ResolveRecipePatterns(r);
    // The recipe runs on a copy of the photo, so that a setting the photo
    // cannot take leaves the document as it was.
    auto framed = std::make_unique<PhotoDocument>();
    {
        BusyScope busy(*this);
        auto photo = std::make_unique<Bitmap>();
        photo->Assign(document_->Photo());
        framed->OpenPicture(std::move(photo), document_->FileName(), Zoom::Normal);
        framed->TakeMetadataOf(*document_);
        ApplyRecipe(*framed, r);
    }
    const int w = document_->Photo().Width(), h = document_->Photo().Height();
    rememberStyles();
    pushUndo("&Undo Recipe");
    document_ = std::move(framed);
    record_.Adopt(r, w, h);
    setModified(true);
    // The bar measures in the recipe's units and print size.
    if (r.printSize) units_.printSize = *r.printSize;
    if (r.printSize || r.dpi) units_.dpi = r.dpi;
    for (EditField field : {EditField::FrameHeight, EditField::FrameWidth, EditField::BorderWidth})
        if (const auto given = record_.GivenLength(field);
            given && (field != EditField::BorderWidth || !style() ||
                      StyleInfoOf(*style()).thirdFieldIsLength))
            // The bar offers millimetres for centimetres; the record keeps
            // the recipe's own unit.
            units_.units[std::size_t(field)] =
                given->unit == LengthUnit::Centimetres ? LengthUnit::Millimetres : given->unit;
    emit unitsChanged();
    showAfresh();
    emit frameChanged();
    resized();
}

// --- Settings ---------------------------------------------------------------------------

void DocumentController::applyStartupSettings() {
    ApplyStartupSettings(folders_);
}

void DocumentController::setFolder(FolderSetting setting, const std::string& folder) {
    FolderOf(folders_, setting) = folder;
}

} // namespace quillon
