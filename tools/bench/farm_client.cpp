#include "tools/bench/farm_client.h"

#include "tools/bench/farm_titles.h"

namespace bench {

WindowFarm::WindowFarm(const std::wstring& farmProgram, int count, DWORD milliseconds)
    : process_(farmProgram, std::to_wstring(count)), count_(count) {
    if (!process_.Started()) {
        error_ = process_.Error();
        return;
    }
    const std::wstring control = FarmControlTitle(Id());
    const DWORD start = ::GetTickCount();
    while (!::FindWindowW(nullptr, control.c_str())) {
        if (!process_.Running()) {
            error_ = "the window farm ended before its windows were ready";
            return;
        }
        if (::GetTickCount() - start > milliseconds) {
            error_ = "the window farm's windows were not ready within " + std::to_string(milliseconds) + " ms";
            return;
        }
        ::Sleep(10);
    }
    ready_ = true;
}

std::wstring WindowFarm::Title(int index) const { return FarmWindowTitle(Id(), index); }

std::optional<DWORD> WindowFarm::Stop(DWORD milliseconds) {
    // Posted, not sent: it queues behind every close request posted before,
    // so the count the farm returns includes them all.
    const HWND control = ::FindWindowW(nullptr, FarmControlTitle(Id()).c_str());
    if (!control || !::PostMessageW(control, WM_CLOSE, 0, 0)) return std::nullopt;
    return process_.WaitForExit(milliseconds);
}

}  // namespace bench
