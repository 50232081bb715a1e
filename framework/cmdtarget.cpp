#include "framework/cmdtarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = { { 0, 0, 0, 0, AfxSig_end, AFX_PMSGFN() } };
    static const AFX_MSGMAP map = { nullptr, &entries[0] };
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

namespace {

const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* pMap, const AFX_MSGCALL& call)
{
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p) {
            const UINT nMessage = p->pnMessage != nullptr ? *p->pnMessage : p->nMessage;
            if (nMessage == call.nMessage && p->nCode == call.nCode
                && call.nID >= p->nID && call.nID <= p->nLastID)
                return p;
        }
    }
    return nullptr;
}

} // namespace

BOOL CCmdTarget::DispatchMsg(const AFX_MSGCALL& call, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* pEntry = FindEntry(GetMessageMap(), call);
    if (pEntry == nullptr)
        return FALSE;

    LRESULT lResult = 0;
    const AFX_PMSGFN& fn = pEntry->pfn;
    switch (pEntry->nSig) {
    case AfxSig_vv:
        (this->*fn.pfn_vv)();
        break;
    case AfxSig_vwl:
        (this->*fn.pfn_vwl)(static_cast<UINT>(call.wParam), call.lParam);
        break;
    case AfxSig_hcurv:
        lResult = reinterpret_cast<LRESULT>((this->*fn.pfn_hcurv)());
        break;
    case AfxSig_hbrDWu:
        lResult = reinterpret_cast<LRESULT>((this->*fn.pfn_hbrDWu)(call.pDC, call.pWnd, call.nCtlColor));
        break;
    case AfxSig_vD:
        (this->*fn.pfn_vD)(reinterpret_cast<HDROP>(call.wParam));
        break;
    case AfxSig_vuR:
        (this->*fn.pfn_vuR)(HIWORD(call.wParam), reinterpret_cast<LPRECT>(call.lParam));
        break;
    case AfxSig_buS:
        lResult = (this->*fn.pfn_buS)(static_cast<UINT>(call.wParam), reinterpret_cast<LPSIZE>(call.lParam));
        break;
    case AfxSig_hfv:
        lResult = reinterpret_cast<LRESULT>((this->*fn.pfn_hfv)());
        break;
    case AfxSig_vp:
        (this->*fn.pfn_vp)(static_cast<UINT_PTR>(call.wParam));
        break;
    case AfxSig_lwl:
        lResult = (this->*fn.pfn_lwl)(call.wParam, call.lParam);
        break;
    case AfxSig_end:
        return FALSE;
    }
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}
