// The architecture, checked on the sources themselves: the engine's layers
// include only downward (canvas <- formats <- frames <- document <- the
// command line and the desktop program), nothing but the desktop program
// includes Qt, nothing outside it includes its headers (its own tests
// aside), and its files include each other without a circle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = fs::path(QUILLON_TEST_SOURCE_DIR).parent_path();

// The layers from the bottom; the last two sit side by side on top.
const std::vector<std::string> kLayers = {"canvas", "formats", "frames", "document", "cli", "app"};

std::optional<int> LayerOf(const std::string& folder) {
    for (std::size_t i = 0; i < kLayers.size(); ++i)
        if (kLayers[i] == folder) return int(std::min<std::size_t>(i, 4));
    return std::nullopt;
}

struct Include {
    std::string path; // as written between the quotes or brackets
    bool quoted;
    int line;
};

struct SourceFile {
    std::string path; // relative to the root
    std::vector<Include> includes;
};

std::vector<SourceFile> SourcesUnder(const std::string& folder) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<SourceFile> files;
    const fs::path base = kRoot / folder;
    if (!fs::exists(base)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(base)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        SourceFile file{fs::relative(entry.path(), kRoot).generic_string(), {}};
        std::ifstream in(entry.path());
        std::string text;
        for (int n = 1; std::getline(in, text); ++n) {
            std::smatch m;
            if (std::regex_search(text, m, includeLine))
                file.includes.push_back({m[2].str(), m[1].str() == "\"", n});
        }
        files.push_back(std::move(file));
    }
    return files;
}

std::string TopFolder(const std::string& path) {
    return path.substr(0, path.find('/'));
}

bool IsQtHeader(const Include& inc) {
    return !inc.quoted && inc.path.size() > 1 && inc.path[0] == 'Q' &&
           (std::isupper(static_cast<unsigned char>(inc.path[1])) || inc.path.rfind("Qt", 0) == 0);
}

} // namespace

TEST(Layers, EngineAndCommandLineIncludeOnlyDownward) {
    for (const char* folder : {"canvas", "formats", "frames", "document", "cli"}) {
        const int own = *LayerOf(folder);
        for (const SourceFile& f : SourcesUnder(folder))
            for (const Include& inc : f.includes) {
                if (!inc.quoted) continue;
                const std::optional<int> target = LayerOf(TopFolder(inc.path));
                if (!target) continue;
                const bool sideways = *target == 4 && TopFolder(inc.path) != folder;
                EXPECT_TRUE(*target <= own && !sideways)
                    << f.path << ":" << inc.line << " includes " << inc.path
                    << ", against the direction of the layers";
            }
    }
}

TEST(Layers, OnlyTheDesktopProgramIncludesQt) {
    for (const char* folder : {"canvas", "formats", "frames", "document", "cli", "tools"})
        for (const SourceFile& f : SourcesUnder(folder))
            for (const Include& inc : f.includes)
                EXPECT_FALSE(IsQtHeader(inc))
                    << f.path << ":" << inc.line << " includes Qt's " << inc.path;
}

TEST(Layers, NothingOutsideTheDesktopProgramIncludesIt) {
    // The desktop program's own tests drive it, so they may, and so may the
    // benchmark that times its main window (bench/desktop).
    for (const char* folder :
         {"canvas", "formats", "frames", "document", "cli", "tools", "bench", "fuzz", "scanning"})
        for (const SourceFile& f : SourcesUnder(folder)) {
            if (f.path.rfind("bench/desktop/", 0) == 0) continue;
            for (const Include& inc : f.includes)
                EXPECT_FALSE(inc.quoted && TopFolder(inc.path) == "app")
                    << f.path << ":" << inc.line << " includes " << inc.path;
        }
}

TEST(Layers, DesktopProgramFilesIncludeEachOtherWithoutACircle) {
    // A unit is a header with its source file; an edge says that some file
    // of one unit includes the other unit's header.
    auto unitOf = [](const std::string& path) { return path.substr(0, path.rfind('.')); };
    std::map<std::string, std::set<std::string>> edges;
    for (const SourceFile& f : SourcesUnder("app")) {
        auto& out = edges[unitOf(f.path)];
        for (const Include& inc : f.includes)
            if (inc.quoted && TopFolder(inc.path) == "app" && unitOf(inc.path) != unitOf(f.path))
                out.insert(unitOf(inc.path));
    }
    // Depth-first search; a unit met again while still on the path closes a
    // circle, which is reported with its members.
    std::map<std::string, int> state; // 0 new, 1 on the path, 2 done
    std::vector<std::string> path;
    std::function<void(const std::string&)> visit = [&](const std::string& u) {
        state[u] = 1;
        path.push_back(u);
        for (const std::string& v : edges[u]) {
            if (state[v] == 1) {
                std::string circle;
                for (auto it = std::find(path.begin(), path.end(), v); it != path.end(); ++it)
                    circle += *it + " -> ";
                ADD_FAILURE() << "include circle: " << circle << v;
            } else if (state[v] == 0) {
                visit(v);
            }
        }
        path.pop_back();
        state[u] = 2;
    };
    for (const auto& [unit, targets] : edges)
        if (state[unit] == 0) visit(unit);
}
