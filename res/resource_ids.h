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
