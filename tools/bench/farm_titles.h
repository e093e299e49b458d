#pragma once
// The titles of the window farm's windows (bench_window_farm). Both carry the
// farm's process id, so a farm left over from an earlier run never answers
// for this one.

#include <cstdio>
#include <string>

namespace bench {

// The farm's own window: it appears once every other window exists, and
// closing it ends the farm.
inline std::wstring FarmControlTitle(unsigned long farmId) {
    return L"Vantrel bench window farm " + std::to_wstring(farmId);
}

// Window `index` (from 0) of the farm.
inline std::wstring FarmWindowTitle(unsigned long farmId, int index) {
    wchar_t number[16];
    std::swprintf(number, 16, L"%05d", index);
    return L"Farm " + std::to_wstring(farmId) + L" window " + number;
}

}  // namespace bench
