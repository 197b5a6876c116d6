// Reading and writing picture files. The reader and writer are chosen from
// the file name alone (see PictureNameKind), never from the contents.
#pragma once

#include "canvas/Bitmap.h"
#include "formats/DecodeLimits.h"
#include "formats/Metadata.h"
#include "formats/RowsObserver.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillon {

// The kind the name test picks: the upper-cased last path component (the
// folders are not looked at) is searched for "JPG" or "JPEG", then "GIF",
// then "BMP"; otherwise the reader registry decides by the extension.
enum class NameKind { Jpeg, Gif, Bmp, Other };
NameKind PictureNameKind(const std::string& fileName);
std::string UpperCaseName(const std::string& fileName);
// The text after the last '/', or the whole name when it has none.
std::string LastPathComponent(const std::string& fileName);

// The writer a name picks when saving: the name test's JPEG, GIF or BMP;
// otherwise PNG or WebP by the extension ".png" or ".webp" (any case); no
// writer for any other name.
enum class SaveFormat { Jpeg, Gif, Bmp, Png, Webp };
std::optional<SaveFormat> SaveFormatForName(const std::string& fileName);
// The bytes of a file of the given format holding bitmap; a JPEG, PNG or
// WebP file carries metadata too when it is given (see EmbedMetadata).
std::vector<std::uint8_t> EncodePicture(const Bitmap& bitmap, SaveFormat format,
                                        const PictureMetadata* metadata = nullptr);

// How a photo is read. autoOrient: a JPEG, PNG, TIFF or WebP photo whose
// EXIF Orientation says the camera was turned is turned upright (HEIC and
// AVIF carry their turn in the container, which the decoder always applies).
// rows, when given, is told of a JPEG photo's rows as they are decoded (see
// RowsObserver); other formats tell it nothing.
struct LoadOptions {
    bool autoOrient = true;
    RowsObserver* rows = nullptr;
};

// Reads a photo in any supported format. Throws PictureError with the
// reader's message. An icon or metafile gives an empty bitmap. metadata,
// when given, receives the file's metadata (null when it has none).
std::unique_ptr<Bitmap> LoadPictureFile(const std::string& fileName,
                                        const LoadOptions& options = {},
                                        std::shared_ptr<const PictureMetadata>* metadata = nullptr);

// Reads a decoration picture: JPEG when the name says so, otherwise a Windows
// bitmap. bitmap is replaced only when the read succeeds.
void LoadDecorationPicture(const std::string& fileName, Bitmap& bitmap);

// Writes bitmap in the format SaveFormatForName picks. Returns false,
// writing nothing, when the name matches no writer. The file is written as
// WriteFileReplacing does, so a failed save leaves an existing file
// untouched; failures throw PictureError.
bool SavePictureFile(const Bitmap& bitmap, const std::string& fileName,
                     const PictureMetadata* metadata = nullptr);

// Reads a Windows bitmap file whatever its name; bitmap is replaced only when
// the read succeeds.
void LoadBmpFile(const std::string& fileName, Bitmap& bitmap);
// Writes bitmap as a Windows bitmap file whatever the name.
void SaveBmpFile(const Bitmap& bitmap, const std::string& fileName);

// Whole-file helpers shared by the readers and writers. ReadWholeFile
// refuses a folder, and a file over maxBytes before reading it
// (PictureErrorKind::TooLarge).
std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName,
                                        std::uint64_t maxBytes = DecodeLimits().MaxFileBytes);
// The first count bytes of a file, or all of it when it is shorter.
std::vector<std::uint8_t> ReadFileHead(const std::string& fileName, std::uint64_t count);
// Replaces fileName with bytes through a temporary file renamed over it
// (FileWriting.h says how links, devices and permissions are treated).
void WriteFileReplacing(const std::string& fileName, std::span<const std::uint8_t> bytes);

// The open and save dialog filters: description and ';'-separated patterns.
struct FileFilter {
    std::string Description;
    std::string Patterns;
};
const std::vector<FileFilter>& OpenDialogFilters();
const std::vector<FileFilter>& SaveDialogFilters();
inline constexpr const char* kSaveDefaultExtension = "*.bmp";

} // namespace quillon
