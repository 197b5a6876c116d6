// JPEG files through the IJG library interface (libjpeg-turbo).
//
// Read: full scale, colour output, block smoothing on, the accurate integer
// inverse transform; baseline and progressive files; YCbCr, RGB and
// gray-scale files give PixelFormat::Bgr24; CMYK and YCCK files (Adobe's inverted
// values when the Adobe marker says so) are converted to RGB here.
// A file of more scans than the limit, or needing more working memory (the
// coefficients of a progressive file), is refused.
// Write: 24 bits, baseline JFIF, three components, quality 90 with baseline
// tables forced, the library's other defaults.
//
// The library reports errors by calling back into our error manager, which
// jumps back with longjmp, keeping the library's own message text. Each
// setjmp sits in one small function that holds no C++ object with a
// destructor, and the error becomes a PictureError only after that function
// has returned. A reading error names the file and says in words what is
// wrong ("photo.png" is not a JPEG file), followed by the library's text.
#include "formats/Readers.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

namespace quillon {

namespace {

struct JpegError {
    jpeg_error_mgr Pub;
    std::jmp_buf Jump;
    int Code;
    bool OverLimit;                // refused by a limit of ours rather than by the library
    char Message[JMSG_LENGTH_MAX]; // the library's text for Code
};

// The progress monitor, with the scan limit it enforces.
struct JpegProgress {
    jpeg_progress_mgr Pub;
    long MaxScans;
};

void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    err->Code = cinfo->err->msg_code;
    cinfo->err->format_message(cinfo, err->Message);
    std::longjmp(err->Jump, 1);
}

// Warnings are silent, except running out of data: a truncated file is an
// error rather than a picture with its lower part missing.
void EmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

void InitError(JpegError& err) {
    jpeg_std_error(&err.Pub);
    err.Pub.error_exit = ErrorExit;
    err.Pub.emit_message = EmitMessage;
    err.Pub.output_message = OutputMessage;
    err.Code = 0;
    err.OverLimit = false;
    err.Message[0] = '\0';
}

// Progressive files can hold any number of scans; one with more than the
// limit is refused instead of decoding for minutes.
void LimitScans(j_common_ptr cinfo) {
    const auto* progress = reinterpret_cast<JpegProgress*>(cinfo->progress);
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > progress->MaxScans) {
        reinterpret_cast<JpegError*>(cinfo->err)->OverLimit = true;
        cinfo->err->msg_code = JERR_BAD_SCAN_SCRIPT;
        ErrorExit(cinfo);
    }
}

struct DecodeJob {
    jpeg_decompress_struct Info;
    JpegError Err;
    JpegProgress Progress;
    const unsigned char* Data;
    unsigned long Size;
    long MaxWorkBytes; // libjpeg's own memory, beyond which it fails
    bool Created;
    bool Cmyk;
    bool FourBytes;     // PixelFormat::Device output: blue, green, red, zero
    RowsObserver* Rows; // told of the rows as they are decoded; may be null
};

// Reads the header and fixes the output parameters. On failure the
// decompressor is destroyed and false returned.
bool DecodeHeader(DecodeJob* job) {
    if (setjmp(job->Err.Jump)) {
        jpeg_destroy_decompress(&job->Info);
        job->Created = false;
        return false;
    }
    job->Info.err = &job->Err.Pub;
    jpeg_create_decompress(&job->Info);
    job->Created = true;
    // A progressive file keeps every coefficient of the picture until its
    // last scan; past this limit the library fails rather than allocate.
    job->Info.mem->max_memory_to_use = job->MaxWorkBytes;
    job->Progress.Pub.progress_monitor = LimitScans;
    job->Info.progress = &job->Progress.Pub;
    jpeg_mem_src(&job->Info, job->Data, job->Size);
    jpeg_read_header(&job->Info, TRUE);
    job->Info.scale_num = 1;
    job->Info.scale_denom = 1;
    job->Info.do_block_smoothing = TRUE;
    job->Info.dct_method = JDCT_ISLOW;
    job->Info.quantize_colors = FALSE;
    job->Cmyk = job->Info.jpeg_color_space == JCS_CMYK || job->Info.jpeg_color_space == JCS_YCCK;
    job->Info.out_color_space = job->Cmyk ? JCS_CMYK : job->FourBytes ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&job->Info);
    return true;
}

// Tells the job's observer, every few rows and at the last one, how many
// rows are done.
void TellRows(DecodeJob* job, const unsigned char* bits, std::size_t stride) {
    constexpr JDIMENSION kEvery = 16;
    const JDIMENSION done = job->Info.output_scanline, h = job->Info.output_height;
    if (job->Rows && (done % kEvery == 0 || done == h))
        job->Rows->RowsDecoded(bits, stride, int(job->Info.output_width), int(h),
                               job->FourBytes ? 4 : 3, int(done));
}

