// SANE behind the scanner entry points. libsane is opened with dlopen when
// the source manager loads, so the library itself loads on systems without
// SANE and reports the missing library then. Nothing here throws: every C
// entry point answers with a result code and keeps the reason for
// QTWAIN_LastError.
#include "scanning/twain/QuillonTwain.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct TSane {
    void* handle = nullptr;
    bool initialised = false;
    SANE_Status (*init)(SANE_Int*, SANE_Auth_Callback) = nullptr;
    void (*exit)() = nullptr;
    SANE_Status (*get_devices)(const SANE_Device***, SANE_Bool) = nullptr;
    SANE_Status (*open)(SANE_String_Const, SANE_Handle*) = nullptr;
    void (*close)(SANE_Handle) = nullptr;
    const SANE_Option_Descriptor* (*get_option_descriptor)(SANE_Handle, SANE_Int) = nullptr;
    SANE_Status (*control_option)(SANE_Handle, SANE_Int, SANE_Action, void*, SANE_Int*) = nullptr;
    SANE_Status (*get_parameters)(SANE_Handle, SANE_Parameters*) = nullptr;
    SANE_Status (*start)(SANE_Handle) = nullptr;
    SANE_Status (*read)(SANE_Handle, SANE_Byte*, SANE_Int, SANE_Int*) = nullptr;
    void (*cancel)(SANE_Handle) = nullptr;
};

TSane g_sane;
std::string g_source;
std::string g_error;
QTwainChooseSource g_choose = nullptr;
QTwainDeliverImage g_deliver = nullptr;
void* g_context = nullptr;

// Refuses pictures beyond this many pixels (the program's own limit is
// checked again when the picture arrives).
constexpr long long kMaxPixels = 256LL * 1024 * 1024;

template <typename F> bool Resolve(F& fn, const char* name) {
    fn = reinterpret_cast<F>(dlsym(g_sane.handle, name));
    return fn != nullptr;
}

bool LoadSane() {
    if (g_sane.initialised) return true;
    if (!g_sane.handle) {
        g_sane.handle = dlopen("libsane.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!g_sane.handle) {
            g_error = "The scanner library libsane.so.1 could not be loaded.";
            return false;
        }
    }
    if (!Resolve(g_sane.init, "sane_init") || !Resolve(g_sane.exit, "sane_exit") ||
        !Resolve(g_sane.get_devices, "sane_get_devices") || !Resolve(g_sane.open, "sane_open") ||
        !Resolve(g_sane.close, "sane_close") ||
        !Resolve(g_sane.get_option_descriptor, "sane_get_option_descriptor") ||
        !Resolve(g_sane.control_option, "sane_control_option") ||
        !Resolve(g_sane.get_parameters, "sane_get_parameters") ||
        !Resolve(g_sane.start, "sane_start") || !Resolve(g_sane.read, "sane_read") ||
        !Resolve(g_sane.cancel, "sane_cancel")) {
        g_error = "The scanner library libsane.so.1 lacks a SANE function.";
        return false;
    }
    SANE_Int version = 0;
    if (g_sane.init(&version, nullptr) != SANE_STATUS_GOOD) {
        g_error = "The scanner library could not start.";
        return false;
    }
    g_sane.initialised = true;
    return true;
}

// Sets the "mode" option to colour where the device offers it.
void ChooseColourMode(SANE_Handle h) {
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor* d = g_sane.get_option_descriptor(h, i);
        if (!d) return;
        if (!d->name || std::strcmp(d->name, SANE_NAME_SCAN_MODE) != 0) continue;
        if (d->type != SANE_TYPE_STRING || d->constraint_type != SANE_CONSTRAINT_STRING_LIST)
            return;
        for (const SANE_String_Const* s = d->constraint.string_list; s && *s; ++s)
            if (std::strcmp(*s, SANE_VALUE_SCAN_MODE_COLOR) == 0) {
                std::vector<char> value(std::size_t(d->size > 0 ? d->size : 16) + 8, 0);
                std::strncpy(value.data(), *s, value.size() - 1);
                g_sane.control_option(h, i, SANE_ACTION_SET_VALUE, value.data(), nullptr);
                return;
            }
        return;
    }
}

