// The exports of MultiLng.dll (multilng_api.h). Each checks its handle and arguments and leaves
// the work to CTranslator and the control translation; no exception leaves the module.
#include "driver/multilng/control_translation.h"
#include "driver/multilng/multilng_api.h"
#include "driver/multilng/translator.h"

#include <new>
#include <type_traits>

using tolvan::multilng::CTranslator;

namespace {

// A size of 0 stands for the program's usual 260 bytes; so does anything absurd, since the
// buffer is 260 bytes by contract. A smaller positive size is honoured.
std::size_t BufferCapacity(const int* size) {
    if (size == nullptr || *size <= 0 || *size > tolvan::multilng::kTextBytes)
        return tolvan::multilng::kTextBytes;
    return static_cast<std::size_t>(*size);
}

template <class Work> HRESULT WithTranslator(HANDLE context, Work work) {
    CTranslator* translator = CTranslator::FromHandle(context);
    if (translator == nullptr)
        return E_HANDLE;
    try {
        return work(*translator);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

} // namespace

extern "C" {

HRESULT WINAPI NewMultiLng(HANDLE* context) {
    if (context == nullptr)
        return E_POINTER;
    *context = nullptr;
    auto* translator = new (std::nothrow) CTranslator();
    if (translator == nullptr)
        return E_OUTOFMEMORY;
    *context = translator;
    return S_OK;
}

HRESULT WINAPI FreeMultiLng(HANDLE* context) {
    if (context == nullptr)
        return E_POINTER;
    CTranslator* translator = CTranslator::FromHandle(*context);
    if (translator == nullptr)
        return *context == nullptr ? S_FALSE : E_HANDLE;
    delete translator;
    *context = nullptr;
    return S_OK;
}

HRESULT WINAPI PowerOn(HANDLE context, LPCSTR msgPath) {
    return WithTranslator(context, [&](CTranslator& t) { return t.PowerOn(msgPath); });
}

HRESULT WINAPI TranslateString(HANDLE context, char* text, int* size) {
    if (text == nullptr)
        return E_POINTER;
    return WithTranslator(context, [&](CTranslator& t) { return t.TranslateBuffer(text, BufferCapacity(size)); });
}

HRESULT WINAPI TranslateDialog(HANDLE context, HWND dialog) {
    return WithTranslator(context, [&](CTranslator& t) { return tolvan::multilng::TranslateDialogTexts(t, dialog); });
}

HRESULT WINAPI TranslateListCtrl(HANDLE context, HWND list) {
    return WithTranslator(context, [&](CTranslator& t) { return tolvan::multilng::TranslateListViewTexts(t, list); });
}

HRESULT WINAPI TranslateListBox(HANDLE context, HWND list) {
    return WithTranslator(context, [&](CTranslator& t) { return tolvan::multilng::TranslateListBoxItems(t, list); });
}

HRESULT WINAPI TranslateComboBox(HANDLE context, HWND combo) {
    return WithTranslator(context, [&](CTranslator& t) { return tolvan::multilng::TranslateComboBoxItems(t, combo); });
}

HRESULT WINAPI TranslateMenu(HANDLE context, HMENU menu) {
    return WithTranslator(context, [&](CTranslator& t) { return tolvan::multilng::TranslateMenuItems(t, menu); });
}

} // extern "C"

// The exports must have exactly the types that the program's loader casts them to.
namespace api = tolvan::multilng;
static_assert(std::is_same_v<decltype(&NewMultiLng), api::NewMultiLngFn>);
static_assert(std::is_same_v<decltype(&FreeMultiLng), api::FreeMultiLngFn>);
static_assert(std::is_same_v<decltype(&PowerOn), api::PowerOnFn>);
static_assert(std::is_same_v<decltype(&TranslateString), api::TranslateStringFn>);
static_assert(std::is_same_v<decltype(&TranslateDialog), api::TranslateWindowFn>);
static_assert(std::is_same_v<decltype(&TranslateListCtrl), api::TranslateWindowFn>);
static_assert(std::is_same_v<decltype(&TranslateListBox), api::TranslateWindowFn>);
static_assert(std::is_same_v<decltype(&TranslateComboBox), api::TranslateWindowFn>);
static_assert(std::is_same_v<decltype(&TranslateMenu), api::TranslateMenuFn>);