// Decodes every row into bits (blue, green, red, and a zero byte with
// FourBytes; stride bytes a row). cmykRow holds one row of four-component
// samples for CMYK files. The decompressor is destroyed in every case.
bool DecodeRows(DecodeJob* job, unsigned char* bits, std::size_t stride, unsigned char* cmykRow) {
    if (setjmp(job->Err.Jump)) {
        jpeg_destroy_decompress(&job->Info);
        job->Created = false;
        return false;
    }
    jpeg_start_decompress(&job->Info);
    const JDIMENSION w = job->Info.output_width;
    // Adobe's CMYK files store inverted values (255 is no ink).
    const bool inverted = job->Info.saw_Adobe_marker;
    const int bpp = job->FourBytes ? 4 : 3;
    while (job->Info.output_scanline < job->Info.output_height) {
        unsigned char* row = bits + std::size_t(job->Info.output_scanline) * stride;
        JSAMPROW target = job->Cmyk ? cmykRow : row;
        jpeg_read_scanlines(&job->Info, &target, 1);
        if (!job->Cmyk) {
            // The library fills the fourth byte with 255; a 32-bit bitmap
            // made any other way has zero there.
            // A whole pixel at a time, which the compiler vectorises; the
            // mask keeps the three colour bytes in any byte order.
            if (job->FourBytes) {
                const unsigned char maskBytes[4] = {0xFF, 0xFF, 0xFF, 0};
                std::uint32_t mask;
                std::memcpy(&mask, maskBytes, 4);
                for (JDIMENSION x = 0; x < w; ++x) {
                    std::uint32_t v;
                    std::memcpy(&v, row + 4 * std::size_t(x), 4);
                    v &= mask;
                    std::memcpy(row + 4 * std::size_t(x), &v, 4);
                }
            }
            TellRows(job, bits, stride);
            continue;
        }
        const unsigned char* s = cmykRow;
        for (JDIMENSION x = 0; x < w; ++x, s += 4, row += bpp) {
            const unsigned k = inverted ? s[3] : 255u - s[3];
            for (int c = 0; c < 3; ++c) {
                const unsigned v = inverted ? s[c] : 255u - s[c];
                row[2 - c] = (unsigned char)((v * k + 127) / 255);
            }
            if (bpp == 4) row[3] = 0;
        }
        TellRows(job, bits, stride);
    }
    jpeg_finish_decompress(&job->Info);
    jpeg_destroy_decompress(&job->Info);
    job->Created = false;
    return true;
}

PictureErrorKind KindOf(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JERR_INPUT_EMPTY:
    case JERR_INPUT_EOF:
        return PictureErrorKind::Truncated;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
        return PictureErrorKind::TooLarge;
    case JERR_ARITH_NOTIMPL:
    case JERR_BAD_PRECISION:
    case JERR_CCIR601_NOTIMPL:
    case JERR_COMPONENT_COUNT:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOTIMPL:
    case JERR_NOT_COMPILED:
    case JERR_SOF_UNSUPPORTED:
        return PictureErrorKind::Unsupported;
    default:
        return PictureErrorKind::Malformed;
    }
}

// The library's own text for a message code that it did not raise itself.
std::string LibraryText(int code) {
    jpeg_error_mgr mgr;
    jpeg_std_error(&mgr);
    mgr.msg_code = code;
    jpeg_common_struct common{};
    common.err = &mgr;
    char text[JMSG_LENGTH_MAX];
    mgr.format_message(&common, text);
    return text;
}

// What is wrong with a file the reader refused, in words.
std::string ReadFailureWords(int code, PictureErrorKind kind, bool overLimit) {
    if (code == JERR_NO_SOI) return "is not a JPEG file";
    if (overLimit) return "has more scans than this program reads";
    switch (kind) {
    case PictureErrorKind::Truncated:
        return "ends before the picture is complete";
    case PictureErrorKind::TooLarge:
        return "is too large to open";
    case PictureErrorKind::Unsupported:
        return "uses a kind of JPEG this program cannot read";
    default:
        return "is damaged";
    }
}

[[noreturn]] void JpegReadFailed(const std::string& fileName, int code, PictureErrorKind kind,
                                 const std::string& libraryText, bool overLimit = false) {
    std::string message;
    if (fileName.empty()) {
        message = "The JPEG picture";
    } else {
        message = "\"";
        message += std::filesystem::path(fileName).filename().string();
        message += "\"";
    }
    message += ' ';
    message += ReadFailureWords(code, kind, overLimit);
    message += " (";
    message += libraryText;
    message += ')';
    throw PictureError(message, kind);
}

[[noreturn]] void JpegReadFailed(const std::string& fileName, const JpegError& err) {
    JpegReadFailed(fileName, err.Code,
                   err.OverLimit ? PictureErrorKind::TooLarge : KindOf(err.Code), err.Message,
                   err.OverLimit);
}

