// Control ids of vantor's dialog; shared by the resource script and the code.
#pragma once

#define IDC_ACCELERATION 1001
#define IDC_VENDOR 1002
#define IDC_RENDERER 1003
#define IDC_VERSION 1004
#define IDC_MAX_TEXTURE_SIZE 1005
#define IDC_RED_BITS 1006
#define IDC_GREEN_BITS 1007
#define IDC_BLUE_BITS 1008
#define IDC_ALPHA_BITS 1009
#define IDC_COLOR_BITS 1010
#define IDC_DEPTH_BITS 1011
#define IDC_STENCIL_BITS 1012
#define IDC_MAX_LIGHTS 1013
#define IDC_EXTENSIONS 1015
#define IDC_ACCUM_RED_BITS 1016
#define IDC_ACCUM_GREEN_BITS 1017
#define IDC_ACCUM_BLUE_BITS 1018
#define IDC_ACCUM_ALPHA_BITS 1019
#define IDC_ACCUM_BITS 1020

// Ends the dialog; no control of the template bears it.
#define IDC_CLOSE_COMMAND 10
