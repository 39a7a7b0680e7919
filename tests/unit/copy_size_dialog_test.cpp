// The copy size dialog run modally and worked from the test thread through its own buttons: where it opens for a
// stored value, stepping through the ring both ways with the picture and description of each size, and what OK
// and Cancel give back.
#include "control_host.h"
#include "dialog_answer.h"

#include "pages/copy_size_dialog.h"
#include "res/resource.h"
#include "ui/bitmap_resource.h"
#include "ui/gdi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvan::test {
namespace {

// What the dialog shows: the description text and whether the picture is the given bitmap, pixel for pixel.
struct Shown {
    HWND dialog;

    std::string Text() const {
        char text[260] = {};
        ::GetDlgItemTextA(dialog, IDC_COPY_SIZE_TEXT, text, sizeof text);
        return text;
    }
    bool ShowsPicture(UINT bitmapId) const {
        const UniqueBitmap bitmap = LoadBitmapResource(bitmapId);
        const SIZE size = BitmapSize(bitmap.Get());
        const Screenshot shot(::GetDlgItem(dialog, IDC_COPY_SIZE_PICTURE));
        if (size.cx == 0 || shot.Width() != size.cx || shot.Height() != size.cy)
            return false;
        const WindowDC screen(nullptr);
        const MemoryDC memory(screen.Get());
        const ScopedSelectObject select(memory.Get(), bitmap.Get());
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                if (::GetPixel(memory.Get(), x, y) != shot.At(x, y))
                    return false;
        return true;
    }
    // Clicks a button of the dialog, as the user would.
    void Click(int id) const {
        ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        PumpMessages();
    }
};

std::string StringText(UINT id) {
    char text[260] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

struct Entry {
    uint16_t value;
    UINT id; // picture and description
};
// Forward from the default.
const std::vector<Entry> kForward = {{7, IDS_COPY_SIZE_100},  {8, IDS_COPY_SIZE_115},  {9, IDS_COPY_SIZE_122},
                                     {10, IDS_COPY_SIZE_141}, {11, IDS_COPY_SIZE_200}, {1, IDS_COPY_SIZE_25},
                                     {2, IDS_COPY_SIZE_50},   {3, IDS_COPY_SIZE_71},   {4, IDS_COPY_SIZE_78},
                                     {5, IDS_COPY_SIZE_86},   {6, IDS_COPY_SIZE_94}};

// Runs the dialog opened on value; answer works it and ends it. Returns what DoModal returned.
INT_PTR RunDialog(CCopySizeDialog& dialog, uint16_t value, const std::function<void(const Shown&)>& answer) {
    dialog.SetValue(value);
    DialogAnswer modal([](HWND window) { return IsDialogWith(window, IDC_COPY_SIZE_PICTURE); },
                       [&](HWND window) {
                           PumpMessages();
                           answer(Shown{window});
                       });
    const INT_PTR result = dialog.DoModal(nullptr);
    EXPECT_TRUE(modal.Answered());
    return result;
}

TEST(CopySizeDialog, OpensOnTheStoredSizeAndOnSameSizeForZeroOrAValueOutsideTheRing) {
    for (const auto& [stored, expected] : std::vector<std::pair<uint16_t, Entry>>{
             {9, kForward[2]}, {1, kForward[5]}, {0, kForward[0]}, {12, kForward[0]}, {0xFFFF, kForward[0]}}) {
        CCopySizeDialog dialog(nullptr);
        const INT_PTR result = RunDialog(dialog, stored, [&](const Shown& shown) {
            EXPECT_EQ(shown.Text(), StringText(expected.id)) << stored;
            EXPECT_TRUE(shown.ShowsPicture(expected.id)) << stored;
            shown.Click(IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(dialog.GetValue(), expected.value) << stored;
    }
}

TEST(CopySizeDialog, NextWalksTheElevenSizesOnceRoundAndPreviousWalksBack) {
    CCopySizeDialog dialog(nullptr);
    std::vector<uint16_t> walked;
    const INT_PTR result = RunDialog(dialog, 0, [&](const Shown& shown) {
        for (size_t step = 1; step <= kForward.size(); ++step) {
            shown.Click(IDC_COPY_SIZE_NEXT);
            const Entry& expected = kForward[step % kForward.size()];
            EXPECT_EQ(shown.Text(), StringText(expected.id)) << step;
            EXPECT_TRUE(shown.ShowsPicture(expected.id)) << step;
        }
        shown.Click(IDC_COPY_SIZE_PREVIOUS);
        EXPECT_EQ(shown.Text(), StringText(IDS_COPY_SIZE_94));
        EXPECT_TRUE(shown.ShowsPicture(IDB_COPY_SIZE_94));
        shown.Click(IDC_COPY_SIZE_PREVIOUS);
        shown.Click(IDC_COPY_SIZE_PREVIOUS);
        EXPECT_EQ(shown.Text(), StringText(IDS_COPY_SIZE_78));
        shown.Click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetValue(), 4);
}

TEST(CopySizeDialog, CancelEndsWithCancelWhateverWasShown) {
    CCopySizeDialog dialog(nullptr);
    const INT_PTR result = RunDialog(dialog, 10, [&](const Shown& shown) {
        shown.Click(IDC_COPY_SIZE_NEXT);
        shown.Click(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
}

} // namespace
} // namespace tolvan::test