// Destroys a decompressor left alive when C++ code between the library calls
// throws (a picture over the size limit, a failed allocation).
struct DecodeCleanup {
    DecodeJob& Job;
    ~DecodeCleanup() {
        if (Job.Created) jpeg_destroy_decompress(&Job.Info);
    }
};

struct EncodeJob {
    jpeg_compress_struct Info;
    JpegError Err;
    const unsigned char* Bits;
    std::size_t Stride;
    int Width;
    int Height;
    int InputBytes; // 3: blue, green, red; 4: blue, green, red, unused
    unsigned char* Out;
    unsigned long OutSize;
};

bool EncodeRun(EncodeJob* job) {
    if (setjmp(job->Err.Jump)) {
        jpeg_destroy_compress(&job->Info);
        return false;
    }
    job->Info.err = &job->Err.Pub;
    jpeg_create_compress(&job->Info);
    jpeg_mem_dest(&job->Info, &job->Out, &job->OutSize);
    job->Info.image_width = JDIMENSION(job->Width);
    job->Info.image_height = JDIMENSION(job->Height);
    job->Info.input_components = job->InputBytes;
    job->Info.in_color_space = job->InputBytes == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&job->Info);
    jpeg_set_quality(&job->Info, 90, TRUE);
    jpeg_start_compress(&job->Info, TRUE);
    while (job->Info.next_scanline < job->Info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(job->Bits) +
                       std::size_t(job->Info.next_scanline) * job->Stride;
        jpeg_write_scanlines(&job->Info, &row, 1);
    }
    jpeg_finish_compress(&job->Info);
    jpeg_destroy_compress(&job->Info);
    return true;
}

} // namespace

void ReadJpeg(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out,
              const DecodeLimits& limits) {
    ReadJpegAs(data, fileName, PixelFormat::Bgr24, out, limits);
}

void ReadJpegAs(std::span<const std::uint8_t> data, const std::string& fileName, PixelFormat format,
                Bitmap& out, const DecodeLimits& limits, RowsObserver* rows) {
    DecodeJob job{};
    job.FourBytes = format == PixelFormat::Device;
    InitError(job.Err);
    job.Progress.MaxScans = limits.MaxJpegScans;
    job.MaxWorkBytes = long(limits.MaxJpegWorkBytes);
    job.Data = data.data();
    job.Size = (unsigned long)data.size();
    DecodeCleanup cleanup{job};
    if (!DecodeHeader(&job)) JpegReadFailed(fileName, job.Err);
    const int w = int(job.Info.output_width), h = int(job.Info.output_height);
    limits.CheckSize(w, h);
    // Huffman coding spends at least one bit on every 8 x 8 block of the
    // first scan: a file far too short for its frame is cut off, and is
    // refused before the picture is allocated.
    if (!job.Info.arith_code &&
        std::uint64_t(w) * std::uint64_t(h) >
            std::uint64_t(data.size()) * std::uint64_t(limits.JpegPixelsPerByte))
        JpegReadFailed(fileName, JWRN_JPEG_EOF, PictureErrorKind::Truncated,
                       LibraryText(JWRN_JPEG_EOF));
    // Arithmetic coding has no such bound (a blank block costs a fraction of
    // a bit), so a tiny file can describe a huge blank picture: the budget
    // holds for it all the same.
    limits.CheckBudget("JPEG", w, h, data.size());
    // Every byte of every row is written below, so the rows are not cleared
    // first.
    Bitmap picture;
    picture.MakeForOverwrite(w, h, job.FourBytes ? PixelFormat::Device : PixelFormat::Bgr24);
    std::vector<unsigned char> cmykRow(job.Cmyk ? std::size_t(w) * 4 : 0);
    job.Rows = rows;
    const bool decoded = DecodeRows(&job, picture.Bits(), picture.Stride(), cmykRow.data());
    // Before the rows can go.
    if (rows) rows->DecodingEnded(decoded);
    if (!decoded) JpegReadFailed(fileName, job.Err);
    out.SwapPicture(picture);
}

std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bitmap) {
    // Indexed pictures are copied to 24 bits; the others are read in place.
    Bitmap copy;
    const Bitmap* source = &bitmap;
    if (bitmap.IsIndexed()) {
        copy.Assign(bitmap);
        copy.SetPixelFormat(PixelFormat::Bgr24);
        source = &copy;
    }
    EncodeJob job{};
    InitError(job.Err);
    job.Bits = source->Bits();
    job.Stride = source->Stride();
    job.Width = source->Width();
    job.Height = source->Height();
    job.InputBytes = source->BytesPerPixel();
    const bool ok = EncodeRun(&job);
    std::vector<std::uint8_t> bytes;
    if (ok) {
        try {
            bytes.assign(job.Out, job.Out + job.OutSize);
        } catch (...) {
            std::free(job.Out);
            throw;
        }
    }
    std::free(job.Out);
    if (!ok)
        throw PictureError(std::string("Cannot write JPEG: ") + job.Err.Message,
                           PictureErrorKind::Io);
    return bytes;
}

} // namespace quillon
