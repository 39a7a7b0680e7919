// Generates the driver's catalogue "APInfo.dat" from its readable source, with the module's
// own writer, so the shipped file is exactly what the module reads.
//   make-apinfo SOURCE OUTPUT
#include "driver/apinfo/ap_file_format.h"
#include "driver/apinfo/catalogue_text.h"

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace tolvan;
using namespace tolvan::apinfo;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-apinfo SOURCE OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "make-apinfo: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<ApEntry> entries;
    std::string error;
    if (!ParseCatalogueText(text.str(), entries, error)) {
        std::fprintf(stderr, "%s:%s\n", argv[1], error.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes;
    if (!SerializeApFile(entries, bytes)) {
        std::fprintf(stderr, "make-apinfo: the catalogue cannot be written\n");
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make-apinfo: cannot write %s\n", argv[2]);
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
