#include "framework/dpi.h"

void AfxInitDpiAwareness()
{
    if (!::IsProcessDPIAware())
        ::SetProcessDPIAware();
}
