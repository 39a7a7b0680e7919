// The dialogs' shared font as the program asks for it must be there: a missing face falls back to another
// family of other widths, and texts then outgrow the controls laid out for it. The prefix supplies a font of
// the same metrics when the system has none of that name (scripts/wine-env).
#include "ui/unique_handle.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvan {
namespace {

constexpr char kSharedFace[] = "Times New Roman";
constexpr char kSample[] = "Auto crop  Resolution 300 dpi  Save scans as files";

struct FontFacts {
    std::string face;
    BYTE family = 0;
    int sampleWidth = 0;
};

// The font as start-up creates it: height -12, normal weight, variable pitch, the screen's character set.
FontFacts Realise(const char* face) {
    FontFacts facts;
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return facts;
    UniqueFont font(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, static_cast<DWORD>(::GetTextCharset(screen)), 0, 0,
                                  0, VARIABLE_PITCH, face));
    const HGDIOBJ old = ::SelectObject(screen, font.Get());
    char name[LF_FACESIZE] = {};
    ::GetTextFaceA(screen, sizeof name, name);
    facts.face = name;
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(screen, &metrics);
    facts.family = metrics.tmPitchAndFamily & 0xF0;
    SIZE extent{};
    ::GetTextExtentPoint32A(screen, kSample, static_cast<int>(sizeof kSample - 1), &extent);
    facts.sampleWidth = extent.cx;
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    return facts;
}

TEST(SharedFontTest, TheSharedFaceIsARealSerifFont) {
    const FontFacts shared = Realise(kSharedFace);
    EXPECT_EQ(shared.face, kSharedFace) << "fell back to another face";
    EXPECT_EQ(static_cast<int>(shared.family), FF_ROMAN);
    EXPECT_GT(shared.sampleWidth, 0);
}

TEST(SharedFontTest, TheSubstituteHasTheSharedFacesWidths) {
    const FontFacts substitute = Realise("Liberation Serif");
    if (substitute.face != "Liberation Serif")
        GTEST_SKIP() << "no Liberation Serif on this system";
    EXPECT_EQ(Realise(kSharedFace).sampleWidth, substitute.sampleWidth);
    // A sans face sets the same text wider or narrower: the widths tell the families apart.
    EXPECT_NE(Realise("Liberation Sans").sampleWidth, substitute.sampleWidth);
}

} // namespace
} // namespace tolvan
