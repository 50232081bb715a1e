// Classes in this file:
//   CAboutDlg - the About box, opened from the main window's system menu.
#pragma once

#include "framework/afxwin.h"
#include "res/resource.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();

    enum { IDD = IDD_ABOUTBOX };

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
