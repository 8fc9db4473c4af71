// GDI objects the process holds. Windows counts them (GetGuiResources); Wine answers 0 there, so
// the count is found instead from how many more objects the process can still make before its
// handle table is full: in use = (a fixed ceiling) - (objects still possible). Only differences
// between two counts mean anything.
#pragma once

#include <windows.h>

#include <vector>

inline long GdiObjectsInUse()
{
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted) return (long)counted;
    std::vector<HBRUSH> made;
    made.reserve(70000);
    while (made.size() < 200000) {
        HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
        if (!b) break;
        made.push_back(b);
    }
    for (HBRUSH b : made) DeleteObject(b);
    return 1000000L - (long)made.size();
}
