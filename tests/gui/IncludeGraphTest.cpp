// The shell's include lines read from the source tree: a header and its
// source file form one unit, and the units' "app/..." includes must form no
// circle; no program or library outside app/ (and its tests) includes it.
#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = QUILLON_SOURCE_DIR;

bool IsSourceFile(const fs::path& p) {
    const std::string ext = p.extension().string();
    return ext == ".h" || ext == ".cpp";
}

// The "app/..." includes of one file, as units (the path without its
// extension, relative to the source root).
std::vector<std::string> AppIncludes(const fs::path& file) {
    const std::string directive = "#include";
    const std::string shell = "\"app/";
    std::vector<std::string> out;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, directive.size(), directive) != 0)
            continue;
        const auto open = line.find(shell, start + directive.size());
        const auto close = open == std::string::npos ? open : line.find('"', open + 1);
        if (close == std::string::npos) continue;
        fs::path target = line.substr(open + 1, close - open - 1);
        target.replace_extension();
        out.push_back(target.generic_string());
    }
    return out;
}

std::string UnitOf(const fs::path& file) {
    fs::path relative = fs::relative(file, kSource);
    relative.replace_extension();
    return relative.generic_string();
}

using Graph = std::map<std::string, std::set<std::string>>;

Graph AppGraph() {
    Graph graph;
    for (const auto& entry : fs::recursive_directory_iterator(kSource / "app")) {
        if (!entry.is_regular_file() || !IsSourceFile(entry.path())) continue;
        const std::string unit = UnitOf(entry.path());
        auto& edges = graph[unit];
        for (const std::string& to : AppIncludes(entry.path()))
            if (to != unit) edges.insert(to);
    }
    return graph;
}

// A circle through the graph as "a -> b -> a", or empty when there is none.
std::string FindCircle(const Graph& graph) {
    std::map<std::string, int> state; // 1 on the path, 2 done
    std::vector<std::string> path;
    std::string circle;
    std::function<bool(const std::string&)> visit = [&](const std::string& unit) {
        state[unit] = 1;
        path.push_back(unit);
        const auto it = graph.find(unit);
        if (it != graph.end())
            for (const std::string& to : it->second) {
                if (state[to] == 1) {
                    auto from = std::find(path.begin(), path.end(), to);
                    for (; from != path.end(); ++from) circle += *from + " -> ";
                    circle += to;
                    return true;
                }
                if (state[to] == 0 && visit(to)) return true;
            }
        path.pop_back();
        state[unit] = 2;
        return false;
    };
    for (const auto& [unit, edges] : graph)
        if (state[unit] == 0 && visit(unit)) break;
    return circle;
}

} // namespace

class IncludeGraphTest : public QObject {
    Q_OBJECT
private slots:
    void theShellsUnitsIncludeEachOtherWithoutACircle() {
        const Graph graph = AppGraph();
        QVERIFY(graph.count("app/MainWindow"));
        QVERIFY(graph.at("app/MainWindow").count("app/DocumentController"));
        const std::string circle = FindCircle(graph);
        QVERIFY2(circle.empty(), circle.c_str());
    }

    void theCircleFinderFindsACircle() {
        const Graph graph = {{"a", {"b"}}, {"b", {"c"}}, {"c", {"a"}}, {"d", {"a"}}};
        QCOMPARE(QString::fromStdString(FindCircle(graph)), QString("a -> b -> c -> a"));
        QVERIFY(FindCircle({{"a", {"b"}}, {"b", {}}, {"c", {"a", "b"}}}).empty());
    }

    void nothingOutsideTheShellIncludesIt() {
        for (const char* folder : {"canvas", "formats", "frames", "document", "cli", "tools",
                                   "scanning", "bench", "fuzz"}) {
            if (!fs::exists(kSource / folder)) continue;
            for (const auto& entry : fs::recursive_directory_iterator(kSource / folder)) {
                if (!entry.is_regular_file() || !IsSourceFile(entry.path())) continue;
                const auto includes = AppIncludes(entry.path());
                QVERIFY2(includes.empty(), qPrintable(QString::fromStdString(
                                               entry.path().string() + " includes the shell")));
            }
        }
    }
};

QTEST_MAIN(IncludeGraphTest)
#include "IncludeGraphTest.moc"
