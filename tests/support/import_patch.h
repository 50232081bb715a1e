// Test support: ImportPatch, which points a test program's import of a
// system function at the test's own.
#pragma once

#include <windows.h>

// Points the program's import of a system function (its slot __imp_Name)
// at a test's own function for this object's life: a test sees calls that
// no message shows, or answers them.
template <typename F>
class ImportPatch
{
public:
    ImportPatch(F* pSlot, F fn) : m_pSlot(pSlot), m_old(*pSlot) { Set(fn); }
    ~ImportPatch() { Set(m_old); }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

private:
    void Set(F fn)
    {
        DWORD dwOld = 0;
        ::VirtualProtect(m_pSlot, sizeof fn, PAGE_READWRITE, &dwOld);
        *m_pSlot = fn;
        ::VirtualProtect(m_pSlot, sizeof fn, dwOld, &dwOld);
    }
    F* m_pSlot;
    F m_old;
};
