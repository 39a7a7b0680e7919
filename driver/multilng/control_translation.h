// Translating the texts of windows, list controls and menus in place. Each returns S_OK when at
// least one text was replaced, S_FALSE when nothing had a translation, E_INVALIDARG for a handle
// that is not a window (or menu) of the right kind.
#pragma once

#include "driver/multilng/translator.h"

#include <windows.h>

namespace tolvan::multilng {

HRESULT TranslateDialogTexts(const CTranslator& translator, HWND dialog);
HRESULT TranslateListBoxItems(const CTranslator& translator, HWND list);
HRESULT TranslateComboBoxItems(const CTranslator& translator, HWND combo);
HRESULT TranslateListViewTexts(const CTranslator& translator, HWND list);
HRESULT TranslateMenuItems(const CTranslator& translator, HMENU menu);

} // namespace tolvan::multilng
