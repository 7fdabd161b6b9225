// quorvel-pipl OUTPUT: writes the bytes of the module's PiPL resource to OUTPUT.
#include <cstdio>
#include <vector>

#include "resources/pipl.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvel-pipl OUTPUT\n");
        return 2;
    }
    const std::vector<uint8_t> bytes = BuildPipl();
    FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "quorvel-pipl: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
