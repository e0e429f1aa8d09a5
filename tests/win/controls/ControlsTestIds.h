// Resource ids of the controls tests' own fixtures; the program's resources are linked too.
#pragma once
#define IDB_TEST_BACKGROUND 500
#define IDI_TEST_RED 510
#define IDI_TEST_BLUE 511
#define IDI_TEST_GREEN20 512
#define IDD_TEST_POPUP 520
#define IDC_TEST_BUTTON 521
#define IDC_TEST_STATIC 522
#define IDC_TEST_TRACKBAR 523
#define IDC_TEST_EDIT 524
#define IDD_TEST_CHILD 530
