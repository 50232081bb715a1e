// resource.h: every resource and command identifier of Sumwise.
//
// Read by both the C++ compiler and windres, so it holds nothing but plain
// #defines: no enums, no casts, no includes. The framework's own identifiers
// (ID_HELP, AFX_IDS_APP_TITLE) live in the framework layer, not here.
#ifndef SUMWISE_RES_RESOURCE_H
#define SUMWISE_RES_RESOURCE_H

// Dialog templates and strings
#define IDD_ABOUTBOX                    100
#define IDS_ABOUTBOX                    101
#define IDD_MAIN                        102

// Icon group of the application (main window, About box, Explorer)
#define IDR_MAINFRAME                   128

// Controls of IDD_MAIN
#define IDC_HASH                        1000
#define IDC_INPUT                       1001
#define IDC_HASHNOW                     1002
#define IDC_INPUT_LABEL                 1003
#define IDC_HASH_LABEL                  1004
#define IDC_CLEAR                       1005
#define IDC_FILE                        1008
#define IDC_PROGRESS                    1009
#define IDC_STATUS                      1010

// System menu command for the About box. System commands travel with their
// low four bits free for the system's own use, so this must be a multiple
// of 16 below 0xF000 (where SC_SIZE and the other SC_ commands begin).
#define IDM_ABOUTBOX                    0x0010

// Controls that are never addressed by ID. Windows' headers document this
// value but do not define it.
#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

#endif // SUMWISE_RES_RESOURCE_H
