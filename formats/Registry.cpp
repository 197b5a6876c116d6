#include "formats/Registry.h"

#include "formats/Readers.h"

#include <algorithm>
#include <cctype>

namespace quillon {

namespace {

std::string Lower(std::string s) {
    for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

FileFormatList BuildRegistry() {
    FileFormatList list;
    // The toolkit's own formats first, then the raster readers, then GIF,
    // which registers itself last.
    list.RegisterFileFormat("bmp", "Bitmaps", ReadBmp);
    list.RegisterFileFormat("rle", "Run-length encoded bitmaps", ReadBmp);
    list.RegisterFileFormat("dib", "Device independent bitmaps", ReadBmp);
    list.RegisterFileFormat("ico", "Icons", nullptr);
    list.RegisterFileFormat("wmf", "Metafiles", nullptr);
    list.RegisterFileFormat("emf", "Enhanced metafiles", nullptr);
    list.RegisterFileFormat("jpg", "JPEG image file", ReadJpeg);
    list.RegisterFileFormat("jpeg", "JPEG image file", ReadJpeg);
    // The open dialog offers *.jpe, which the name test does not catch.
    list.RegisterFileFormat("jpe", "JPEG image file", ReadJpeg);
    for (const char* e : {"win", "vst", "vda", "tga", "icb"})
        list.RegisterFileFormat(e, "Truevision TGA image", ReadTga);
    for (const char* e : {"tiff", "tif", "fax"}) list.RegisterFileFormat(e, "TIFF image", ReadTiff);
    for (const char* e : {"pcx", "pcc", "scr"})
        list.RegisterFileFormat(e, "ZSoft PCX image", ReadPcx);
    for (const char* e : {"rpf", "rla"}) list.RegisterFileFormat(e, "Wavefront RLA image", ReadRla);
    for (const char* e : {"sgi", "rgba", "rgb", "bw"})
        list.RegisterFileFormat(e, "SGI image", ReadSgi);
    for (const char* e : {"psd", "pdd"}) list.RegisterFileFormat(e, "Photoshop image", ReadPsd);
    for (const char* e : {"ppm", "pgm", "pbm"})
        list.RegisterFileFormat(e, "Portable pixmap, graymap, bitmap", ReadPnm);
    for (const char* e : {"cel", "pic"})
        list.RegisterFileFormat(e, "Autodesk Animator image", ReadAutodesk);
    list.RegisterFileFormat("pcd", "Kodak Photo CD image", ReadPcd, kPcdBytesNeeded);
    list.RegisterFileFormat("cut", "Dr. Halo image", ReadCut);
    list.RegisterFileFormat("psp", "Paint Shop Pro image", ReadPsp);
    list.RegisterFileFormat("png", "Portable network graphic", ReadPng);
    list.RegisterFileFormat("webp", "WebP image", ReadWebp);
    for (const char* e : {"heic", "heif"}) list.RegisterFileFormat(e, "HEIF image", ReadHeif);
    list.RegisterFileFormat("avif", "AVIF image", ReadHeif);
    list.RegisterFileFormat("gif", "CompuServe GIF image", ReadGif);
    return list;
}

} // namespace

const FileFormatList& FileFormatList::Instance() {
    static const FileFormatList list = BuildRegistry();
    return list;
}

void FileFormatList::RegisterFileFormat(const std::string& extension,
                                        const std::string& description, PictureReader reader,
                                        std::uint64_t bytesNeeded) {
    formats_.push_back({Lower(extension), description, reader, bytesNeeded});
}

const FileFormat* FileFormatList::Find(const std::string& extension) const {
    const std::string e = Lower(extension);
    for (auto it = formats_.rbegin(); it != formats_.rend(); ++it)
        if (it->Extension == e) return &*it;
    return nullptr;
}

} // namespace quillon
