#include "app/DocumentController.h"

#include "app/SettingsStore.h"
#include "app/ViewZoom.h"
#include "app/WindowLayout.h"
#include "document/ClipboardPort.h"
#include "document/PackedPicture.h"
#include "document/PhotoDocument.h"
#include "document/RecipeFile.h"
#include "formats/DataPaths.h"
#include "formats/DominantColors.h"
#include "formats/Formats.h"
#include "frames/FrameStyle.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <random>
#include <utility>

namespace quillon {

namespace {

const char* const kProgramName = "Quillon";

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

Selection Selection::Normalised() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

DocumentController::DocumentController(ClipboardPort& clipboard, QObject* parent)
    : QObject(parent), clipboard_(clipboard), undoCaption_(kPlainUndoCaption) {
    settleTimer_.setSingleShot(true);
    settleTimer_.setInterval(kSettleMilliseconds);
    connect(&settleTimer_, &QTimer::timeout, this, &DocumentController::settle);
    // The start folder is the current folder at start: the decoration
    // folders and the sample photo are read from it.
    std::error_code ec;
    SetStartFolder(std::filesystem::current_path(ec).string());
    folders_.openDir = StartFolder() + "/Pictures";
}

DocumentController::~DocumentController() = default;

const Bitmap* DocumentController::drawnPicture() const {
    if (!document_) return nullptr;
    return editing_ ? stackPicture_ : document_->Result();
}

const Bitmap* DocumentController::picture() const {
    // What is shown, saved or printed is the real frame: a pending one is
    // drawn now.
    if (renderPending_) const_cast<DocumentController*>(this)->settle();
    return drawnPicture();
}

QSize DocumentController::pictureSize() const {
    const Bitmap* shown = drawnPicture();
    return shown ? QSize(shown->Width(), shown->Height()) : QSize();
}

bool DocumentController::quickPreviewWanted() const {
    if (!document_ || editing_ || !framing() || zoom_ > 0.5) return false;
    const Bitmap& photo = document_->Photo();
    return double(photo.Width()) * photo.Height() >= kQuickPreviewPixels;
}

void DocumentController::settle() {
    if (!renderPending_) return;
    renderPending_ = false;
    settleTimer_.stop();
    {
        BusyScope busy(*this);
        document_->DrawPictureCentred();
        document_->DrawFrame();
    }
    emit pictureChanged();
}

std::uint32_t DocumentController::newSeed() {
    static std::mt19937 seeds{std::random_device{}()};
    return std::uint32_t(seeds());
}

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

void DocumentController::dropPending() {
    renderPending_ = false;
    settleTimer_.stop();
    quickPicture_ = nullptr;
    quick_.Reset();
}

void DocumentController::replaceDocument(std::unique_ptr<PhotoDocument> document) {
    dropPending();
    document_ = std::move(document);
    startStack();
    startRecord();
    showAfresh();
    emit stackChanged();
}

void DocumentController::setModified(bool modified) {
    if (modified == modified_) return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}

void DocumentController::startRecord() {
    const bool photo = document_ && stack_.HasPhoto();
    record_.Start(photo ? stack_.Photo().Width() : 0, photo ? stack_.Photo().Height() : 0);
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
        const Bitmap* shown = picture();
        if (!shown || !SavePictureFile(*shown, fileName, document_->Metadata())) return false;
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
    // The clipboard keeps its own copy at full size, whatever the zoom.
    if (const Bitmap* shown = picture()) clipboard_.SetPicture(*shown);
}

void DocumentController::closeDocument() {
    if (!document_) return;
    dropPending();
    document_.reset();
    editing_.reset();
    stack_.Restore({});
    stackPicture_ = nullptr;
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
    emit stackChanged();
}

// --- Frames -------------------------------------------------------------------------

void DocumentController::chooseStyle(StyleId id) {
    if (!document_) return;
    settle();
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
    if (starting && !editing_) pushUndo("&Undo Frame");
    setModified(true);
    record_.ChooseStyle(id, Zoom::Normal);
    if (fresh) restoreStyle(id);
    // An edited group takes the style chosen for it.
    syncEditedGroup();
    frameShown();
}

void DocumentController::applyFrame() {
    if (!document_) return;
    settle();
    // While a group is edited it is in the stack already: applying ends the
    // edit.
    if (editing_) return editTop();
    if (!framing()) return;
    commitTopFrame();
    titleFile_.reset();
    clearRedo();
    setModified(true);
    showAfresh();
    emit stackChanged();
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
    if (quickPreviewWanted()) {
        quickPicture_ = quick_.Render(*document_, std::max(2, int(1 / zoom_)));
        if (quickPicture_) {
            renderPending_ = true;
            settleTimer_.start();
            return;
        }
    }
    renderPending_ = false;
    {
        BusyScope busy(*this);
        document_->DrawPictureCentred();
        document_->DrawFrame();
    }
    syncEditedGroup();
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
    {
        // Drawn first on a shrunk photo, the full-size frame waits for the
        // changes to pause: the resizes now need not draw the photo into it.
        struct DeferredDrawing {
            PhotoDocument* document;
            explicit DeferredDrawing(PhotoDocument* d) : document(d) {
                if (document) document->DeferOutputDrawing(true);
            }
            ~DeferredDrawing() {
                if (document) document->DeferOutputDrawing(false);
            }
        } deferred(quickPreviewWanted() ? document_.get() : nullptr);
        set(edit.frameHeight, given.frameHeight, EditField::FrameHeight,
            &PhotoDocument::SetFrameHeight, &PhotoDocument::GetFrameHeight);
        set(edit.frameWidth, given.frameWidth, EditField::FrameWidth, &PhotoDocument::SetFrameWidth,
            &PhotoDocument::GetFrameWidth);
        set(edit.borderWidth, given.borderWidth, EditField::BorderWidth,
            &PhotoDocument::SetBorderWidth, &PhotoDocument::GetBorderWidth);
    }
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
    settle();
    {
        BusyScope busy(*this);
        document_->ChooseDecoration(fileName);
    }
    record_.SetPattern(fileName);
    clearRedo();
    setModified(true);
    syncEditedGroup();
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
    const QSize shown = pictureSize();
    const double scale =
        document_ ? FitScale(shown.width(), shown.height(), room_.width(), room_.height()) : 1.0;
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
    settle();
    fitting_ = true;
    refit();
    // Fit was chosen even when the scale stays: the menu's check follows.
    emit zoomChanged(zoom_);
}

void DocumentController::setZoom(double scale) {
    // Zoom changes only how the picture is shown: no undo entry, and the
    // document, its frames and the selection stay as they are.
    if (!(scale > 0)) return;
    settle();
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
    const QSize shown = pictureSize();
    return {ShownLength(shown.width(), zoom_), ShownLength(shown.height(), zoom_)};
}

bool DocumentController::framesShown() const {
    for (const StackGroup& g : stack_.Groups())
        if (g.visible) return true;
    return false;
}

void DocumentController::photoCommand(const char* caption,
                                      const std::function<void(PhotoDocument&)>& command,
                                      const std::function<void(const PhotoDocument&)>& record) {
    leaveGroup();
    settle();
    pushUndo(caption);
    // The command runs on the photo under the frames; the frames paint
    // again on what it leaves.
    PhotoDocument work;
    try {
        BusyScope busy(*this);
        auto photo = std::make_unique<Bitmap>();
        photo->Assign(stack_.Photo());
        work.OpenPicture(std::move(photo), document_->FileName(), Zoom::Normal);
        command(work);
        auto changed = std::make_unique<Bitmap>();
        changed->Assign(work.Photo());
        setStackPhoto(std::move(changed));
        renderStack();
    } catch (...) {
        // A frame the changed photo cannot take (a length over half its
        // side) puts everything back.
        UndoState before = popUndo();
        restore(std::move(before), nullptr);
        throw;
    }
    record(work);
    rebuildTopDocument();
    titleFile_.reset();
    setModified(true);
    emit stackChanged();
}

void DocumentController::crop() {
    if (!document_ || framing() || framesShown()) return;
    setSelection(selection_.Normalised());
    const Selection s = selection_;
    if (s.right - s.left < 3 || s.bottom - s.top < 3) return;
    std::optional<Rect> kept;
    photoCommand(
        "&Undo Crop Photo",
        [&](PhotoDocument& d) {
            kept = d.CropInPhoto(s.left, s.top, s.right, s.bottom);
            d.Crop(s.left, s.top, s.right, s.bottom);
        },
        [&](const PhotoDocument& d) {
            if (kept)
                record_.AddCommand(
                    {ImageCommand::Crop, kept->Left, kept->Top, kept->Right, kept->Bottom},
                    d.Photo().Width(), d.Photo().Height());
        });
    showAfresh();
}

void DocumentController::resize(int width, int height) {
    if (!document_ || width <= 0 || height <= 0) return;
    // Refused before the undo entry, so a size over the limit leaves the
    // history as it was.
    CheckPictureSize(width, height);
    // A frame in progress goes on the stack: the photo under it is resized.
    if (commitTopFrame()) clearRedo();
    photoCommand(
        "&Undo Resize Photo", [&](PhotoDocument& d) { d.Resize(width, height); },
        [&](const PhotoDocument& d) {
            record_.AddCommand({ImageCommand::Resize, width, height}, d.Photo().Width(),
                               d.Photo().Height());
        });
    showAfresh();
}

void DocumentController::imageCommand(const char* undoCaption, bool turns,
                                      void (PhotoDocument::*command)(), ImageCommand::Kind kind) {
    // The Image menu works on the photo, and waits while a frame is chosen.
    if (!document_ || framing()) return;
    if (turns) clearSelection();
    photoCommand(
        undoCaption, [&](PhotoDocument& d) { (d.*command)(); },
        [&](const PhotoDocument& d) {
            record_.AddCommand({kind}, d.Photo().Width(), d.Photo().Height());
        });
    emit pictureChanged();
    if (turns || framesShown()) resized();
}

void DocumentController::grayScale() {
    imageCommand("&Undo Grayscale Photo", false, &PhotoDocument::GrayScale, ImageCommand::Gray);
}

void DocumentController::negative() {
    imageCommand("&Undo Negative Photo", false, &PhotoDocument::Negative, ImageCommand::Negative);
}

void DocumentController::rotateRight() {
    imageCommand("&Undo Rotate Photo 90 Right", true, &PhotoDocument::RotateRight,
                 ImageCommand::RotateRight);
}

void DocumentController::rotateLeft() {
    imageCommand("&Undo Rotate Photo 90 Left", true, &PhotoDocument::RotateLeft,
                 ImageCommand::RotateLeft);
}

void DocumentController::rotate180() {
    imageCommand("&Undo Rotate Photo 180", true, &PhotoDocument::Rotate180,
                 ImageCommand::Rotate180);
}

// --- The rubber band ------------------------------------------------------------------

void DocumentController::setSelection(const Selection& selection) {
    if (selection == selection_) return;
    selection_ = selection;
    emit selectionChanged();
}

void DocumentController::beginSelection(int x, int y) {
    // The photo is cropped where it shows without frames.
    if (!document_ || framing() || framesShown()) return;
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
    return DominantColors(stack_.Photo(), count);
}

// --- Recipes ----------------------------------------------------------------------------

Recipe DocumentController::recipe() const {
    std::vector<FrameGroup> stacked;
    std::optional<std::uint32_t> seed;
    for (const StackGroup& g : stack_.Groups()) {
        if (!g.visible) continue;
        stacked.push_back(g.group);
        if (!seed) seed = g.seed;
    }
    Recipe r = framingRecord().ToRecipe(editing_ ? nullptr : document_.get(), units_, stacked);
    // A recipe has one seed: the lowest frame's, so that its torn edges come
    // out as they show.
    if (!seed && document_ && framing() && !editing_) seed = seed_;
    if (!r.seed) r.seed = seed;
    return r;
}

void DocumentController::saveRecipe(const std::string& fileName) const {
    SaveRecipe(recipe(), fileName);
}

void DocumentController::applyRecipe(Recipe r) {
    if (!document_ || !document_->HasPhoto()) return;
    settle();
    CheckRecipe(r);
    ResolveRecipePatterns(r);
    leaveGroup();
    rememberStyles();
    if (r.storeFrame) {
        // A store frame crops and mats the photo itself: the matted picture
        // becomes the photo, under no frames. It runs on a copy, so that a
        // setting the photo cannot take leaves everything as it was.
        auto framed = std::make_unique<PhotoDocument>();
        {
            BusyScope busy(*this);
            auto photo = std::make_unique<Bitmap>();
            photo->Assign(stack_.Photo());
            framed->OpenPicture(std::move(photo), document_->FileName(), Zoom::Normal);
            framed->TakeMetadataOf(*document_);
            ApplyRecipe(*framed, r);
        }
        const int w = stack_.Photo().Width(), h = stack_.Photo().Height();
        pushUndo("&Undo Recipe");
        record_.Adopt(r, w, h);
        record_.ApplyFrame(*framed);
        setStackPhoto(ScreenCopy(*framed->Result()));
        stack_.Restore({});
        renderStack();
        rebuildTopDocument(framed.get());
    } else {
        // The recipe's groups replace the stack's, the frame in progress
        // included; the commands already run on the photo stay.
        FrameStack::State state;
        const std::uint32_t seed = r.seed.value_or(newSeed());
        for (const FrameGroup& g : r.groups) state.groups.push_back({g, seed, true});
        state.printSize = r.printSize;
        state.dpi = r.dpi;
        changeStackAsStep("&Undo Recipe", [&] { stack_.Restore(state); });
        if (framing()) record_.FinishGroup(*document_);
        rebuildTopDocument();
    }
    setModified(true);
    // The bar measures in the recipe's units and print size.
    if (r.printSize) units_.printSize = *r.printSize;
    if (r.printSize || r.dpi) units_.dpi = r.dpi;
    const FrameGroup last = GroupAsChecked(r, r.groups.size() - 1);
    for (EditField field : {EditField::FrameHeight, EditField::FrameWidth, EditField::BorderWidth})
        if (const auto& given = last.*LengthMember(field);
            given && (field != EditField::BorderWidth || !last.style ||
                      StyleInfoOf(*last.style).thirdFieldIsLength))
            // The bar offers millimetres for centimetres; the record keeps
            // the recipe's own unit.
            units_.units[std::size_t(field)] =
                given->unit == LengthUnit::Centimetres ? LengthUnit::Millimetres : given->unit;
    emit unitsChanged();
    showAfresh();
    emit frameChanged();
    emit stackChanged();
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
