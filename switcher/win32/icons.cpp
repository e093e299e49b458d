#include "switcher/win32/icons.h"

#include "switcher/win32/resource.h"

namespace switcher::win32 {

namespace {

HICON LoadSized(int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VANTREL),
                                           IMAGE_ICON, ::GetSystemMetrics(widthMetric),
                                           ::GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

Icons Icons::Load() { return Icons{LoadSized(SM_CXICON, SM_CYICON), LoadSized(SM_CXSMICON, SM_CYSMICON)}; }

}  // namespace switcher::win32
