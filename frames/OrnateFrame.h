// Ornate frames: a picture of a frame moulding cut into eight pieces
// (OrnatePieces) and rebuilt round the photo (OrnateFrame).
#pragma once

#include "frames/FrameStyle.h"

#include <memory>
#include <optional>
#include <string>

namespace quillon {

// The eight pieces derived from one picture of the top edge of a frame. Each
// piece is a full 32-bit copy of the picture whose top-left g x g square
// (g = the picture's smaller side, at most 200) is replaced by a rotation of
// the picture's square (right, bottom, left edges) or by two rotations joined
// along a diagonal (the four mitred corners). After a failed load the pieces
// keep what they held before.
class OrnatePieces {
public:
    // Eight empty pieces.
    OrnatePieces();
    explicit OrnatePieces(const std::string& fileName);
    // Reads the picture and derives all eight pieces; throws PictureError
    // when the file cannot be read.
    void LoadPieces(const std::string& fileName);
    // Derives the pieces from a picture already in memory.
    void MakePieces(const Bitmap& picture);

    std::unique_ptr<Bitmap> TopPiece, RightPiece, BottomPiece, LeftPiece;
    std::unique_ptr<Bitmap> TopLeftPiece, TopRightPiece, BottomLeftPiece, BottomRightPiece;
};

// The largest square of an ornate picture that is rotated and mitred.
constexpr int kOrnateSquareLimit = 200;

// The number of tiles along an edge: the span divided by the tile length,
// rounded so that a remainder of exactly half a tile adds none; at least 1.
// tile must be positive.
int OrnateTileCount(int span, int tile);
// The length of one stretched tile: span / OrnateTileCount, single precision.
float OrnateTileStep(int span, int tile);

// What a moulding's file name says about its look: "clip" in any of its
// usual spellings asks for plain corners; otherwise "trn" makes the white of
// the pieces transparent. A "trn" moulding lies over the photo instead of
// round it, whatever its corners.
struct MouldingLook {
    bool clipCorners = false;
    bool transparentPieces = false;
    bool liesOverPhoto = false;
};
MouldingLook MouldingLookFor(const std::string& fileName);

// The folder beside a moulding that may hold a larger drawing of it under
// the same name ("Ornate/Large/Gold Rope.bmp" for "Ornate/Gold Rope.bmp"):
// what a moulding given a width above its picture's height is cut from.
constexpr const char* kLargeMouldingFolder = "Large";
// The larger drawing of the moulding fileName, found without regard to
// case; empty when there is none.
std::string LargeMouldingFile(const std::string& fileName);

class OrnateFrame final : public FrameStyle {
public:
    OrnateFrame(const Bitmap& photo, const FrameSettings& settings);
    void Paint() override;
    // A moulding chosen in the picker: the thickness becomes the picture's
    // height, the file name picks the corners (MouldingLookFor), and the
    // output is regrown round the photo, or kept at its size for a
    // transparent ornament that lies over it.
    void ChooseDecoration(const std::string& fileName) override;
    // The moulding's width (the edit bar's one thickness): every side takes
    // it, the output is regrown round the photo (or kept for an ornament
    // that lies over it), and the pieces are drawn scaled to it. Choosing a
    // moulding sets its own height again.
    void ChangeFrameHeight(int v) override;
    void ChangeFrameWidth(int v) override { ChangeFrameHeight(v); }

    // Corners drawn with the plain top and bottom pieces instead of mitres.
    bool ClipCorners = false;
    // White in every piece lets the photo underneath show.
    bool TransparentPieces = false;
    // Created by the first paint and reloaded by every later one.
    std::unique_ptr<OrnatePieces> Pieces;
    // The width the moulding was given; none: the picture's own height, at
    // which the pieces are drawn as they are. At any other width each piece
    // is resampled smoothly by width / picture height before drawing (cut
    // from the moulding's larger drawing when it is wider than the picture
    // and LargeMouldingFile finds one).
    std::optional<int> MouldingWidth;
};

} // namespace quillon
