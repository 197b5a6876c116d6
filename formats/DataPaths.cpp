#include "formats/DataPaths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace quillon {

namespace fs = std::filesystem;

namespace {

std::string& StartFolderStore() {
    static std::string folder = [] {
        std::error_code ec;
        return fs::current_path(ec).string();
    }();
    return folder;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string LowerExtension(const fs::path& p) {
    std::string e = p.extension().string();
    if (!e.empty() && e[0] == '.') e.erase(0, 1);
    for (auto& c : e) c = char(std::tolower(static_cast<unsigned char>(c)));
    return e;
}

// The picture kinds a decoration may be stored as, in the order a stored
// name's stand-ins are preferred.
constexpr const char* kPictureExtensions[] = {"bmp", "jpg", "jpeg"};

bool IsPictureExtension(const std::string& lowerExtension) {
    for (const char* e : kPictureExtensions)
        if (lowerExtension == e) return true;
    return false;
}

// The picture in folder whose name is stem plus another picture extension,
// letter case ignored; empty when there is none.
std::string SamePictureOtherKind(const fs::path& folder, const std::string& stem) {
    std::error_code ec;
    std::string best;
    int bestRank = int(std::size(kPictureExtensions));
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& candidate = it->path();
        if (!EqualNoCase(candidate.stem().string(), stem)) continue;
        const std::string e = LowerExtension(candidate);
        for (int rank = 0; rank < bestRank; ++rank)
            if (e == kPictureExtensions[rank]) {
                std::error_code fec;
                if (!it->is_regular_file(fec)) break;
                best = candidate.string();
                bestRank = rank;
                break;
            }
    }
    return best;
}

std::string FindExactNoCase(const std::string& path) {
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return path;
    fs::path p(path);
    fs::path found = p.root_path();
    for (const auto& part : p.relative_path()) {
        const std::string name = part.string();
        fs::path next = found.empty() ? fs::path(name) : found / name;
        if (!fs::exists(next, ec)) {
            bool matched = false;
            const fs::path dir = found.empty() ? fs::path(".") : found;
            for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
                if (EqualNoCase(it->path().filename().string(), name)) {
                    next = found.empty() ? it->path().filename() : found / it->path().filename();
                    matched = true;
                    break;
                }
            }
            if (!matched) return path;
        }
        found = next;
    }
    return found.string();
}

} // namespace

const std::string& StartFolder() {
    return StartFolderStore();
}

void SetStartFolder(const std::string& folder) {
    std::string f = folder;
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    StartFolderStore() = f;
}

std::string FindFileNoCase(const std::string& path) {
    const std::string found = FindExactNoCase(path);
    std::error_code ec;
    if (found.empty() || fs::exists(found, ec)) return found;
    // A decoration picture the library now stores as another kind of
    // picture ("masks/Soft Oval.bmp" written as "masks/Soft Oval.jpg") is
    // still found by the name that settings and recipes keep.
    const fs::path p(path);
    if (!IsPictureExtension(LowerExtension(p))) return path;
    const std::string folder =
        p.has_parent_path() ? FindExactNoCase(p.parent_path().string()) : ".";
    const std::string other = SamePictureOtherKind(folder, p.stem().string());
    if (other.empty()) return path;
    return p.has_parent_path() ? other : fs::path(other).filename().string();
}

std::string StartFolderFile(const std::string& relative) {
    std::string rel = relative;
    for (auto& c : rel)
        if (c == '\\') c = '/';
    while (!rel.empty() && rel.front() == '/') rel.erase(0, 1);
    return FindFileNoCase(StartFolder() + "/" + rel);
}

std::vector<std::string> ListFilesNoCase(const std::string& folder,
                                         const std::vector<std::string>& extensions) {
    std::vector<std::string> out;
    std::error_code ec;
    const std::string dir = FindFileNoCase(folder);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fec;
        if (!it->is_regular_file(fec)) continue;
        const std::string e = LowerExtension(it->path());
        if (std::find(extensions.begin(), extensions.end(), e) != extensions.end())
            out.push_back(it->path().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace quillon
