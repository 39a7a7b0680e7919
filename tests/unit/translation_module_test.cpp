// The translation module through the program's loader, with the built MultiLng.dll and
// Tolvan.msg: texts of the real string table, the cut of a long translation, a dialog, a missing
// or damaged message file, and modules that lack an export. The language is chosen through
// TOLVAN_LANGUAGE, which the module reads in PowerOn; the locale path has its own test below.
#include "translation_test_ids.h"

#include "compound_file.h"
#include "language_request.h"
#include "modules/translation_module.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace tolvan::test {
namespace {

constexpr char kUmlautU = '\xDC'; // "Ü" in code page 1252

class TranslationModuleTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module.Load(TOLVAN_MULTILNG_DLL)); }

    // A string-table text through the module, as the program loads it.
    std::string Load(UINT id) {
        char buffer[kTextBufferBytes];
        EXPECT_TRUE(SUCCEEDED(LoadTranslatedString(::GetModuleHandleA(nullptr), id, &module, buffer)));
        return buffer;
    }

    std::string Translate(const char* text) {
        char buffer[kTextBufferBytes] = {};
        std::strncpy(buffer, text, sizeof buffer - 1);
        module.TranslateString(buffer);
        return buffer;
    }

    CTranslationModule module;
};

TEST_F(TranslationModuleTest, StringTableTextsComeInTheRequestedLanguage) {
    struct Case {
        const char* language;
        UINT id;
        std::string expected;
    };
    const Case cases[] = {
        {"de", IDS_SCAN_MODE_BLACK_WHITE, "Schwarzwei\xDF"},  {"de", IDS_SCAN_MODE_GRAY, "Graustufen"},
        {"fr", IDS_SCAN_MODE_BLACK_WHITE, "Noir et blanc"},   {"fr", IDS_RESOLUTION_300, "300 ppp"},
        {"en", IDS_SCAN_MODE_BLACK_WHITE, "Black and white"}, // no English catalogue: the texts stay
        {"de", IDS_DRIVER_KEY, "Software\\Kelto\\Tolvan"},    // registry key paths stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.language << " " << c.id);
        LanguageRequest request(c.language);
        const HRESULT powerOn = module.PowerOn(TOLVAN_MESSAGE_FILE);
        EXPECT_EQ(powerOn, std::strcmp(c.language, "en") == 0 ? S_FALSE : S_OK);
        EXPECT_EQ(Load(c.id), c.expected);
    }
}

TEST_F(TranslationModuleTest, TextWithoutTranslationStaysByteForByte) {
    LanguageRequest request("de");
    ASSERT_EQ(module.PowerOn(TOLVAN_MESSAGE_FILE), S_OK);
    char buffer[kTextBufferBytes];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, "Not one of the program's texts");
    char before[kTextBufferBytes];
    std::memcpy(before, buffer, sizeof buffer);
    EXPECT_EQ(module.TranslateString(buffer), S_FALSE);
    EXPECT_EQ(std::memcmp(buffer, before, sizeof buffer), 0);
    EXPECT_EQ(Translate("color"), "color"); // matching is exact
    EXPECT_EQ(Translate(""), "");
}

