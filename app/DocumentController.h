// DocumentController: the desktop program's state and commands, with no
// widget. It owns the photo document (none while no picture is open), the
// undo history, the zoom, the rubber-band selection, the user's folders and
// the busy state, what Redo may bring back and whether there are unsaved
// changes; it offers every command the menus, the edit bar and the
// decoration picker run, and announces each change by a signal. The main
// window, the image window, the edit bar and the picker observe it and call
// its commands; it knows none of them.
//
// Each style keeps the settings the person gave it for as long as the photo
// is open: across switching styles, Undo, Apply Frame and the commands that
// make the document afresh; a new photo (open, paste, scan) starts every
// style from its defaults.
//
// The document is the photo under a stack of live frame groups: "Apply
// Frame" puts the frame in progress on the stack, and any group can later
// be loaded back into the edit bar, hidden, moved, duplicated or removed;
// the picture is the photo framed by every visible group. The image
// commands change the photo itself, under the frames.
//
// A command that builds a new picture (open, paste, scan) reads it
// completely before anything changes, so a failure leaves the document, the
// history and the zoom as they were. Failures are thrown (PictureError,
// std::runtime_error) for the caller's command edge to show; the one
// exception is a picture that opens with nothing to show, which is reported
// through errorOccurred and closes the document.
#pragma once

#include "app/QuickPreview.h"
#include "app/SettingsStore.h"
#include "canvas/Types.h"
#include "document/FrameStack.h"
#include "document/FramingRecord.h"
#include "document/UndoHistory.h"
#include "frames/StyleCatalog.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class Bitmap;
class ClipboardPort;
class PhotoDocument;

// The rubber band as dragged, in picture pixels (whatever the zoom): the corner
// the drag started at and the corner the pointer reached, in either order.
struct Selection {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Selection&, const Selection&) = default;
    // The same rectangle with left <= right and top <= bottom.
    Selection Normalised() const;
    // Whether the rectangle encloses any pixel.
    bool HasArea() const { return left != right && top != bottom; }
};

// The edit bar's number fields as one edit: the fields given are set in the
// order frame height, frame width, border width, then the frame repaints.
struct FrameEdit {
    std::optional<int> frameHeight;
    std::optional<int> frameWidth;
    std::optional<int> borderWidth;
};

// The same edit with each length in a unit; the document still receives
// pixels.
struct LengthEdit {
    std::optional<Length> frameHeight;
    std::optional<Length> frameWidth;
    std::optional<Length> borderWidth;
};

class DocumentController final : public QObject {
    Q_OBJECT
public:
    // How many steps Undo takes back.
    static constexpr int kUndoSteps = UndoHistory::kCapacity;

    // The clipboard that Copy and Paste use; it must outlive the controller.
    // The start folder becomes the current folder, and the open dialog's
    // folder its "Pictures" folder.
    explicit DocumentController(ClipboardPort& clipboard, QObject* parent = nullptr);
    ~DocumentController() override;

