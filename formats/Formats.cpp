#include "formats/Formats.h"

#include "canvas/Canvas.h"
#include "formats/FileWriting.h"
#include "formats/Orientation.h"
#include "formats/Readers.h"
#include "formats/Registry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

std::string UpperCaseName(const std::string& fileName) {
    std::string u = fileName;
    for (auto& c : u) c = char(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

std::string LastPathComponent(const std::string& fileName) {
    const auto slash = fileName.find_last_of('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

NameKind PictureNameKind(const std::string& fileName) {
    // Only the file's own name counts: a folder called "gifs" or "jpg_out"
    // says nothing about the files in it.
    const std::string u = UpperCaseName(LastPathComponent(fileName));
    if (u.find("JPG") != std::string::npos || u.find("JPEG") != std::string::npos)
        return NameKind::Jpeg;
    if (u.find("GIF") != std::string::npos) return NameKind::Gif;
    if (u.find("BMP") != std::string::npos) return NameKind::Bmp;
    return NameKind::Other;
}

namespace {

// The text after the last dot of the file's own name (not of a folder).
std::string Extension(const std::string& fileName) {
    const auto slash = fileName.find_last_of('/');
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return fileName.substr(dot + 1);
}

} // namespace

namespace {

// The readers of formats that can carry an EXIF block with an orientation.
bool MayCarryExif(PictureReader reader) {
    return reader == ReadJpeg || reader == ReadPng || reader == ReadTiff || reader == ReadWebp;
}

} // namespace

std::unique_ptr<Bitmap> LoadPictureFile(const std::string& fileName, const LoadOptions& options,
                                        std::shared_ptr<const PictureMetadata>* metadata) {
    if (metadata) metadata->reset();
    PictureReader reader = nullptr;
    std::uint64_t bytesNeeded = 0;
    switch (PictureNameKind(fileName)) {
    case NameKind::Jpeg:
        reader = ReadJpeg;
        break;
    case NameKind::Gif:
        reader = ReadGif;
        break;
    case NameKind::Bmp:
        reader = ReadBmp;
        break;
    case NameKind::Other: {
        const std::string ext = Extension(fileName);
        const FileFormat* format = FileFormatList::Instance().Find(ext);
        if (!format)
            throw PictureError("Unknown picture file extension (." + ext + ")",
                               PictureErrorKind::Unsupported);
        if (!format->Reader) return std::make_unique<Bitmap>();
        reader = format->Reader;
        bytesNeeded = format->BytesNeeded;
        break;
    }
    }
    const DecodeLimits limits;
    // A format of fixed layout needs only the start of the file.
    const std::vector<std::uint8_t> data = bytesNeeded > 0
                                               ? ReadFileHead(fileName, bytesNeeded)
                                               : ReadWholeFile(fileName, limits.MaxFileBytes);
    auto bitmap = std::make_unique<Bitmap>();
    // A JPEG photo is drawn into a new bitmap, which has the screen's
    // format: it is decoded in that format at once.
    if (reader == ReadJpeg)
        ReadJpegAs(data, fileName, PixelFormat::Device, *bitmap, limits, options.rows);
    else
        reader(data, fileName, *bitmap, limits);
    if (options.autoOrient && MayCarryExif(reader)) {
        const int orientation = ExifOrientation(data);
        ApplyOrientation(*bitmap, orientation);
        // The rows told of are not the picture's any more.
        if (orientation != 1 && options.rows) options.rows->RowsReplaced();
    }
    if (metadata && MayCarryExif(reader)) *metadata = ReadPictureMetadata(data);
    if (metadata && reader == ReadHeif) *metadata = ReadHeifMetadata(data);
    return bitmap;
}

void LoadDecorationPicture(const std::string& fileName, Bitmap& bitmap) {
    const DecodeLimits limits;
    const std::vector<std::uint8_t> data = ReadWholeFile(fileName, limits.MaxFileBytes);
    Bitmap picture;
    if (PictureNameKind(fileName) == NameKind::Jpeg)
        ReadJpeg(data, fileName, picture, limits);
    else
        ReadBmp(data, fileName, picture, limits);
    bitmap.SwapPicture(picture);
}

std::optional<SaveFormat> SaveFormatForName(const std::string& fileName) {
    switch (PictureNameKind(fileName)) {
    case NameKind::Jpeg:
        return SaveFormat::Jpeg;
    case NameKind::Gif:
        return SaveFormat::Gif;
    case NameKind::Bmp:
        return SaveFormat::Bmp;
    case NameKind::Other:
        break;
    }
    const std::string ext = UpperCaseName(Extension(fileName));
    if (ext == "PNG") return SaveFormat::Png;
    if (ext == "WEBP") return SaveFormat::Webp;
    return std::nullopt;
}

std::vector<std::uint8_t> EncodePicture(const Bitmap& bitmap, SaveFormat format,
                                        const PictureMetadata* metadata) {
    std::vector<std::uint8_t> bytes;
    switch (format) {
    case SaveFormat::Jpeg:
        bytes = EncodeJpeg(bitmap);
        break;
    case SaveFormat::Gif:
        return EncodeGif(bitmap);
    case SaveFormat::Bmp:
        return EncodeBmp(bitmap);
    case SaveFormat::Png:
        bytes = EncodePng(bitmap);
        break;
    case SaveFormat::Webp:
        bytes = EncodeWebp(bitmap);
        break;
    }
    if (metadata)
        bytes = EmbedMetadata(std::move(bytes), *metadata, bitmap.Width(), bitmap.Height());
    return bytes;
}

bool SavePictureFile(const Bitmap& bitmap, const std::string& fileName,
                     const PictureMetadata* metadata) {
    const std::optional<SaveFormat> format = SaveFormatForName(fileName);
    if (!format) return false;
    // A bitmap file goes to disk a block of rows at a time, never whole in
    // memory.
    if (*format == SaveFormat::Bmp)
        SaveBmpFile(bitmap, fileName);
    else
        WriteFileReplacing(fileName, EncodePicture(bitmap, *format, metadata));
    return true;
}

namespace {

// Closes a file descriptor when the read is done, whatever the outcome.
struct FdCloser {
    int Fd;
    ~FdCloser() { ::close(Fd); }
};

} // namespace

namespace {

// Reads fileName from its start: all of it, refused when over maxBytes
// (whole), or its first maxBytes bytes at most (!whole).
std::vector<std::uint8_t> ReadFileStart(const std::string& fileName, std::uint64_t maxBytes,
                                        bool whole) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw PictureError("Cannot open file " + fileName + ": " + std::strerror(errno));
    FdCloser closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw PictureError("Cannot read file " + fileName + ": " + std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        throw PictureError("Cannot open file " + fileName + ": it is a folder, not a file");
    auto tooLarge = [&] {
        return PictureError("File " + fileName + " is too large (more than " +
                                std::to_string(maxBytes) + " bytes)",
                            PictureErrorKind::TooLarge);
    };
    // A regular file's size is known before reading; anything else (a pipe,
    // a device) is read until it ends or passes the cap.
    const bool regular = S_ISREG(st.st_mode);
    if (whole && regular && std::uint64_t(st.st_size) > maxBytes) throw tooLarge();
    auto readSome = [&](std::uint8_t* to, std::size_t count) {
        for (;;) {
            const ssize_t n = ::read(fd, to, count);
            if (n >= 0) return std::size_t(n);
            if (errno != EINTR)
                throw PictureError("Cannot read file " + fileName + ": " + std::strerror(errno));
        }
    };
    std::vector<std::uint8_t> data(
        regular ? std::size_t(std::min<std::uint64_t>(std::uint64_t(st.st_size), maxBytes)) : 0);
    std::size_t done = 0;
    while (done < data.size()) {
        const std::size_t n = readSome(data.data() + done, data.size() - done);
        if (n == 0) break; // the file shrank meanwhile
        done += n;
    }
    data.resize(done);
    // Whatever follows (a stream, or a file that grew) comes in pieces.
    std::vector<std::uint8_t> piece(64 * 1024);
    while (data.size() < maxBytes || whole) {
        const std::size_t want =
            whole ? piece.size()
                  : std::size_t(std::min<std::uint64_t>(piece.size(), maxBytes - data.size()));
        const std::size_t n = readSome(piece.data(), want);
        if (n == 0) break;
        if (whole && data.size() + n > maxBytes) throw tooLarge();
        data.insert(data.end(), piece.begin(), piece.begin() + std::ptrdiff_t(n));
    }
    return data;
}

} // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName, std::uint64_t maxBytes) {
    return ReadFileStart(fileName, maxBytes, true);
}

std::vector<std::uint8_t> ReadFileHead(const std::string& fileName, std::uint64_t count) {
    return ReadFileStart(fileName, count, false);
}

void WriteFileReplacing(const std::string& fileName, std::span<const std::uint8_t> bytes) {
    WriteFileReplacing(fileName, bytes, TempFileKind::UnnamedFirst);
}

const std::vector<FileFilter>& OpenDialogFilters() {
    static const std::vector<FileFilter> filters = {
        {"All Images", "*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.tga;*.pcx;*.tif;*.png;*.dib;*.rle;*.pdd;"
                       "*.psd;*.pbm;*.cel;*.pic;*.cut;*.webp;*.heic;*.heif;*.avif"},
        {"JPEG Image File", "*.jpg;*.jpeg;*.jpe"},
        {"Bitmaps (*.bmp)", "*.bmp"},
        {"Compuserve GIF (*.gif)", "*.gif"},
        {"TIF (*.tif)", "*.tif"},
        {"ZSoft PCX (*.pcx)", "*.pcx"},
        {"PNG (*.png)", "*.png"},
        {"TARGA (*.tga)", "*.tga"},
        {"Autodesk (*.cel, *.pic)", "*.cel;*.pic"},
        {"Portable Bitmap ", "*.pbm;*.pgm;*.ppm"},
        {"PhotoShop", "*.pdd;*.psd"},
        {"WebP (*.webp)", "*.webp"},
        {"HEIF (*.heic, *.heif)", "*.heic;*.heif"},
        {"AVIF (*.avif)", "*.avif"},
    };
    return filters;
}

const std::vector<FileFilter>& SaveDialogFilters() {
    static const std::vector<FileFilter> filters = {
        {"Bitmap (*.bmp)", "*.bmp"}, {"JPEG (*.jpg)", "*.jpg"},   {"GIF (*.gif) ", "*.gif"},
        {"PNG (*.png)", "*.png"},    {"WebP (*.webp)", "*.webp"},
    };
    return filters;
}

void LoadBmpFile(const std::string& fileName, Bitmap& bitmap) {
    const DecodeLimits limits;
    const std::vector<std::uint8_t> data = ReadWholeFile(fileName, limits.MaxFileBytes);
    Bitmap picture;
    ReadBmp(data, fileName, picture, limits);
    bitmap.SwapPicture(picture);
}

void SaveBmpFile(const Bitmap& bitmap, const std::string& fileName) {
    WriteFileReplacing(
        fileName, [&bitmap](ByteSink& sink) { WriteBmp(bitmap, sink); },
        TempFileKind::UnnamedFirst);
}

} // namespace quillon
