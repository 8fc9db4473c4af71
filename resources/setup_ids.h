// Control identifiers of the installer's dialog templates (setup.rc). The buttons use IDOK for
// "Next >>", "Finish" and "Resume" (result 1) and IDCANCEL for "Cancel" and "Exit" (result 0).
#pragma once

#define IDC_SETUP_LOGO 1000        // 102: the logo, bitmap 107
#define IDC_SETUP_AGREEMENT 1001   // 102: the agreement text (multi-line, read-only, scrolling)
#define IDC_SETUP_FOLDER_LABEL 1002 // 103: "<product> will be installed in the following folder."
#define IDC_SETUP_FOLDER 1003      // 103: the destination folder
#define IDC_SETUP_ABORT_TEXT 1004  // 105: the first sentence
#define IDC_SETUP_ABORT_HINT 1005  // 105: "Press Resume to continue with this setup."
