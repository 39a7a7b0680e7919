// The compound file check on arbitrary bytes: it must end, stay inside the input and give the same verdict
// twice. Bytes past the last whole sector hold nothing a chain may use, so a partial sector appended to the
// input never changes the verdict.
#include "settings/compound_file_check.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace tolvan;

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

bool Same(const CompoundFileCheck& a, const CompoundFileCheck& b) {
    return a.fault == b.fault && a.where == b.where;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const CompoundFileCheck check = CheckCompoundFile(bytes);
    Require(Same(check, CheckCompoundFile(bytes)), "the same bytes get the same verdict");
    Require(DescribeCompoundFileFault(check.fault)[0] != '\0', "every fault has a text");

    // Only for inputs whose header passed, so that their sector size is known.
    if (check.fault != CompoundFileFault::kNone && check.fault <= CompoundFileFault::kBadMiniStreamCutoff)
        return 0;
    const std::size_t sectorSize = std::size_t{1} << (data[0x1E] | data[0x1F] << 8);
    std::vector<uint8_t> padded(bytes.begin(), bytes.end());
    padded.resize(size / sectorSize * sectorSize + sectorSize - 1, 0x5A);
    Require(Same(check, CheckCompoundFile(padded)), "a partial sector at the end changes nothing");
    return 0;
}
