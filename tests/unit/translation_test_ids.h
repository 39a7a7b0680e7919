// Resource ids of the translation tests' own dialog.
#pragma once

#define IDD_TRANSLATION_TEST 900
#define IDC_TEST_BUTTON 901
#define IDC_TEST_LABEL 902
#define IDC_TEST_EMPTY 903
#define IDC_TEST_UNKNOWN 904
#define IDC_TEST_EDIT 905
#define IDC_TEST_COMBO 906
#define IDC_TEST_GROUP 907
#define IDC_TEST_CHECK 908
