// quillon-frame: frames photos from the command line with the program's own
// photo document, so a file framed here equals what the desktop program
// shows for the same choices.
#include "canvas/PixelReserve.h"
#include "cli/Batch.h"
#include "cli/Framing.h"
#include "cli/Options.h"
#include "document/Presets.h"
#include "document/RecipeFile.h"
#include "formats/DataPaths.h"
#include "formats/FileWriting.h"
#include "formats/Formats.h"
#include "formats/Octree.h"
#include "formats/Readers.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

using namespace quillon;

namespace {

// The data folder: the one given, else the build's when it exists (running
// from the build tree), else the installed one beside this program's folder,
// else the one of the configured installation prefix.
std::string DataFolder(const std::string& given) {
    if (!given.empty()) return given;
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(QUILLON_BUILD_DATA_DIR, ec)) return QUILLON_BUILD_DATA_DIR;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path installed =
            (self.parent_path() / QUILLON_RELATIVE_DATA_DIR).lexically_normal();
        if (fs::is_directory(installed, ec)) return installed.string();
    }
    return QUILLON_INSTALL_DATA_DIR;
}

int Usage(const std::string& message) {
    std::fprintf(stderr, "quillon-frame: %s\nTry 'quillon-frame --help'.\n", message.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    CliOptions o;
    try {
        o = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        return Usage(e.what());
    }
    if (o.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (o.version) {
        std::printf("quillon-frame %s\n", QUILLON_VERSION_TEXT);
        return 0;
    }
    if (o.listPresets) {
        for (const PresetEntry& p : ListPresets(DataFolder(o.dataDir), UserPresetFolder()))
            std::printf("%s%s\n", p.name.c_str(), p.user ? "  (yours)" : "");
        return 0;
    }
    if (o.listStyles) {
        std::fputs(StyleListText().c_str(), stdout);
        return 0;
    }

    const std::string data = DataFolder(o.dataDir);
    std::error_code ec;
    if (!o.dataDir.empty() && !std::filesystem::is_directory(data, ec))
        return Usage("the data folder " + data + " does not exist");
    SetStartFolder(data);
    // The framing: the options', or a recipe read from a file or a preset.
    if (!o.recipeFile.empty() || !o.preset.empty()) {
        std::string file = o.recipeFile;
        if (!o.preset.empty()) {
            const auto preset = FindPreset(o.preset, data, UserPresetFolder());
            if (!preset)
                return Usage("no preset is called \"" + o.preset + "\" (see --list-presets)");
            file = preset->file;
        }
        try {
            // --seed, --print-size and --dpi given with a recipe take the
            // place of its own.
            const Recipe given = o.recipe;
            o.recipe = LoadRecipe(file);
            if (given.seed) o.recipe.seed = given.seed;
            if (given.printSize || given.dpi) {
                o.recipe.printSize = given.printSize;
                o.recipe.dpi = given.dpi;
            }
        } catch (const RecipeError& e) {
            return Usage(e.what());
        } catch (const PictureError& e) {
            return Usage(e.what()); // the file cannot be read
        }
    }
    if (!o.saveRecipeFile.empty()) {
        try {
            SaveRecipe(o.recipe, o.saveRecipeFile);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "quillon-frame: %s\n", e.what());
            return 1;
        }
        if (o.inputs.empty()) return 0;
    }
    for (auto& g : o.recipe.groups) {
        if (!g.pattern) continue;
        const std::string found = ResolvePatternFile(*g.pattern);
        if (found.empty()) return Usage("cannot find the pattern file " + *g.pattern);
        g.pattern = found;
    }

    if (!o.outputDir.empty()) return RunBatch(o);
    // One photo: every large buffer is fresh and written at once, and the
    // second core has nothing else to do.
    pixel_memory::PrefaultFreshBuffers(true);
    try {
        // A GIF of the photo as it is: its palette is built while the photo
        // is decoded.
        OctreeWhileDecoding octree;
        LoadOptions load{o.autoOrient};
        const bool plainGif =
            SaveFormatForName(o.output) == SaveFormat::Gif && LeavesPhotoAsIs(o.recipe);
        if (plainGif) load.rows = &octree;
        auto doc = FrameByRecipe(o.inputs[0], o.recipe, load);
        const Bitmap* picture = doc->Result();
        const auto palette = plainGif && picture ? octree.PaletteOf(*picture) : std::nullopt;
        if (palette)
            WriteFileReplacing(o.output, EncodeGif(*picture, *palette));
        else
            SaveByName(*doc, o.output);
    } catch (const SettingError& e) {
        return Usage(e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillon-frame: %s\n", e.what());
        return 1;
    }
    return 0;
}
