#include "formats/Metadata.h"

#include <exiv2/exiv2.hpp>
#include <webp/mux.h>

#include <cstring>

#include <mutex>

namespace quillon {

namespace {

void Quiet() {
    static std::once_flag once;
    std::call_once(once, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
}

} // namespace

std::shared_ptr<const PictureMetadata>
ReadPictureMetadata(std::span<const std::uint8_t> fileBytes) {
    Quiet();
    if (fileBytes.empty()) return nullptr;
    try {
        auto image = Exiv2::ImageFactory::open(fileBytes.data(), long(fileBytes.size()));
        if (image.get() == nullptr) return nullptr;
        image->readMetadata();
        auto m = std::make_shared<PictureMetadata>();
        if (!image->exifData().empty()) {
            Exiv2::Blob blob;
            const Exiv2::ByteOrder order = image->byteOrder() == Exiv2::invalidByteOrder
                                               ? Exiv2::littleEndian
                                               : image->byteOrder();
            Exiv2::ExifParser::encode(blob, order, image->exifData());
            m->Exif.assign(blob.begin(), blob.end());
        }
        m->Xmp = image->xmpPacket();
        if (!image->iptcData().empty()) {
            const Exiv2::DataBuf iptc = Exiv2::IptcParser::encode(image->iptcData());
            m->Iptc.assign(iptc.pData_, iptc.pData_ + iptc.size_);
        }
        if (image->iccProfileDefined()) {
            const Exiv2::DataBuf* icc = image->iccProfile();
            m->Icc.assign(icc->pData_, icc->pData_ + icc->size_);
        }
        if (m->Empty()) return nullptr;
        return m;
    } catch (...) {
        // exiv2 throws on damaged or unknown metadata: the photo opens without.
        return nullptr;
    }
}

namespace {

// The EXIF block fitted to the saved picture.
void FitExif(Exiv2::ExifData& exif, int width, int height) {
    Exiv2::ExifThumb(exif).erase();
    exif["Exif.Image.Orientation"] = std::uint16_t(1);
    exif["Exif.Photo.PixelXDimension"] = std::uint32_t(width);
    exif["Exif.Photo.PixelYDimension"] = std::uint32_t(height);
    // Sizes of the stored picture that no longer hold.
    for (const char* key : {"Exif.Image.ImageWidth", "Exif.Image.ImageLength"}) {
        const auto it = exif.findKey(Exiv2::ExifKey(key));
        if (it != exif.end()) exif.erase(it);
    }
}

// The EXIF block fitted to the saved picture, in TIFF layout.
std::vector<std::uint8_t> FittedExifBlock(const std::vector<std::uint8_t>& block, int width,
                                          int height) {
    Exiv2::ExifData exif;
    const Exiv2::ByteOrder order =
        Exiv2::ExifParser::decode(exif, block.data(), std::uint32_t(block.size()));
    FitExif(exif, width, height);
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, order == Exiv2::invalidByteOrder ? Exiv2::littleEndian : order,
                              exif);
    return {blob.begin(), blob.end()};
}

bool IsWebp(const std::vector<std::uint8_t>& file) {
    return file.size() >= 12 && std::memcmp(file.data(), "RIFF", 4) == 0 &&
           std::memcmp(file.data() + 8, "WEBP", 4) == 0;
}

// WebP keeps its metadata in RIFF chunks (EXIF, XMP, ICCP; IPTC has no
// place), written through libwebp's muxer, which also sets the extended
// header's flags.
std::vector<std::uint8_t> EmbedInWebp(const std::vector<std::uint8_t>& encoded,
                                      const PictureMetadata& metadata, int width, int height) {
    const std::vector<std::uint8_t> exif = metadata.Exif.empty()
                                               ? std::vector<std::uint8_t>()
                                               : FittedExifBlock(metadata.Exif, width, height);
    const WebPData image{encoded.data(), encoded.size()};
    WebPMux* mux = WebPMuxCreate(&image, 1);
    if (mux == nullptr) return encoded;
    bool ok = true;
    auto put = [&](const char* fourcc, const std::uint8_t* bytes, std::size_t size) {
        if (size == 0) return;
        const WebPData chunk{bytes, size};
        ok = ok && WebPMuxSetChunk(mux, fourcc, &chunk, 1) == WEBP_MUX_OK;
    };
    put("EXIF", exif.data(), exif.size());
    put("XMP ", reinterpret_cast<const std::uint8_t*>(metadata.Xmp.data()), metadata.Xmp.size());
    put("ICCP", metadata.Icc.data(), metadata.Icc.size());
    WebPData assembled{nullptr, 0};
    ok = ok && WebPMuxAssemble(mux, &assembled) == WEBP_MUX_OK;
    WebPMuxDelete(mux);
    std::vector<std::uint8_t> out;
    if (ok) out.assign(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    return ok ? out : encoded;
}

} // namespace

std::vector<std::uint8_t> EmbedMetadata(std::vector<std::uint8_t> encoded,
                                        const PictureMetadata& metadata, int width, int height) {
    Quiet();
    if (metadata.Empty() || encoded.empty()) return encoded;
    try {
        if (IsWebp(encoded)) return EmbedInWebp(encoded, metadata, width, height);
        auto image = Exiv2::ImageFactory::open(encoded.data(), long(encoded.size()));
        if (image.get() == nullptr) return encoded;
        if (!metadata.Exif.empty()) {
            Exiv2::ExifData exif;
            Exiv2::ExifParser::decode(exif, metadata.Exif.data(),
                                      std::uint32_t(metadata.Exif.size()));
            FitExif(exif, width, height);
            image->setExifData(exif);
        }
        if (!metadata.Xmp.empty()) {
            image->setXmpPacket(metadata.Xmp);
            image->writeXmpFromPacket(true);
        }
        if (!metadata.Iptc.empty()) {
            Exiv2::IptcData iptc;
            if (Exiv2::IptcParser::decode(iptc, metadata.Iptc.data(),
                                          std::uint32_t(metadata.Iptc.size())) == 0)
                image->setIptcData(iptc);
        }
        if (!metadata.Icc.empty()) {
            Exiv2::DataBuf icc(metadata.Icc.data(), long(metadata.Icc.size()));
            image->setIccProfile(icc, false);
        }
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf out = io.read(long(io.size()));
        if (out.size_ <= 0) return encoded;
        return std::vector<std::uint8_t>(out.pData_, out.pData_ + out.size_);
    } catch (...) {
        return encoded;
    }
}

} // namespace quillon
