// Classes in this file:
//   CHandleT     - owns one handle and frees it when destroyed or replaced;
//                  moving it hands the handle on.
//   CBrushHandle - a brush (CreateSolidBrush), freed with DeleteObject.
//   CFontHandle  - a font (CreateFontIndirect), freed with DeleteObject.
//   CIconHandle  - an icon loaded for one owner (not shared), freed with
//                  DestroyIcon.
// They read as the handle itself, so a window's m_hbrHash is passed and
// returned like an HBRUSH.
#pragma once

#include <windows.h>

template <typename THandle, typename TFree>
class CHandleT
{
public:
// Constructors
    CHandleT() = default;
    explicit CHandleT(THandle h) : m_h(h) {}
    ~CHandleT() { Attach(NULL); }
    CHandleT(const CHandleT&) = delete;
    CHandleT& operator=(const CHandleT&) = delete;
    CHandleT(CHandleT&& other) noexcept : m_h(other.m_h) { other.m_h = NULL; }
    CHandleT& operator=(CHandleT&& other) noexcept
    {
        if (this != &other) {
            Attach(other.m_h);
            other.m_h = NULL;
        }
        return *this;
    }

// Attributes
    operator THandle() const { return m_h; }

// Operations
    // Takes h, freeing the handle held before, so that replacing one never
    // leaks it.
    void Attach(THandle h)
    {
        if (m_h != NULL)
            TFree()(m_h);
        m_h = h;
    }

private:
    THandle m_h = NULL;
};

struct AfxDeleteObject
{
    void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};

struct AfxDestroyIcon
{
    void operator()(HICON h) const { ::DestroyIcon(h); }
};

using CBrushHandle = CHandleT<HBRUSH, AfxDeleteObject>;
using CFontHandle = CHandleT<HFONT, AfxDeleteObject>;
using CIconHandle = CHandleT<HICON, AfxDestroyIcon>;
