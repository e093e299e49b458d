// Vantrel.exe: the tray-resident switcher. The options window is created
// first; the model then decides whether this instance stays.

#include <windows.h>

#include "platform/win32/system_library.h"
#include "platform/win32/win32_services.h"
#include "switcher/switcher.h"
#include "switcher/texts.h"
#include "switcher/win32/window_view.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::win32::LimitLibrarySearchToSystemFolder();
    // The manifest asks for the themed common controls. Nothing here loads
    // them: the options window's controls, the About window and the message
    // boxes bring them in when they first appear.
    platform::win32::Win32Services os;
    switcher::win32::WindowView view;
    switcher::Switcher model(os, view);
    view.Attach(model);

    if (!view.Options().Load()) {
        os.ShowMessage("Vantrel cannot create its window.", switcher::kProgramTitle,
                       platform::MessageStyle::OkError);
        return 1;
    }
    if (!model.Load()) {
        // Another instance runs: leave without a trace.
        view.DestroyAll();
        return 0;
    }
    view.Options().Started();

    MSG message{};
    int got;
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (view.DialogKey(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    view.DestroyAll();
    return got < 0 ? 1 : static_cast<int>(message.wParam);
}
