// The compound file check on arbitrary bytes: it must end, stay inside the input and give the same verdict
// twice. A file it accepts holds every byte a reader takes from it, so completing its partial last sector
// (bytes that no reader was to take) keeps it accepted.
#include "settings/compound_file_check.h"

#include "tests/fuzz/broken_promise.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace tolvan;

namespace {

bool Same(const CompoundFileCheck& a, const CompoundFileCheck& b) {
    return a.fault == b.fault && a.where == b.where;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const CompoundFileCheck check = CheckCompoundFile(bytes);
    Require(Same(check, CheckCompoundFile(bytes)), "the same bytes get the same verdict");
    Require(DescribeCompoundFileFault(check.fault)[0] != '\0', "every fault has a text");

    if (!check.Ok())
        return 0;
    const std::size_t sectorSize = std::size_t{1} << (data[0x1E] | data[0x1F] << 8);
    if (size % sectorSize == 0)
        return 0;
    std::vector<uint8_t> completed(bytes.begin(), bytes.end());
    completed.resize(size / sectorSize * sectorSize + sectorSize, 0x5A);
    Require(CheckCompoundFile(completed).Ok(), "completing the partial last sector keeps the file accepted");
    return 0;
}
