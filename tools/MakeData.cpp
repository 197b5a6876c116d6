// quillon-makedata DIR: writes the program's data folder.
#include "tools/MakeData.h"

#include "canvas/Types.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace quillon {

void WriteDecorations(const std::string& dataDir) {
    WritePatterns(dataDir);
    WriteMouldings(dataDir);
    WriteOverlays(dataDir);
    WriteMasks(dataDir);
}

} // namespace quillon

using namespace quillon;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillon-makedata DATA-DIR\n");
        return 2;
    }
    try {
        const std::string dir = argv[1];
        std::filesystem::create_directories(dir);
        WriteSamplePhoto(dir);
        WriteShadowPieces(dir);
        WriteDecorations(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillon-makedata: %s\n", e.what());
        return 1;
    }
    return 0;
}
