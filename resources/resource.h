#pragma once

// Numbers that name the program's resources and controls. They are macros so
// that the Windows resource script can include this file as well as the code;
// windows.h defines IDOK and IDCANCEL with the same values.

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#define IDC_STATIC (-1)

#define IDM_ABOUTBOX 0x0010
// The application's help command, which F1 and the window menu's Help give.
#define ID_HELP 0xE146
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDR_MAINFRAME 128

#define IDC_CHOOSE 1000
#define IDC_VOLUMES 1001
#define IDC_FILENAME 1002
#define IDC_SAVE 1003
