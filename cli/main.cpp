// quillon-frame: frames photos from the command line (placeholder).
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("quillon-frame Version 1.51");
        return 0;
    }
    std::fprintf(stderr, "usage: quillon-frame INPUT OUTPUT\n");
    return 2;
}
