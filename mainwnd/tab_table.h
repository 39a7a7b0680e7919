// How each job appears as a tab: its bitmaps, the hint and warnings of its page, and the order in
// which selecting it shows the hint, warns and hides the page shown before.
#pragma once

#include "res/resource.h"
#include "settings/job_table.h"

#include <cstdint>

namespace tolvan {

enum class TabStep : uint8_t { kHint, kWarning, kHidePrevious, kNone };

struct TabLook {
    uint32_t mask;
    UINT normal, selected, focus, disabled, hover;
    UINT hint;           // also the page's template id
    UINT clickWarning;   // 0: none
    UINT startupWarning; // 0: none
    bool hintAtStartup;
    TabStep steps[3];
};

inline constexpr TabLook kTabLooks[] = {
    {JobMask::kEmail,
     IDB_TAB_EMAIL_NORMAL,
     IDB_TAB_EMAIL_SELECTED,
     0,
     IDB_TAB_EMAIL_DISABLED,
     IDB_TAB_EMAIL_HOVER,
     IDS_EMAIL_PAGE,
     IDS_NO_MAIL_CLIENT,
     IDS_NO_MAIL_CLIENT,
     true,
     {TabStep::kHint, TabStep::kWarning, TabStep::kHidePrevious}},
    {JobMask::kOffice,
     IDB_TAB_OFFICE_NORMAL,
     IDB_TAB_OFFICE_SELECTED,
     0,
     0,
     IDB_TAB_OFFICE_HOVER,
     IDS_OFFICE_PAGE,
     0,
     0,
     true,
     {TabStep::kHint, TabStep::kHidePrevious, TabStep::kNone}},
    {JobMask::kFile,
     IDB_TAB_FILE_NORMAL,
     IDB_TAB_FILE_SELECTED,
     0,
     IDB_TAB_FILE_DISABLED,
     IDB_TAB_FILE_HOVER,
     IDS_FILE_PAGE,
     0,
     0,
     true,
     {TabStep::kHidePrevious, TabStep::kHint, TabStep::kNone}},
    {JobMask::kCopy,
     IDB_TAB_COPY_NORMAL,
     IDB_TAB_COPY_SELECTED,
     0,
     IDB_TAB_COPY_DISABLED,
     IDB_TAB_COPY_HOVER,
     IDS_COPY_PAGE,
     IDS_NO_PRINTER,
     IDS_NO_PRINTER,
     true,
     {TabStep::kHint, TabStep::kWarning, TabStep::kHidePrevious}},
    {JobMask::kApplication,
     IDB_TAB_APPLICATION_NORMAL,
     IDB_TAB_APPLICATION_SELECTED,
     0,
     0,
     IDB_TAB_APPLICATION_HOVER,
     IDS_APPLICATION_PAGE,
     IDS_NO_APPLICATION,
     0,
     true,
     {TabStep::kWarning, TabStep::kHidePrevious, TabStep::kHint}},
    {JobMask::kDUzar,
     IDB_TAB_DUZAR_NORMAL,
     IDB_TAB_DUZAR_SELECTED,
     0,
     IDB_TAB_DUZAR_DISABLED,
     IDB_TAB_DUZAR_HOVER,
     IDS_DUZAR_PAGE,
     0,
     0,
     false,
     {TabStep::kHidePrevious, TabStep::kHint, TabStep::kNone}},
    // RAvud has pictures of its own: with DUzar's it would show DUzar's picture and name.
    {JobMask::kRAvud,
     IDB_TAB_SIZED_COPY_NORMAL,
     IDB_TAB_SIZED_COPY_SELECTED,
     0,
     IDB_TAB_SIZED_COPY_DISABLED,
     IDB_TAB_SIZED_COPY_HOVER,
     IDS_SIZED_COPY_PAGE,
     IDS_NO_PRINTER,
     IDS_NO_PRINTER,
     true,
     {TabStep::kHint, TabStep::kWarning, TabStep::kHidePrevious}},
};

inline const TabLook* FindTabLook(uint32_t mask) {
    for (const TabLook& look : kTabLooks)
        if (look.mask == mask)
            return &look;
    return nullptr;
}

} // namespace tolvan
