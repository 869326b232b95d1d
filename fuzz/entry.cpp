// libFuzzer entry of one target (FUZZ_TARGET names it): the seeds are written on start
// when FUZZ_SEED_DIR is set; a Finding or any other escaping exception is a crash.

#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

const fuzz::Target& target() {
    static const fuzz::Target& t = []() -> const fuzz::Target& {
        for (const fuzz::Target& candidate : fuzz::targets())
            if (std::strcmp(candidate.name, FUZZ_TARGET) == 0)
                return candidate;
        std::abort();
    }();
    return t;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    target().seed();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        target().run(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const fuzz::Finding& f) {
        std::fprintf(stderr, "finding in %s: %s\n", FUZZ_TARGET, f.what());
        std::abort();
    }
    return 0;
}
