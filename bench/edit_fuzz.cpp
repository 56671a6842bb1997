// Random editing sessions for as long as asked: edit_fuzz SEED STEPS.
// Prints the rounds and steps played, or the first broken rule with the
// steps that led to it (the same seed plays them again).
#include "edit/edit_fuzz.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SEED STEPS\n", argv[0]);
        return 2;
    }
    const auto seed = std::strtoull(argv[1], nullptr, 10);
    const long steps = std::strtol(argv[2], nullptr, 10);
    const EditFuzzResult result = FuzzEditing(seed, steps);
    std::printf("seed %llu: %ld rounds, %ld steps\n", static_cast<unsigned long long>(seed), result.rounds,
                result.steps);
    if (result.failure.empty()) return 0;
    std::printf("%s\n", result.failure.c_str());
    return 1;
}
