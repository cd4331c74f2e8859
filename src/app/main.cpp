#include <cstdio>

int main() {
    std::fprintf(stderr, "Slidesmith %s: the batch runner is not built yet.\n", SLIDESMITH_VERSION);
    return 2;
}
