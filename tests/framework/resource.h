// Identifiers of the framework tests' own resources.
#pragma once

#define IDD_TEST        100
#define IDD_SYSFONT     101     // in the system font
#define IDC_FIRST       1001    // edit
#define IDC_SECOND      1002    // edit, read-only
#define IDC_PRESS       1003    // push button
#define IDC_OTHER       1004    // push button
#define IDC_LABEL       1005    // static text
#define IDC_APPCMD      1006    // a command no dialog handles
