// PhotoDocument: one photo being framed. It owns the photo at full size and
// one slot per frame style; a style is made with the catalogue's defaults the
// first time it is chosen and kept, with its edits, until the photo changes
// or FreeFrames runs. While a style is chosen, saving, copying and resizing
// work on its framed picture; with none, on the photo.
//
// The document also knows the zoom its pictures are shown at and renders the
// shown pictures (Preview) on demand; nothing else of a view lives here.
// Every command that reads a file reads it completely before changing
// anything, so a failed read leaves the document as it was. Frame edits do
// nothing while no style is chosen.
#pragma once

#include "canvas/Bitmap.h"
#include "document/Zoom.h"
#include "formats/Formats.h"
#include "frames/StyleCatalog.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quillon {

class ClipboardPort;

class PhotoDocument {
public:
    PhotoDocument();
    ~PhotoDocument();
    PhotoDocument(const PhotoDocument&) = delete;
    PhotoDocument& operator=(const PhotoDocument&) = delete;

    // --- The photo ----------------------------------------------------------
    // Reads fileName as the new photo, shown at zoom. Throws PictureError.
    void Open(const std::string& fileName, Zoom zoom, const LoadOptions& options = {});
    // Takes picture as the new photo (pasted, scanned, or a framed picture
    // applied), named name, shown at zoom. Styles go, none is chosen.
    void OpenPicture(std::unique_ptr<Bitmap> picture, const std::string& name, Zoom zoom);
    // Reopens the photo itself, as pasting it back would: the photo becomes
    // a screen-format copy, the styles go, and it is shown at zoom.
    void Reopen(Zoom zoom);
    bool HasPhoto() const { return photo_ != nullptr; }
    // The opened file's metadata (EXIF, XMP, IPTC, ICC), kept through
    // framing, crops, turns and resizes and written into a JPEG, PNG or WebP
    // saved from the photo; null for a pasted or scanned picture.
    const PictureMetadata* Metadata() const { return metadata_.get(); }
    // Gives this document's photo the metadata of other's: an earlier state
    // of the same photo (undo) or its copy (a recipe tried on a copy).
    void TakeMetadataOf(const PhotoDocument& other) { metadata_ = other.metadata_; }
    const std::string& FileName() const { return fileName_; }
    // The photo at full size; only with HasPhoto.
    const Bitmap& Photo() const { return *photo_; }
    // Puts back an earlier photo (undo): styles go, none is chosen.
    void RestorePhoto(const Bitmap& picture, Zoom zoom);

    // --- What a save, copy, print or resize works on --------------------------
    // The framed picture while a style is chosen, the photo otherwise; null
    // without a photo.
    const Bitmap* Result() const;
    // Writes Result by the picture-file name rules; false when no writer
    // matches the name (or there is nothing to write).
    bool Save(const std::string& fileName) const;
    // Puts a full-size copy of Result on clipboard.
    void CopyTo(ClipboardPort& clipboard) const;
    // The clipboard's picture becomes the photo, named "Clipboard"; false,
    // changing nothing, when the clipboard holds no picture.
    bool PasteFrom(const ClipboardPort& clipboard, Zoom zoom);

    // --- Image commands on the photo ------------------------------------------
    // Crops to the rectangle given in shown (zoomed) pixels; a rectangle with
    // nothing of the picture inside it changes nothing.
    void Crop(int left, int top, int right, int bottom);
    // The part of the photo, in full-size pixels, that Crop with the same
    // shown rectangle keeps; none when it keeps nothing. The copied size
    // (the shown size at full scale) may differ from it by a pixel.
    std::optional<Rect> CropInPhoto(int left, int top, int right, int bottom,
                                    int* copiedWidth = nullptr, int* copiedHeight = nullptr) const;
    void RotateRight();
    void RotateLeft();
    void Rotate180();
    void GrayScale();
    void Negative();
    // Rescales Result to width x height; sizes below one pixel are ignored,
    // sizes over the limit throw before anything changes.
    void Resize(int width, int height);
    // "Apply Frame": the framed picture becomes the photo, shown at zoom.
    void ApplyFrame(Zoom zoom);

    // --- Zoom and the shown pictures ------------------------------------------
    Zoom CurrentZoom() const { return zoom_; }
    float Scale() const { return ZoomScale(zoom_); }
    // Shows the pictures at zoom; only what is shown changes.
    void SetZoom(Zoom zoom);
    // The photo's size as shown: the size crop coordinates and the styles'
    // defaults refer to.
    int ShownPhotoWidth() const;
    int ShownPhotoHeight() const;
    // What the document shows at its zoom: the framed picture while a style
    // is chosen, else the photo. Rendered when asked for after a change.
    const Bitmap& Preview() const;
    int PreviewWidth() const;
    int PreviewHeight() const;

    // --- Styles -------------------------------------------------------------
    std::optional<StyleId> Style() const { return style_; }
    // Chooses a style, making it from the catalogue the first time. Without a
    // photo the choice is ignored; a default that cannot be read throws and
    // leaves the current style.
    void SelectStyle(StyleId id);
    // Back to the plain photo; the styles keep their edits.
    void ClearStyle() { style_.reset(); }
    void FreeFrames();
    // Fixes the random seed of the styles made from now on (the torn edges);
    // none: each paint seeds from the current time.
    void SetSeed(std::optional<std::uint32_t> seed) { seed_ = seed; }
    FrameStyle* CurrentFrame() const;
    FrameStyle* Frame(StyleId id) const;

    // --- The current style's settings (the edit bar and the pickers) ----------
    // Thickness requests outside 0..ThicknessLimit are ignored whole.
    void SetFrameHeight(int v);
    int GetFrameHeight() const;
    void SetFrameWidth(int v);
    int GetFrameWidth() const;
    void SetBorderWidth(int v);
    int GetBorderWidth() const;
    void SetScaled(bool b);
    bool GetScaled() const;
    void SetFrameColor(Color c);
    Color GetFrameColor() const;
    void SetBorderColor(Color c);
    Color GetBorderColor() const;
    void SetPattern(const std::string& fileName);
    // Lengths of single sides, for the styles that take them.
    void SetSides(const FrameStyle::Sides& sides);
    // A decoration picked in the picker, with everything the style takes
    // from it; the style repaints.
    void ChooseDecoration(const std::string& fileName);
    // The current style's decoration picture, or null.
    const Bitmap* PatternPicture() const;
    int GetPatternHeight() const;
    int GetPictureWidth() const;
    int GetPictureHeight() const;
    void DrawFrame();
    void DrawPictureCentred();
    void SetOutputSize(int width, int height);
    // While on, the current frame's resizes leave their drawing to the next
    // DrawPictureCentred (see FrameStyle::DeferOutputDrawing): for setting
    // changes that a full repaint follows, whose picture is not read before.
    void DeferOutputDrawing(bool on);

private:
    // The picture Result names, writable.
    Bitmap* ResultPicture();
    // turn: 1 clockwise, 2 half, 3 counter-clockwise.
    void Rotate(int turn);
    void PhotoChanged();
    void FramedChanged() { previewValid_ = false; }

    std::unique_ptr<Bitmap> photo_;
    std::string fileName_;
    std::shared_ptr<const PictureMetadata> metadata_;
    Zoom zoom_ = Zoom::Normal;
    std::optional<StyleId> style_;
    std::optional<std::uint32_t> seed_;
    std::array<std::unique_ptr<FrameStyle>, kStyleCount> frames_;
    mutable Bitmap preview_;
    mutable bool previewValid_ = false;
};

} // namespace quillon