    // --- State ----------------------------------------------------------------
    bool hasDocument() const { return document_ != nullptr; }
    // The document the edit bar works on, or null: its photo is the picture
    // the frame in progress (or the group being edited) frames, and its
    // style that frame.
    PhotoDocument* document() const { return document_.get(); }
    // What is shown, saved, copied and printed: the photo framed by every
    // visible group and the frame in progress; null without a document.
    // A frame still being drawn (see quickPreview) is drawn first.
    const Bitmap* picture() const;
    // The size of picture, without drawing what is pending; empty without a
    // document.
    QSize pictureSize() const;
    // While a large photo is seen zoomed out, a change of the frame's
    // settings is shown first as the frame drawn on the photo shrunk to
    // about the view's scale, and the real frame is drawn once the changes
    // pause (or anything needs it). This is that small picture, to be shown
    // stretched to shownSize(), while the real one is pending; else null.
    const Bitmap* quickPreview() const { return renderPending_ ? quickPicture_ : nullptr; }
    // Draws the pending frame now.
    void settle();
    // Photos of at least this many pixels get the quick preview.
    static constexpr int kQuickPreviewPixels = 2'000'000;
    // The pause after a change before the real frame is drawn.
    static constexpr int kSettleMilliseconds = 250;
    // The photo under the frames; only with a document.
    const Bitmap& photo() const { return stack_.Photo(); }
    std::optional<StyleId> style() const;
    // Whether a frame style is chosen (the edit bar shows, the Image menu
    // and Resize wait until the frame is applied or undone).
    bool framing() const { return style().has_value(); }
    // The scale the picture is shown at, in device pixels (1.0: one picture
    // pixel a screen pixel). Zoom is only a way of looking: it is no undo
    // step, and frames, crops and saved files do not depend on it.
    double zoom() const { return zoom_; }
    // Whether the scale follows the room the view has (Fit to Window).
    bool fitting() const { return fitting_; }
    // The shown picture's size at the zoom, in device pixels; empty without
    // a document.
    QSize shownSize() const;
    // The name the captions show: the file last opened or saved, "Untitled"
    // after a scan, empty before either.
    const std::string& fileName() const { return fileName_; }
    QString mainTitle() const;
    QString imageTitle() const;
    const Selection& selection() const { return selection_; }
    bool busy() const { return busyDepth_ > 0; }
    // Whether the picture or its frame changed since the document was
    // opened or last saved (a pasted or scanned picture was never saved).
    bool modified() const { return modified_; }
    bool canUndo() const { return undoEnabled_; }
    // The Undo item's text.
    const QString& undoCaption() const { return undoCaption_; }
    bool canRedo() const { return document_ != nullptr && !redoStates_.empty(); }
    // The steps Undo can take back (at most ten).
    int undoCount() const { return history_.Count(); }
    const ShellFolders& folders() const { return folders_; }
    ClipboardPort& clipboard() const { return clipboard_; }

    // The size of the window showing the picture, recorded with each undo
    // entry and given back by windowSizeRestored; none gives 0 x 0.
    void setWindowSizeSource(std::function<QSize()> source) { windowSize_ = std::move(source); }

    // --- Pictures ---------------------------------------------------------------
    // Opens a picture file fitted to the view; the history starts afresh.
    void open(const std::string& fileName);
    // A new document from the clipboard's picture, fitted to the view; false,
    // changing nothing, when the clipboard holds none. The history stays,
    // but Undo waits for the next change.
    bool paste();
    // A scanned picture as a new document, "Untitled", fitted to the view.
    void openScan(std::unique_ptr<Bitmap> picture);
    // Writes the framed picture or the photo; false when the name is of no
    // format the program writes.
    bool saveAs(const std::string& fileName);
    // The file Save writes back to: the one the photo was opened from or
    // last saved as, while its name is of a format the program writes;
    // none for a pasted or scanned picture, or a photo read from a format
    // that is only read (TIFF, PSD, ...).
    std::optional<std::string> saveTarget() const;
    // Whether Save would replace a file this program has not written: the
    // original photo, which the window confirms replacing once.
    bool saveReplacesOriginal() const;
    // Puts the framed picture or the photo, at full size, on the clipboard.
    void copy();
    void closeDocument();

    // --- Frames -------------------------------------------------------------------
    void chooseStyle(StyleId id);
    // The framed picture becomes the photo of a new document.
    void applyFrame();
    void editFrame(const FrameEdit& edit);
    void setScaled(bool scaled);
    // A frame colour replaces the fill pattern.
    void setFrameColor(Color color);
    void setBorderColor(Color color);
    // A pattern, moulding, mask or overlay picked for the current style.
    void chooseDecoration(const std::string& fileName);

