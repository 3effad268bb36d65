// Identifiers of the dialog template and its controls; the code and the host rely on them.
#pragma once

#define IDD_CONSENT 202
#define IDC_YES 209
// <windows.h> names a stock cursor IDC_NO; here it is the No button.
#ifdef IDC_NO
#undef IDC_NO
#endif
#define IDC_NO 210
#define IDC_DISCLAIMER 213
#define IDC_MESSAGE 215
