// Resource ids of astr: its display name and the controls of its two dialogs,
// shared by the resource script and the code. Plain defines, so the
// platform-free control mapping can use them too.
#pragma once

// The string the screensaver host shows as the saver's name.
#define IDS_DISPLAY_NAME 1

// "ASTR_DLG": the settings.
#define IDC_MUSIC 1001
#define IDC_RESOLUTION_GROUP 108
#define IDC_RESOLUTION_DESKTOP 1010
#define IDC_RESOLUTION_640 1011
#define IDC_RESOLUTION_320 1012
#define IDC_OPENGL_GROUP 101
#define IDC_SYNC_FRAMES 1020
#define IDC_OPENGL_INSTANCE 1021
#define IDC_FIXED_SYNC 1022
#define IDC_COLOR_GROUP 112
#define IDC_COLOR_DESKTOP 1030
#define IDC_COLOR_16 1031
#define IDC_COLOR_24 1032
#define IDC_DEPTH_GROUP 116
#define IDC_DEPTH_DEFAULT 1040
#define IDC_DEPTH_16 1041
#define IDC_DEPTH_32 1042

// "ASTR_STS": the figures of the last run.
#define IDC_STATS_PARTICLES 2001
#define IDC_STATS_RESOLUTION 2002
#define IDC_STATS_COLOR_BITS 2003
#define IDC_STATS_DEPTH_BITS 2004
#define IDC_STATS_FRAME_RATE 2005
#define IDC_STATS_PARTICLE_RATE 2006
