#include "switcher/win32/icons.h"

#include "switcher/win32/resource.h"

namespace switcher::win32 {

namespace {

HICON LoadSized(int width, int height, UINT flags) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VANTREL),
                                           IMAGE_ICON, width, height, flags));
}

}  // namespace

Icons Icons::Load() {
    return Icons{LoadSized(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), LR_SHARED),
                 LoadSized(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED)};
}

// Not shared: a shared icon is cached by its resource alone, whatever size
// was asked for.
UniqueIcon Icons::LoadSquare(int side) { return UniqueIcon(LoadSized(side, side, 0)); }

}  // namespace switcher::win32
