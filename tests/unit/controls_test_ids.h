// Resource ids of the control tests' own resources (controls_test.rc).
#pragma once

// Solid-colour bitmaps, one colour each (see make_test_bitmaps.py)
#define IDB_TEST_NORMAL 950
#define IDB_TEST_SELECTED 951
#define IDB_TEST_FOCUS 952
#define IDB_TEST_DISABLED 953
#define IDB_TEST_HOVER 954
#define IDB_TEST_LARGE 955   // a size of its own
#define IDB_TEST_DARK 956    // under white captions
#define IDB_TEST_CHANNEL 957 // longer and taller than any slider channel of the tests
#define IDB_TEST_THUMB 958   // the program's thumb size
#define IDB_TEST_MISSING 959 // no such bitmap

// Host dialogs: an empty one for buttons made by code, one with buttons from the template
#define IDD_BUTTON_HOST 960
#define IDD_COLOUR_HOST 961
#define IDC_PLAIN_BUTTON 962
#define IDC_COLOUR_BUTTON 963
// A host for sliders: one horizontal with tick marks below, as on the pages, one vertical
#define IDD_SLIDER_HOST 964
#define IDC_HORIZONTAL_SLIDER 965
#define IDC_VERTICAL_SLIDER 966

// Tool tip texts: the German message files translate them by their English text
#define IDS_TEST_TIP 970
#define IDS_TEST_LONG_TIP 971
