// The hint line under the pages has the fixed size of the window's design and holds two lines of the shared font;
// the static cuts off whatever wraps onto a third line, with no sign that something is missing. Every text that a
// page can send there is measured as the static wraps it, in English and in each language of the built message
// file, so that a longer text or translation is caught here and not by a user reading half a sentence.
#include "modules/translation_module.h"
#include "res/resource.h"
#include "ui/unique_handle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tolvan::test {
namespace {

// The hint line's size as the main window places it.
constexpr int kHintWidth = 381;
constexpr int kHintHeight = 33;

// Every id that reaches the hint line: the hints over the pages, over the resolution caption (by resolution), over
// the page controls, and over an empty destination list (IDS_NO_MAIL_CLIENT, IDS_NO_PRINTER and
// IDS_NO_APPLICATION also serve as the page's warning).
constexpr UINT kHintIds[] = {
    IDS_FILE_PAGE,
    IDS_EMAIL_PAGE,
    IDS_COPY_PAGE,
    IDS_SIZED_COPY_PAGE,
    IDS_APPLICATION_PAGE,
    IDS_OFFICE_PAGE,
    IDS_DUZAR_PAGE,
    IDS_RESOLUTION_150_HINT,
    IDS_RESOLUTION_300_HINT,
    IDS_RESOLUTION_600_HINT,
    IDS_RESOLUTION_1200_HINT,
    IDS_SCAN_MODE,
    IDS_RESOLUTION,
    IDS_FILE_FORMAT,
    IDS_JPEG_QUALITY_LABEL,
    IDS_JPEG_QUALITY,
    IDS_JPEG_QUALITY_VALUE,
    IDS_TARGET_PATH,
    IDS_TARGET_BROWSE,
    IDS_MAIL_CLIENT_LIST,
    IDS_SCAN_MODE_LABEL,
    IDS_RESOLUTION_LABEL,
    IDS_PRINTER_LIST,
    IDS_PRINTER_PROPERTIES,
    IDS_COPY_SIZE_BUTTON,
    IDS_APPLICATION_LIST,
    IDS_ADD_APPLICATION,
    IDS_DELETE_APPLICATION,
    IDS_RECOGNITION_APPLICATION,
    IDS_NO_MAIL_CLIENT,
    IDS_NO_PRINTER,
    IDS_NO_APPLICATION,
    IDS_NO_RECOGNITION_APPLICATION,
    IDS_NO_DUZAR_APPLICATION,
};

// The shared font on the screen, as start-up creates it and as the static draws with it.
class HintLineFont {
public:
    HintLineFont() : m_screen(::GetDC(nullptr)) {
        if (!m_screen)
            return;
        m_font.Reset(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, static_cast<DWORD>(::GetTextCharset(m_screen)), 0,
                                   0, 0, VARIABLE_PITCH, "Times New Roman"));
        m_old = ::SelectObject(m_screen, m_font.Get());
    }
    ~HintLineFont() {
        if (!m_screen)
            return;
        ::SelectObject(m_screen, m_old);
        ::ReleaseDC(nullptr, m_screen);
    }
    HintLineFont(const HintLineFont&) = delete;
    HintLineFont& operator=(const HintLineFont&) = delete;

    bool IsReady() const { return m_screen && m_font; }

    // The text wrapped at the hint line's width: the height of its lines, and the width of the widest.
    SIZE Measure(const std::string& text) const {
        RECT box{0, 0, kHintWidth, 0};
        ::DrawTextA(m_screen, text.c_str(), static_cast<int>(text.size()), &box,
                    DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
        return {box.right - box.left, box.bottom - box.top};
    }

    int LineHeight() const { return Measure("x").cy; }

private:
    HDC m_screen;
    UniqueFont m_font;
    HGDIOBJ m_old = nullptr;
};

TEST(HintLineTest, HoldsTwoLinesOfTheSharedFontAndNotThree) {
    const HintLineFont font;
    ASSERT_TRUE(font.IsReady());
    const int line = font.LineHeight();
    EXPECT_LE(2 * line, kHintHeight);
    EXPECT_GT(3 * line, kHintHeight);
    // The measure wraps at the line's width, rather than setting a long text on one wide line.
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "scan ";
    const SIZE wrapped = font.Measure(words);
    EXPECT_LE(wrapped.cx, kHintWidth);
    EXPECT_GT(wrapped.cy, kHintHeight);
}

class HintFitTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(font.IsReady());
        ::SetEnvironmentVariableA("TOLVAN_LANGUAGE", GetParam());
        ASSERT_TRUE(module.Load(TOLVAN_MULTILNG_DLL));
        ASSERT_EQ(module.PowerOn(TOLVAN_MESSAGE_FILE), IsEnglish() ? S_FALSE : S_OK);
    }
    void TearDown() override { ::SetEnvironmentVariableA("TOLVAN_LANGUAGE", nullptr); }

    bool IsEnglish() const { return std::strcmp(GetParam(), "en") == 0; }

    HintLineFont font;
    CTranslationModule module;
};

TEST_P(HintFitTest, EveryHintFitsTwoLines) {
    const int line = font.LineHeight();
    for (const UINT id : kHintIds) {
        char text[kTextBufferBytes];
        const HRESULT loaded = LoadTranslatedString(::GetModuleHandleA(nullptr), id, &module, text);
        ASSERT_TRUE(SUCCEEDED(loaded)) << "no text " << id;
        // An untranslated hint would be measured in English and pass unseen.
        EXPECT_EQ(loaded, IsEnglish() ? S_FALSE : S_OK) << "text " << id << " is not translated";
        const SIZE size = font.Measure(text);
        EXPECT_LE(size.cy, kHintHeight) << "text " << id << " takes " << size.cy / line << " lines: " << text;
        EXPECT_LE(size.cx, kHintWidth) << "text " << id << " has a word wider than the line: " << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, HintFitTest, testing::Values("en", "de", "fr"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

} // namespace
} // namespace tolvan::test
