#include "switcher/win32/icons.h"

#include <utility>

#include "platform/win32/dpi.h"
#include "switcher/win32/resource.h"

namespace switcher::win32 {

namespace {

HICON LoadSized(int width, int height, UINT flags) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VANTREL),
                                           IMAGE_ICON, width, height, flags));
}

}  // namespace

Icons Icons::Load() {
    const UINT dpi = platform::win32::MonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
    return Icons{LoadSized(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), LR_SHARED),
                 LoadSquare(platform::win32::SmallIconSize(dpi))};
}

UniqueIcon Icons::LoadSquare(int side) { return UniqueIcon(LoadSized(side, side, 0)); }

void CaptionIcon::Fit(HWND window, UINT dpi) {
    UniqueIcon icon = Icons::LoadSquare(platform::win32::SmallIconSize(dpi));
    if (!icon) return;  // the caption keeps the icon it has
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
    icon_ = std::move(icon);
}

}  // namespace switcher::win32
