// The document controller's frame stack (the groups applied over the photo,
// editing one of them, and the stack commands) and its undo history.
#include "app/DocumentController.h"

#include "document/PackedPicture.h"
#include "document/PhotoDocument.h"
#include "frames/FrameStyle.h"

#include <exception>
#include <utility>

namespace quillon {

// --- The stack ----------------------------------------------------------------------

void DocumentController::startStack() {
    editing_.reset();
    editStepPushed_ = false;
    stack_.Restore({});
    stackPicture_ = nullptr;
    if (!document_ || !document_->HasPhoto()) return;
    auto photo = std::make_unique<Bitmap>();
    photo->Assign(document_->Photo());
    setStackPhoto(std::move(photo));
    renderStack();
    seed_ = newSeed();
    document_->SetSeed(seed_);
}

void DocumentController::setStackPhoto(std::unique_ptr<Bitmap> photo) {
    stack_.SetPhoto(std::move(photo));
    packedPhoto_.reset();
    stackPicture_ = nullptr;
}

void DocumentController::renderStack() {
    BusyScope busy(*this);
    stackPicture_ = stack_.Result();
}

void DocumentController::syncPrintBasis() {
    if (units_.dpi)
        stack_.SetPrintBasis(std::nullopt, units_.dpi);
    else
        stack_.SetPrintBasis(units_.printSize, std::nullopt);
}

void DocumentController::rebuildTopDocument(const PhotoDocument* metadataSource) {
    dropPending();
    const PhotoDocument* source = metadataSource ? metadataSource : document_.get();
    auto document = std::make_unique<PhotoDocument>();
    {
        BusyScope busy(*this);
        document->OpenPicture(stack_.InputCopy(stack_.Count()),
                              source ? source->FileName() : fileName_, Zoom::Normal);
    }
    if (source) document->TakeMetadataOf(*source);
    document->SetSeed(seed_);
    document_ = std::move(document);
    editing_.reset();
}

bool DocumentController::commitTopFrame() {
    if (editing_ || !framing()) return false;
    rememberStyles();
    const StackGroup group{record_.FinishGroup(*document_), seed_, true};
    syncPrintBasis();
    // The document painted the frame already; the stack keeps that picture
    // where it may (the document is made afresh below).
    stack_.Append(group, document_->CurrentFrame()->Output);
    try {
        renderStack();
    } catch (...) {
        stack_.Remove(stack_.Count() - 1);
        renderStack();
        throw;
    }
    seed_ = newSeed();
    rebuildTopDocument();
    return true;
}

void DocumentController::leaveGroup() {
    if (!editing_) return;
    rememberStyles();
    record_ = topRecord_;
    editStepPushed_ = false;
    rebuildTopDocument();
}

void DocumentController::editGroup(std::size_t k) {
    if (!document_ || editing_ == k) return;
    settle();
    leaveGroup();
    commitTopFrame();
    if (k >= stack_.Count()) return;
    const StackGroup& g = stack_.Group(k);
    auto document = std::make_unique<PhotoDocument>();
    {
        BusyScope busy(*this);
        document->OpenPicture(stack_.InputCopy(k), document_->FileName(), Zoom::Normal);
        document->TakeMetadataOf(*document_);
        document->SetSeed(g.seed);
        RunGroupCommands(*document, g.group);
        FrameGroupStyle(*document, g.group, stack_.GroupScale(k, document->Photo()));
    }
    topRecord_ = record_;
    record_.EditGroup(g.group, topRecord_.BaseWidth(), topRecord_.BaseHeight());
    document_ = std::move(document);
    editing_ = k;
    editStepPushed_ = false;
    frameShown();
    emit stackChanged();
}

void DocumentController::frameShown() {
    // The rubber band belongs to the photo, which the frame now hides.
    selection_ = {};
    selecting_ = false;
    emit selectionChanged();
    emit styleChanged();
    emit frameChanged();
    emit pictureChanged();
    resized();
}

void DocumentController::editTop() {
    if (!editing_) return;
    leaveGroup();
    frameShown();
    emit stackChanged();
}

void DocumentController::syncEditedGroup() {
    if (!editing_) return;
    const std::size_t k = *editing_;
    StackGroup g = stack_.Group(k);
    g.group = record_.Group(document_.get());
    if (g == stack_.Group(k)) return;
    // The first change of a group's edit is its undo step, taken before the
    // stack changes.
    if (!editStepPushed_) {
        const StyleId id = stack_.Group(k).group.style.value_or(*style());
        pushUndo(("&Undo Edit " + std::string(StyleInfoOf(id).displayName)).c_str());
        editStepPushed_ = true;
    }
    const FrameStack::State before = stack_.Snapshot();
    syncPrintBasis();
    // The edit bar's document painted the group; a copy of its picture
    // spares the stack painting it again.
    std::unique_ptr<Bitmap> painted;
    if (const Bitmap* framed = document_->Result()) {
        painted = std::make_unique<Bitmap>();
        painted->Assign(*framed);
    }
    stack_.Edit(k, g, painted);
    try {
        renderStack();
    } catch (...) {
        stack_.Restore(before);
        renderStack();
        throw;
    }
    emit stackChanged();
}

void DocumentController::stackCommand(const char* caption, const std::function<void()>& change) {
    if (!document_) return;
    settle();
    leaveGroup();
    commitTopFrame();
    changeStackAsStep(caption, change);
    rebuildTopDocument();
    titleFile_.reset();
    setModified(true);
    emit styleChanged();
    emit pictureChanged();
    emit stackChanged();
    emit titlesChanged();
    resized();
}

void DocumentController::changeStackAsStep(const char* caption,
                                           const std::function<void()>& change) {
    const FrameStack::State before = stack_.Snapshot();
    pushUndo(caption);
    try {
        change();
        renderStack();
    } catch (...) {
        stack_.Restore(before);
        popUndo();
        renderStack();
        throw;
    }
}

void DocumentController::setGroupVisible(std::size_t k, bool visible) {
    if (k >= stack_.Count() || stack_.Group(k).visible == visible) return;
    stackCommand(visible ? "&Undo Show Frame" : "&Undo Hide Frame",
                 [&] { stack_.SetVisible(k, visible); });
}

void DocumentController::moveGroup(std::size_t from, std::size_t to) {
    if (from >= stack_.Count() || to >= stack_.Count() || from == to) return;
    stackCommand("&Undo Move Frame", [&] { stack_.Move(from, to); });
}

void DocumentController::removeGroup(std::size_t k) {
    if (k >= stack_.Count()) return;
    stackCommand("&Undo Remove Frame", [&] { stack_.Remove(k); });
}

void DocumentController::duplicateGroup(std::size_t k) {
    if (k >= stack_.Count()) return;
    stackCommand("&Undo Duplicate Frame", [&] { stack_.Duplicate(k); });
}

// --- Undo ---------------------------------------------------------------------------

void DocumentController::setUndoState(bool enabled, const QString& caption) {
    undoEnabled_ = enabled;
    undoCaption_ = caption;
    emit undoAvailable(undoEnabled_, undoCaption_);
}

void DocumentController::clearRedo() {
    if (redoStates_.empty()) return;
    redoStates_.clear();
    emit redoAvailable(false);
}

UndoState DocumentController::snapshot(const std::string& caption, bool withDocument) {
    UndoState state;
    // States that leave the photo alone share its packed copy.
    if (!packedPhoto_) {
        BusyScope busy(*this);
        packedPhoto_ = PackPhoto(stack_.Photo());
    }
    state.photo = packedPhoto_;
    state.stack = stack_.Snapshot();
    state.record = framingRecord();
    state.caption = caption;
    const QSize window = windowSize_ ? windowSize_() : QSize();
    state.windowWidth = window.width();
    state.windowHeight = window.height();
    if (withDocument) {
        state.document = std::move(document_);
        state.editing = editing_;
        if (editing_) state.editRecord = record_;
    }
    return state;
}

void DocumentController::restore(UndoState state, const PhotoDocument* metadataSource) {
    BusyScope busy(*this);
    dropPending();
    if (state.photo != packedPhoto_) {
        stack_.SetPhoto(state.photo->Unpack());
        packedPhoto_ = state.photo;
    }
    stack_.Restore(state.stack);
    renderStack();
    editStepPushed_ = false;
    if (state.document) {
        std::unique_ptr<PhotoDocument> previous = std::move(document_);
        document_ = std::move(state.document);
        if (metadataSource || previous)
            document_->TakeMetadataOf(metadataSource ? *metadataSource : *previous);
        editing_ = state.editing;
        if (editing_) {
            topRecord_ = std::move(state.record);
            record_ = std::move(state.editRecord);
            // Its edit is already an undo step.
            editStepPushed_ = true;
        } else {
            record_ = std::move(state.record);
        }
    } else {
        record_ = std::move(state.record);
        rebuildTopDocument(metadataSource);
    }
}

void DocumentController::pushUndo(const char* caption) {
    clearRedo();
    pushUndoEntry(caption);
}

void DocumentController::pushUndoEntry(const std::string& caption) {
    history_.Push(snapshot(caption, false));
    setUndoState(true, QString::fromStdString(caption));
}

UndoState DocumentController::popUndo() {
    UndoState state = history_.Pop();
    if (history_.Empty())
        setUndoState(false, kPlainUndoCaption);
    else
        setUndoState(true, QString::fromStdString(history_.Newest().caption));
    return state;
}

void DocumentController::undo() {
    if (!document_ || !undoEnabled_ || history_.Empty()) return;
    settle();
    rememberStyles();
    UndoState step = popUndo();
    // What Undo takes away is kept whole for Redo: the document with a frame
    // in progress or a group being edited.
    UndoState undone = snapshot(step.caption, true);
    const QSize window(step.windowWidth, step.windowHeight);
    restore(std::move(step), undone.document.get());
    redoStates_.push_back(std::move(undone));
    if (window.width() > 0 && window.height() > 0)
        emit windowSizeRestored(window.width(), window.height());
    setModified(true);
    selection_ = {};
    selecting_ = false;
    // The zoom stays as it was; a fitted view fits the picture undo gave back.
    refit();
    emit styleChanged();
    emit selectionChanged();
    emit titlesChanged();
    emit pictureChanged();
    emit stackChanged();
    emit redoAvailable(true);
}

void DocumentController::redo() {
    if (!canRedo()) return;
    settle();
    UndoState step = std::move(redoStates_.back());
    redoStates_.pop_back();
    // The state Redo leaves becomes the undo step again, under the caption
    // it had.
    pushUndoEntry(step.caption);
    const QSize window(step.windowWidth, step.windowHeight);
    restore(std::move(step), nullptr);
    if (window.width() > 0 && window.height() > 0)
        emit windowSizeRestored(window.width(), window.height());
    setModified(true);
    selection_ = {};
    selecting_ = false;
    emit styleChanged();
    emit frameChanged();
    emit selectionChanged();
    refit();
    emit titlesChanged();
    emit pictureChanged();
    emit stackChanged();
    resized();
    emit redoAvailable(canRedo());
}

} // namespace quillon