TEST_F(TranslationModuleTest, LongTranslationIsCutInsideTheBuffer) {
    LanguageRequest request("de");
    ASSERT_EQ(module.PowerOn(TOLVAN_LONG_MESSAGE_FILE), S_OK);
    // The buffer is followed by guard bytes that must stay untouched.
    char block[kTextBufferBytes + 8];
    std::memset(block, '#', sizeof block);
    std::strcpy(block, "Long");
    EXPECT_EQ(module.TranslateString(block), S_OK);
    EXPECT_EQ(std::string(block), std::string(kTextBufferBytes - 1, kUmlautU));
    EXPECT_EQ(std::string(block + kTextBufferBytes, 8), std::string(8, '#'));

    // A buffer without a terminator ends at its last byte and is shown as it is.
    std::memset(block, 'x', kTextBufferBytes);
    EXPECT_EQ(module.TranslateString(block), S_FALSE);
    EXPECT_EQ(std::string(block), std::string(kTextBufferBytes - 1, 'x'));
    EXPECT_EQ(std::string(block + kTextBufferBytes, 8), std::string(8, '#'));
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

std::string WindowText(HWND window) {
    char text[kTextBufferBytes] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST_F(TranslationModuleTest, DialogCaptionAndControlTextsAreTranslated) {
    LanguageRequest request("de");
    ASSERT_EQ(module.PowerOn(TOLVAN_MESSAGE_FILE), S_OK);
    HWND dialog = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TRANSLATION_TEST), nullptr,
                                       QuietDialog, 0);
    ASSERT_NE(dialog, nullptr) << ::GetLastError();
    // Typed or listed texts are data, even when they equal a text of the program.
    ::SetDlgItemTextA(dialog, IDC_TEST_EDIT, "Apply");
    ::SetDlgItemTextA(dialog, IDC_TEST_COMBO, "Apply");

    EXPECT_EQ(module.TranslateDialog(dialog), S_OK);
    EXPECT_EQ(WindowText(dialog), "Standard");
    struct Case {
        int id;
        std::string expected;
    };
    const Case cases[] = {
        {IDC_TEST_BUTTON, "\xDC"
                          "bernehmen"},
        {IDC_TEST_LABEL, "Beenden"},
        {IDC_TEST_EMPTY, ""},
        {IDC_TEST_UNKNOWN, "Not one of the program's texts"},
        {IDC_TEST_EDIT, "Apply"},
        {IDC_TEST_COMBO, "Apply"},
        {IDC_TEST_GROUP, "Farbe"},
        {IDC_TEST_CHECK, "Graustufen"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowText(::GetDlgItem(dialog, c.id)), c.expected) << c.id;
    // A second pass finds nothing left to translate.
    EXPECT_EQ(module.TranslateDialog(dialog), S_FALSE);
    ::DestroyWindow(dialog);
    EXPECT_EQ(module.TranslateDialog(dialog), E_INVALIDARG);
}

TEST_F(TranslationModuleTest, MissingOrDamagedMessageFileLeavesTextsAsTheyAre) {
    LanguageRequest request("de");
    ScratchFolder folder;
    const Bytes good = FileBytes(TOLVAN_MESSAGE_FILE);
    ASSERT_GT(good.size(), 64u);
    auto write = [&](const char* name, const Bytes& bytes) {
        std::ofstream(folder.File(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return folder.File(name);
    };
    Bytes badMagic = good;
    badMagic[0] = 'X';
    Bytes badOffset = good;
    badOffset[16 + 8 + 3] = 0x7F; // the first language's entry table far beyond the file
    const std::string paths[] = {
        folder.File("missing.msg"),
        write("empty.msg", {}),
        write("truncated.msg", Bytes(good.begin(), good.end() - 1)),
        write("magic.msg", badMagic),
        write("offset.msg", badOffset),
        folder.Path(), // a folder, not a file
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        // A working file first, so that the failure has to drop its translations.
        ASSERT_EQ(module.PowerOn(TOLVAN_MESSAGE_FILE), S_OK);
        ASSERT_EQ(Translate("Color"), "Farbe");
        EXPECT_TRUE(FAILED(module.PowerOn(path.c_str())));
        EXPECT_EQ(Translate("Color"), "Color");
        EXPECT_EQ(Load(IDS_SCAN_MODE_COLOR), "Color");
    }
    EXPECT_EQ(module.PowerOn(nullptr), E_POINTER);
}

TEST(TranslationModuleLoad, RefusesModulesThatLackARequiredExport) {
    CTranslationModule module;
    EXPECT_FALSE(module.Load(TOLVAN_MULTILNG_NO_DIALOG_DLL));
    EXPECT_FALSE(module.IsLoaded());
    EXPECT_EQ(::GetModuleHandleA(TOLVAN_MULTILNG_NO_DIALOG_DLL), nullptr); // freed again
    EXPECT_EQ(module.PowerOn(TOLVAN_MESSAGE_FILE), E_FAIL);

    // TranslateMenu is never called, so a module may lack it.
    EXPECT_TRUE(module.Load(TOLVAN_MULTILNG_NO_MENU_DLL));
    LanguageRequest request("de");
    EXPECT_EQ(module.PowerOn(TOLVAN_MESSAGE_FILE), S_OK);
    char text[kTextBufferBytes] = "Apply";
    EXPECT_EQ(module.TranslateString(text), S_OK);
    EXPECT_STREQ(text, "\xDC"
                       "bernehmen");
}

TEST(TranslationModuleLoad, RefusesRelativeAndMissingPaths) {
    CTranslationModule module;
    for (const char* path : {"MultiLng.dll", ".\\MultiLng.dll", "", "Z:\\no\\such\\MultiLng.dll"}) {
        EXPECT_FALSE(module.Load(path)) << path;
        EXPECT_FALSE(module.IsLoaded());
    }
    EXPECT_FALSE(module.Load(nullptr));
}

TEST(TranslationModuleLoad, UnloadFreesTheModuleAndLaterCallsFail) {
    {
        CTranslationModule module;
        ASSERT_TRUE(module.Load(TOLVAN_MULTILNG_DLL));
        EXPECT_NE(::GetModuleHandleA(TOLVAN_MULTILNG_DLL), nullptr);
        module.Unload();
        EXPECT_EQ(::GetModuleHandleA(TOLVAN_MULTILNG_DLL), nullptr);
        char text[kTextBufferBytes] = "Apply";
        EXPECT_EQ(module.PowerOn(TOLVAN_MESSAGE_FILE), E_FAIL);
        EXPECT_EQ(module.TranslateString(text), E_FAIL);
        EXPECT_STREQ(text, "Apply");
        EXPECT_EQ(module.TranslateDialog(::GetDesktopWindow()), E_FAIL);
        module.Unload(); // nothing left to release
        ASSERT_TRUE(module.Load(TOLVAN_MULTILNG_DLL));
    }
    EXPECT_EQ(::GetModuleHandleA(TOLVAN_MULTILNG_DLL), nullptr); // the destructor unloads
}

TEST(LoadTranslatedString, WorksWithoutAModuleAndReportsMissingIds) {
    char buffer[kTextBufferBytes];
    EXPECT_EQ(LoadTranslatedString(::GetModuleHandleA(nullptr), IDS_SCAN_MODE_COLOR, nullptr, buffer), S_FALSE);
    EXPECT_STREQ(buffer, "Color");
    CTranslationModule notLoaded;
    EXPECT_EQ(LoadTranslatedString(::GetModuleHandleA(nullptr), IDS_SCAN_MODE_GRAY, &notLoaded, buffer), S_FALSE);
    EXPECT_STREQ(buffer, "Grayscale");
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_TRUE(FAILED(LoadTranslatedString(::GetModuleHandleA(nullptr), 65000, nullptr, buffer)));
    EXPECT_STREQ(buffer, "");
}

// Without a request the module follows the user's UI language, which Wine takes from the locale. CTest runs this
// test once more under LC_ALL=de_DE.UTF-8 and fr_FR.UTF-8, naming the language it expects.
TEST(TranslationLocale, FollowsTheUserInterfaceLanguage) {
    const LANGID language = ::GetUserDefaultUILanguage();
    if (const char* expected = std::getenv("TOLVAN_EXPECTED_UI_LANGUAGE")) {
        ASSERT_EQ(language, std::strtoul(expected, nullptr, 16)) << "the host lacks the locale";
    }
    ::SetEnvironmentVariableA("TOLVAN_LANGUAGE", nullptr);
    CTranslationModule module;
    ASSERT_TRUE(module.Load(TOLVAN_MULTILNG_DLL));
    const HRESULT powerOn = module.PowerOn(TOLVAN_MESSAGE_FILE);
    char text[kTextBufferBytes];
    ASSERT_TRUE(SUCCEEDED(LoadTranslatedString(::GetModuleHandleA(nullptr), IDS_SCAN_MODE_COLOR, &module, text)));
    switch (PRIMARYLANGID(language)) {
    case LANG_GERMAN:
        EXPECT_EQ(powerOn, S_OK);
        EXPECT_STREQ(text, "Farbe");
        break;
    case LANG_FRENCH:
        EXPECT_EQ(powerOn, S_OK);
        EXPECT_STREQ(text, "Couleur");
        break;
    default:
        EXPECT_EQ(powerOn, S_FALSE);
        EXPECT_STREQ(text, "Color");
    }
}

} // namespace
} // namespace tolvan::test
