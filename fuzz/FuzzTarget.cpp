// The libFuzzer target of one entry function, chosen by KWIZMAR_FUZZ_TARGET.
#include "FuzzEntries.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

const kwizmar::fuzz::TFuzzEntry& Entry() {
    static const kwizmar::fuzz::TFuzzEntry* entry = [] {
        for (const auto& e : kwizmar::fuzz::kFuzzEntries)
            if (std::strcmp(e.name, KWIZMAR_FUZZ_TARGET) == 0)
                return &e;
        std::abort();
    }();
    return *entry;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        Entry().run(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", KWIZMAR_FUZZ_TARGET, e.what());
        std::abort();
    } catch (...) {
        std::fprintf(stderr, "%s: an exception of an unknown kind\n", KWIZMAR_FUZZ_TARGET);
        std::abort();
    }
    return 0;
}
