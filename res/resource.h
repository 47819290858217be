// Resource numbers shared by the resource script and the program.
#pragma once

#define IDD_ABOUTBOX  100
#define IDS_ABOUTBOX  101
#define IDD_MAIN      102
#define IDR_MAINFRAME 128

// System-menu command of the About item.
#define IDM_ABOUTBOX  0x0010