// Reads one frame's bytes; false on a read error.
bool ReadFrame(SANE_Handle h, std::vector<unsigned char>& out, std::size_t limit) {
    unsigned char buffer[32768];
    for (;;) {
        SANE_Int got = 0;
        const SANE_Status s = g_sane.read(h, buffer, sizeof buffer, &got);
        if (s == SANE_STATUS_EOF) return true;
        if (s != SANE_STATUS_GOOD) return false;
        if (out.size() + std::size_t(got) > limit) return false;
        out.insert(out.end(), buffer, buffer + got);
    }
}

// Scans one page into 8-bit RGB. Handles one-pass RGB, gray and three-pass
// red/green/blue frames of depth 8, 16 (high byte kept) and 1 (line art).
bool Scan(SANE_Handle h, int& width, int& height, std::vector<unsigned char>& rgb) {
    bool started = false;
    for (bool last = false; !last;) {
        if (g_sane.start(h) != SANE_STATUS_GOOD) {
            g_error = "The scanner could not start.";
            return false;
        }
        SANE_Parameters p{};
        if (g_sane.get_parameters(h, &p) != SANE_STATUS_GOOD || p.pixels_per_line <= 0 ||
            p.bytes_per_line <= 0 || !(p.depth == 1 || p.depth == 8 || p.depth == 16)) {
            g_error = "The scanner reported a picture format this program cannot take.";
            return false;
        }
        last = p.last_frame != 0;
        std::vector<unsigned char> data;
        const std::size_t limit = std::size_t(kMaxPixels) * 6;
        if (!ReadFrame(h, data, limit)) {
            g_error = "The scan was cancelled or failed.";
            return false;
        }
        const long long rows = (long long)(data.size() / std::size_t(p.bytes_per_line));
        if (rows <= 0 || (long long)p.pixels_per_line * rows > kMaxPixels) {
            g_error = "The scan delivered no picture.";
            return false;
        }
        if (!started) {
            width = p.pixels_per_line;
            height = int(rows);
            rgb.assign(std::size_t(width) * std::size_t(height) * 3, 0);
            started = true;
        }
        const int channels = p.format == SANE_FRAME_RGB ? 3 : 1;
        const int bytesPerSample = p.depth == 16 ? 2 : 1;
        const int rowsUsed = int(std::min<long long>(rows, height));
        for (int y = 0; y < rowsUsed; ++y) {
            const unsigned char* row = data.data() + std::size_t(y) * std::size_t(p.bytes_per_line);
            unsigned char* dst = rgb.data() + std::size_t(y) * std::size_t(width) * 3;
            for (int x = 0; x < width && x < p.pixels_per_line; ++x) {
                for (int c = 0; c < channels; ++c) {
                    unsigned char v;
                    if (p.depth == 1) {
                        // Line art: a set bit is black.
                        v = (row[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;
                    } else {
                        const std::size_t at = (std::size_t(x) * channels + std::size_t(c)) *
                                               std::size_t(bytesPerSample);
                        if (at + std::size_t(bytesPerSample) > std::size_t(p.bytes_per_line))
                            continue;
                        // 16-bit samples are in the machine's byte order.
                        v = bytesPerSample == 1
                                ? row[at]
                                : (unsigned char)(*reinterpret_cast<const uint16_t*>(row + at) >>
                                                  8);
                    }
                    switch (p.format) {
                    case SANE_FRAME_RGB:
                        dst[x * 3 + c] = v;
                        break;
                    case SANE_FRAME_RED:
                        dst[x * 3] = v;
                        break;
                    case SANE_FRAME_GREEN:
                        dst[x * 3 + 1] = v;
                        break;
                    case SANE_FRAME_BLUE:
                        dst[x * 3 + 2] = v;
                        break;
                    default:
                        dst[x * 3] = dst[x * 3 + 1] = dst[x * 3 + 2] = v;
                        break;
                    }
                }
            }
        }
    }
    return started;
}

} // namespace

extern "C" {

void QTWAIN_SetCallbacks(QTwainChooseSource choose, QTwainDeliverImage deliver, void* context) {
    g_choose = choose;
    g_deliver = deliver;
    g_context = context;
}

const char* QTWAIN_LastError(void) {
    return g_error.c_str();
}

int TWAIN_LoadSourceManager(void) {
    g_error.clear();
    return LoadSane() ? 1 : 0;
}

void TWAIN_UnloadSourceManager(void) {
    if (g_sane.initialised) g_sane.exit();
    g_sane.initialised = false;
}

int QTWAIN_ListSources(QTwainSourceFound found, void* context) {
    g_error.clear();
    const bool wasLoaded = g_sane.initialised;
    if (!LoadSane()) return 0;
    const SANE_Device** devices = nullptr;
    const bool listed = g_sane.get_devices(&devices, SANE_FALSE) == SANE_STATUS_GOOD;
    if (listed && devices) {
        for (const SANE_Device** d = devices; *d; ++d) {
            const std::string name = (*d)->name ? (*d)->name : "";
            const std::string label = std::string((*d)->vendor ? (*d)->vendor : "") + " " +
                                      ((*d)->model ? (*d)->model : "") + " (" + name + ")";
            if (found) found(context, name.c_str(), label.c_str());
        }
    }
    if (!listed) g_error = "The scanner library could not list the scanners.";
    if (!wasLoaded) TWAIN_UnloadSourceManager();
    return listed ? 1 : 0;
}

void QTWAIN_SetSource(const char* name) {
    g_source = name ? name : "";
}

int TWAIN_SelectImageSource(long /*parentWindow*/) {
    struct Found {
        std::vector<std::string> names, labels;
    } found;
    const auto add = [](void* context, const char* name, const char* label) {
        auto* f = static_cast<Found*>(context);
        f->names.emplace_back(name);
        f->labels.emplace_back(label);
    };
    if (!QTWAIN_ListSources(add, &found)) return 0;
    std::vector<const char*> n, l;
    for (std::size_t i = 0; i < found.names.size(); ++i) {
        n.push_back(found.names[i].c_str());
        l.push_back(found.labels[i].c_str());
    }
    const int count = int(found.names.size());
    const int chosen =
        g_choose ? g_choose(g_context, n.data(), l.data(), count) : (count > 0 ? 0 : -1);
    if (chosen < 0 || chosen >= count) return 0;
    g_source = found.names[std::size_t(chosen)];
    return 1;
}

int TWAIN_AcquireToClipboard(long /*window*/, long /*pixelTypes*/) {
    g_error.clear();
    if (!LoadSane()) return 0;
    std::string source = g_source;
    if (source.empty()) {
        const SANE_Device** devices = nullptr;
        if (g_sane.get_devices(&devices, SANE_FALSE) == SANE_STATUS_GOOD && devices && devices[0])
            source = devices[0]->name;
    }
    if (source.empty()) {
        g_error = "No scanner was found.";
        return 0;
    }
    SANE_Handle h = nullptr;
    if (g_sane.open(source.c_str(), &h) != SANE_STATUS_GOOD || !h) {
        g_error = "The scanner " + source + " could not be opened.";
        return 0;
    }
    ChooseColourMode(h);
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const bool scanned = Scan(h, width, height, rgb);
    g_sane.cancel(h);
    g_sane.close(h);
    if (!scanned) return 0;
    if (!g_deliver) return 0;
    return g_deliver(g_context, width, height, rgb.data()) ? 1 : 0;
}

} // extern "C"
