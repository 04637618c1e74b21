// Identifiers of the screensaver's resources, shared by the resource
// script and the code.
#pragma once

#define IDI_QUILLMERE 1

// The settings dialog and its controls.
#define IDD_CONFIG 101
#define IDC_QUALITY 1000
#define IDC_SPEED 1002
#define IDC_LINK 1003
#define IDC_FREQ 1004
#define IDC_AMP 1005
#define IDC_RAIN 1006
#define IDC_RADIAL 1010
#define IDC_LIGHT 1011
#define IDC_PANE 1020

// Texts set at run time, in every language's string table. Kept out of the
// first block of sixteen, which holds the name the Screen Saver Settings
// list shows: a translated block 1 would hide that English name.
#define IDS_PANE_WITHOUT_GL 100
#define IDS_UNSAVED_SETTINGS 101
#define IDS_FATAL_ERROR_TITLE 102
#define IDS_UNKNOWN_ERROR 103
