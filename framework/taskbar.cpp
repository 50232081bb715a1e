#include "framework/taskbar.h"

namespace {

// The program's own IDs: MinGW keeps them in libuuid.
const CLSID kTaskbarList = { 0x56fdf344, 0xfd6d, 0x11d0, { 0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90 } };
const IID kITaskbarList3 = { 0xea1afb91, 0x9e28, 0x4b86, { 0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf } };

// No value sent yet.
const UINT kNoPercent = 0xFFFFFFFF;

} // namespace

CTaskbarButton::CTaskbarButton() : m_hWnd(NULL), m_pList(NULL), m_state(TBPF_NOPROGRESS), m_nPercent(kNoPercent)
{
}

CTaskbarButton::~CTaskbarButton()
{
    Detach();
}

UINT CTaskbarButton::GetCreatedMessage()
{
    static const UINT nMessage = ::RegisterWindowMessageW(L"TaskbarButtonCreated");
    return nMessage;
}

void CTaskbarButton::AllowCreatedMessage(HWND hWnd)
{
    ::ChangeWindowMessageFilterEx(hWnd, GetCreatedMessage(), MSGFLT_ALLOW, NULL);
}

// The list is made again: Explorer that restarted no longer knows what the
// old one was told.
void CTaskbarButton::OnCreated(HWND hWnd, const CComThread& com)
{
    Detach();
    ITaskbarList3* pList = com.CreateInstance<ITaskbarList3>(kTaskbarList, kITaskbarList3);
    if (pList == NULL)
        return;
    if (FAILED(pList->HrInit())) {
        pList->Release();
        return;
    }
    m_hWnd = hWnd;
    m_pList = pList;
}

void CTaskbarButton::Detach()
{
    if (m_pList != NULL) {
        m_pList->Release();
        m_pList = NULL;
    }
    m_hWnd = NULL;
    m_state = TBPF_NOPROGRESS;
    m_nPercent = kNoPercent;
}

void CTaskbarButton::SetProgressState(TBPFLAG state)
{
    if (m_pList == NULL || state == m_state)
        return;
    m_pList->SetProgressState(m_hWnd, state);
    m_state = state;
    if (state != TBPF_NORMAL)
        m_nPercent = kNoPercent;
}

void CTaskbarButton::SetProgressValue(UINT nPercent)
{
    SetProgressState(TBPF_NORMAL);
    if (m_pList == NULL || nPercent == m_nPercent)
        return;
    m_pList->SetProgressValue(m_hWnd, nPercent, 100);
    m_nPercent = nPercent;
}