    // --- The frame stack ------------------------------------------------------------
    // The applied groups, bottom (0) to top; the frame in progress is not
    // one of them until it is applied.
    std::size_t groupCount() const { return stack_.Count(); }
    const StackGroup& group(std::size_t k) const { return stack_.Group(k); }
    // The applied group loaded into the edit bar, if any.
    std::optional<std::size_t> editedGroup() const { return editing_; }
    // Loads group k into the edit bar: its changes paint again from it up,
    // as one undo step until another group or command is chosen. A frame
    // in progress is applied first.
    void editGroup(std::size_t k);
    // Back to framing on top of the stack (as Apply Frame does while a
    // group is being edited).
    void editTop();
    // Each of these applies a frame in progress first, is one undo step,
    // and leaves the edit bar on top of the stack. Indices past the top are
    // ignored.
    void setGroupVisible(std::size_t k, bool visible);
    void moveGroup(std::size_t from, std::size_t to);
    void removeGroup(std::size_t k);
    void duplicateGroup(std::size_t k);

    // --- Lengths with units ----------------------------------------------------------
    // The edit bar's units and print size. Percentages refer to the photo's
    // shorter side, physical lengths to the print size (or dpi), of the
    // photo as the first frame group's commands left it (recordedPhoto).
    const EditUnits& editUnits() const { return units_; }
    void setLengthUnit(EditField field, LengthUnit unit);
    // Physical lengths refer to this print size from now on (dpi unset);
    // the current style's physical lengths keep their size on the paper.
    void setPrintSize(const PrintSize& size);
    void setPrintDpi(double dpi);
    // Sets the lengths given, converted to pixels as quillon-frame converts
    // them. A length with a unit over half the photo's shorter side throws
    // before anything changes.
    void editFrameLengths(const LengthEdit& edit);
    // The current style's length in the field's own unit: the length given
    // in that unit, else the frame's pixels converted.
    double shownLength(EditField field) const;
    // The largest length the field takes, in its unit.
    double lengthLimit(EditField field) const;
    // The pixels per inch physical lengths come to for the photo.
    double pixelsPerInch() const;
    // length brought into the field's range, in its own unit: a negative
    // length becomes 0, one over the field's limit the limit.
    Length clampedLength(EditField field, const Length& length) const;

    // The photo's dominant colours, the most common first (at most count),
    // for colour choices that match it; none without a photo.
    std::vector<Color> photoColors(int count) const;

    // --- Recipes ------------------------------------------------------------------------
    // What has been done since the photo was opened, as a recipe: the
    // groups applied, the current style with its settings, the image
    // commands, the units chosen.
    Recipe recipe() const;
    const FramingRecord& record() const { return record_; }
    void saveRecipe(const std::string& fileName) const;
    // Applies a recipe to the photo as one undo step; its patterns are found
    // as quillon-frame finds them. Throws (RecipeError, SettingError,
    // PictureError) leaving the document as it was.
    void applyRecipe(Recipe recipe);

    // --- The Edit, Image and View menus ---------------------------------------------
    void undo();
    // Brings back what the last Undo took away; a new command forgets it.
    void redo();

    // --- Zoom ---------------------------------------------------------------------------
    // The room the view has for the picture, in device pixels; a fitted
    // zoom follows it. Without it (0 x 0) fitting shows 100 %.
    void setViewRoom(int width, int height);
    // Fits the picture, and each picture after it, into the room.
    void zoomToFit();
    // Shows the picture at scale (up to 4.0) until another zoom is chosen.
    void setZoom(double scale);
    // The next fixed step up or down from the current scale.
    void zoomIn();
    void zoomOut();
    // Crops to the selection once it is at least 3 pixels each way; a smaller
    // one is only put in order and kept.
    void crop();
    void resize(int width, int height);
    void grayScale();
    void negative();
    void rotateRight();
    void rotateLeft();
    void rotate180();

    // --- The rubber band ----------------------------------------------------------------
    // A drag begins at (x, y); it is only made on the photo, not on a frame.
    void beginSelection(int x, int y);
    // The pointer of the drag in progress reached (x, y).
    void extendSelection(int x, int y);
    void endSelection(int x, int y);
    void clearSelection();

