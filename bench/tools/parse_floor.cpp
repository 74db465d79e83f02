// The parsing floor for the engine benchmark: reads a program with fgets and converts
// every word's value with strtod, as little as any reader of the file must do.
#include <cctype>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: parse_floor PROGRAM\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "rb");
    if (!f) return 2;
    char line[256];
    double sum = 0;
    long words = 0;
    while (std::fgets(line, sizeof line, f)) {
        for (char* p = line; *p;) {
            if (std::isupper(static_cast<unsigned char>(*p))) {
                char* end = nullptr;
                sum += std::strtod(p + 1, &end);
                ++words;
                p = end > p + 1 ? end : p + 1;
            } else {
                ++p;
            }
        }
    }
    std::fclose(f);
    std::printf("%ld words, checksum %g\n", words, sum);
    return 0;
}
