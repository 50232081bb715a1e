// Identifiers the class library reserves. Plain #defines, so resource
// scripts can include this file as well as C++.
#pragma once

// String resource: the application's title (message box captions).
#define AFX_IDS_APP_TITLE   0xE000

// Command: Help (F1 sends WM_HELP, which the dialog routes as this command).
#define ID_HELP             0xE146