    // --- Settings -------------------------------------------------------------------------
    // Reads the stored folders (first showing of the main window).
    void applyStartupSettings();
    // The folder for this run; storing it is the settings dialog's business.
    void setFolder(FolderSetting setting, const std::string& folder);

signals:
    // A new picture is shown from its start: the views begin afresh.
    void documentOpened();
    void documentClosed();
    // The shown picture's pixels changed.
    void pictureChanged();
    // The command may have changed the shown picture's size: the window
    // showing it refits.
    void pictureResized();
    // A style was chosen, or none is any more.
    void styleChanged();
    // The current style's settings changed.
    void frameChanged();
    // A decoration was picked for the current style.
    void decorationChosen();
    void selectionChanged();
    // The scale changed, or Fit to Window was chosen.
    void zoomChanged(double scale);
    // The edit bar's units or print size changed.
    void unitsChanged();
    void titlesChanged();
    void modifiedChanged(bool modified);
    void busyChanged(bool busy);
    void undoAvailable(bool available, const QString& caption);
    void redoAvailable(bool available);
    // Undo gives back the size the picture's window had (never 0 x 0).
    void windowSizeRestored(int width, int height);
    // A problem that is not an exception: caption and text of the box.
    void errorOccurred(const QString& caption, const QString& text);
    // The frame stack's groups, their order or visibility, the frame in
    // progress, or the group being edited changed.
    void stackChanged();

private:
    // Marks the controller busy for the life of one command, so that the
    // views can show it; nested commands count once.
    class BusyScope {
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
    // The Undo item's text while there is nothing to undo.
    static constexpr const char* kPlainUndoCaption = "&Undo";

    void replaceDocument(std::unique_ptr<PhotoDocument> document);
    void setModified(bool modified);
    // The document's picture is new to the views (opened, pasted, cropped,
    // resized, framed into the photo, or shown at a new zoom).
    void showAfresh();
    // A fitted zoom follows the picture's size and the view's room.
    void refit();
    // Refits, then says the shown picture may have changed its size.
    void resized();
    // The photo of a new document that shows nothing is reported as
    // corrupted and the document closes; true when that happened.
    bool closeIfEmpty();
    // The current state for Undo or Redo; withDocument moves the document
    // into it.
    UndoState snapshot(const std::string& caption, bool withDocument);
    // Puts a state back; without a document of its own the edit bar returns
    // to the top of the stack with no style chosen. metadataSource: the
    // document whose photo metadata the restored one carries, when not the
    // current one.
    void restore(UndoState state, const PhotoDocument* metadataSource);
    void pushUndo(const char* caption);
    // Records the current state as the newest undo step, keeping what Redo
    // may bring back.
    void pushUndoEntry(const std::string& caption);
    // Takes the newest undo state out (to restore it, or for a command that
    // failed after pushing it); the Undo item follows.
    UndoState popUndo();
    void clearRedo();
    // The record of the whole framing (while a group is edited, record_ is
    // that group's).
    const FramingRecord& framingRecord() const { return editing_ ? topRecord_ : record_; }
    // A new photo under no frames: the document's.
    void startStack();
    // The stack's photo changed.
    void setStackPhoto(std::unique_ptr<Bitmap> photo);
    // Paints the stack as far as needed.
    void renderStack();
    // The edit bar's document afresh on top of the stack, no style chosen.
    void rebuildTopDocument(const PhotoDocument* metadataSource = nullptr);
    // Puts the frame in progress on the stack; false when there was none.
    bool commitTopFrame();
    // A style or a group came into the edit bar, or left it: the views
    // follow.
    void frameShown();
    // Ends the edit of a group: the edit bar returns to the top.
    void leaveGroup();
    // After a change of the edited group's settings: the group in the stack
    // takes them and the stack paints again from it.
    void syncEditedGroup();
    // The print size or resolution of the edit bar, for the stack.
    void syncPrintBasis();
    // Whether a stacked frame has a length in inches, centimetres or
    // millimetres.
    bool stackHasPrintLengths() const;
    // Pushes the undo step, changes the stack and paints it; a failure puts
    // the stack and the history back and is thrown on.
    void changeStackAsStep(const char* caption, const std::function<void()>& change);
    // Runs a change of the stack as one undo step.
    void stackCommand(const char* caption, const std::function<void()>& change);
    // Runs an image command on the photo under the frames.
    void photoCommand(const char* caption, const std::function<void(PhotoDocument&)>& command,
                      const std::function<void(const PhotoDocument&)>& record);
    void setUndoState(bool enabled, const QString& caption);
    void repaintFrame();
    // New units for print lengths; the current style's print lengths are
    // set again for them. A length the photo cannot take at the new
    // resolution throws and the units stay as they were.
    void changePrintBasis(const EditUnits& units);
    // Sets the pixels of edit, recording each accepted one as given.
    void applyFrameEdit(const FrameEdit& edit, const LengthEdit& given);
    // The settings of every style the document holds a frame for, kept
    // before the document or its frames go.
    void rememberStyles();
    // A style just made afresh takes the settings it was last left with,
    // and the record takes them as given.
    void restoreStyle(StyleId id);
    // Runs an Image menu command on the photo.
    void imageCommand(const char* undoCaption, bool turns, void (PhotoDocument::*command)(),
                      ImageCommand::Kind kind);
    // Forgets a pending frame and the small copy of the photo (the document
    // is replaced).
    void dropPending();
    // The picture as drawn so far (a frame pending since the last change
    // has the size it will have, and old pixels).
    const Bitmap* drawnPicture() const;
    // Whether a change of the frame's settings is shown first small.
    bool quickPreviewWanted() const;
    // Whether any frame group shows (the photo is then not shown alone).
    bool framesShown() const;
    // A new random seed for the torn edges of the frame in progress.
    static std::uint32_t newSeed();
    // The record starts afresh on the document's photo.
    void startRecord();
    // The sizes percentages and physical lengths refer to.
    int shorterSide() const;
    int lengthInPixels(EditField field, const Length& length) const;
    void setSelection(const Selection& selection);

