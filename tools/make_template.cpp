// Generates the driver's template settings file from its readable description, through the
// program's own settings store, so that the template is exactly what the program writes.
//   make-template DESCRIPTION OUTPUT
#include "settings/settings_store.h"
#include "tools/template_description.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace tolvan;

namespace {

HRESULT WriteModelExtras(const char* path, const TemplateDescription& description) {
    // The store reads "SpecInfo" and never creates "ProBtn"; the template supplies both.
    wchar_t wide[kPathChars];
    if (!::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kPathChars))
        return STG_E_INVALIDNAME;
    wchar_t model[kElementNameChars];
    if (!::MultiByteToWideChar(CP_ACP, 0, description.modelName.c_str(), -1, model, kElementNameChars))
        return STG_E_INVALIDNAME;
    ComPtr<IStorage> root, modelStorage, setting, proBtn;
    ComPtr<IStream> specInfo;
    HRESULT hr = ::StgOpenStorage(wide, nullptr, StgMode::kReadWrite, nullptr, 0, root.Put());
    if (SUCCEEDED(hr))
        hr = root->OpenStorage(model, nullptr, StgMode::kReadWrite, nullptr, 0, modelStorage.Put());
    if (SUCCEEDED(hr))
        hr = modelStorage->CreateStream(L"SpecInfo", StgMode::kCreateWrite, 0, 0, specInfo.Put());
    if (SUCCEEDED(hr)) {
        uint8_t block[kSpecInfoSize] = {};
        std::memcpy(block + kSpecInfoJobSetOffset, &description.jobSet, sizeof description.jobSet);
        hr = specInfo->Write(block, sizeof block, nullptr);
    }
    if (SUCCEEDED(hr))
        hr = modelStorage->OpenStorage(L"Setting", nullptr, StgMode::kReadWrite, nullptr, 0, setting.Put());
    if (SUCCEEDED(hr))
        hr = setting->CreateStorage(L"ProBtn", StgMode::kCreateReadWrite, 0, 0, proBtn.Put());
    return hr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-template DESCRIPTION OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "make-template: cannot read %s\n", argv[1]);
        return 1;
    }
    TemplateDescription description;
    std::string error;
    if (!ParseTemplateDescription(text.str(), description, error)) {
        std::fprintf(stderr, "%s:%s\n", argv[1], error.c_str());
        return 1;
    }

    ::DeleteFileA(argv[2]);
    CSettingsStore store;
    HRESULT hr = store.Open(argv[2], StgMode::kCreateReadWrite);
    for (const TemplateJob& job : description.jobs) {
        if (FAILED(hr))
            break;
        hr = store.WriteJob(description.modelName.c_str(), job.mask, &job.record,
                            job.extra.empty() ? nullptr : job.extra.data());
    }
    const HRESULT closed = store.Close();
    if (SUCCEEDED(hr))
        hr = closed;
    if (SUCCEEDED(hr))
        hr = WriteModelExtras(argv[2], description);
    if (FAILED(hr)) {
        std::fprintf(stderr, "make-template: writing %s failed (0x%08lx)\n", argv[2], static_cast<unsigned long>(hr));
        ::DeleteFileA(argv[2]);
        return 1;
    }
    return 0;
}
