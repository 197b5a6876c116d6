#include "tests/formats/FixtureBytes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quillon {

void WriteSeed(const std::string& reader, const std::string& name,
               const std::vector<std::uint8_t>& data) {
    const char* root = std::getenv("QUILLON_SEED_DIR");
    if (!root || !*root) return;
    const std::filesystem::path dir = std::filesystem::path(root) / reader;
    std::filesystem::create_directories(dir);
    std::ofstream f(dir / name, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

} // namespace quillon