    ClipboardPort& clipboard_;
    std::unique_ptr<PhotoDocument> document_;
    // The photo and the applied frame groups.
    FrameStack stack_;
    const Bitmap* stackPicture_ = nullptr;
    // The stack's photo packed, once a step needed it; null after it changed.
    std::shared_ptr<const PackedPicture> packedPhoto_;
    // The group loaded into the edit bar, and whether its edit has its undo
    // step yet.
    std::optional<std::size_t> editing_;
    bool editStepPushed_ = false;
    // The random seed of the frame in progress.
    std::uint32_t seed_ = 0;
    UndoHistory history_;
    bool undoEnabled_ = false;
    // The frame drawn small while the real one waits for the changes to
    // pause.
    QuickPreview quick_;
    const Bitmap* quickPicture_ = nullptr;
    bool renderPending_ = false;
    QTimer settleTimer_;
    QString undoCaption_;
    double zoom_ = 1.0;
    bool fitting_ = true;
    QSize room_;
    std::string fileName_;
    // The file the main window's title names, or none.
    std::optional<std::string> titleFile_;
    // The file the photo came from (opened or last saved as), through every
    // later edit; none for a pasted or scanned picture.
    std::optional<std::string> sourceFile_;
    // Whether sourceFile_ was written by this program.
    bool sourceWritten_ = false;
    Selection selection_;
    bool selecting_ = false;
    ShellFolders folders_;
    int busyDepth_ = 0;
    bool modified_ = false;
    std::function<QSize()> windowSize_;
    FramingRecord record_;
    // The whole framing's record while record_ is that of an edited group.
    FramingRecord topRecord_;
    // What Undo took away, newest last.
    std::vector<UndoState> redoStates_;
    EditUnits units_;
    // A style's settings as last left for this photo.
    struct StyleSettings {
        int frameHeight = 0;
        int frameWidth = 0;
        int borderWidth = 0;
        Color frameColor = 0;
        Color borderColor = 0;
        std::string pattern;
        bool scaled = false;
    };
    std::array<std::optional<StyleSettings>, kStyleCount> styleSettings_;
};

} // namespace quillon
