// Resource ids of the launcher; shared by the resource script and the code.
#pragma once

#define IDC_SETUP_BUTTON 1000
#define IDC_EXIT_BUTTON 1001
#define IDC_VENDOR_EDIT 1002
#define IDC_TITLE_EDIT 1003
#define IDC_VERSION_EDIT 1004
#define IDC_SIZE_EDIT 1005
