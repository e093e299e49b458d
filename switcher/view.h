#pragma once
// What the tray program's behaviour asks of its windows. The window code
// implements this and draws the state that Switcher holds; it decides nothing.

#include <string>
#include <vector>

namespace switcher {

class View {
public:
    virtual ~View() = default;

    // The notification-area icon of the options window. False when the
    // system refused it.
    virtual bool AddTrayIcon() = 0;
    // Gives the shell the icon's image at the size the notification area
    // draws now, when that changed. False when the shell refused it.
    virtual bool ResizeTrayIcon() = 0;
    // Harmless when there is none; deletes an icon whose adding seemed to
    // fail too, as the shell may have taken it all the same.
    virtual void RemoveTrayIcon() = 0;

    // Show or hide the options window (hidden: off screen and taskbar,
    // still loaded, its timer running). Showing creates its controls the
    // first time, drawn from the model; false when the system refused them.
    virtual bool SetOptionsVisible(bool visible) = 0;
    // Destroys the options window the window (its timer with it). The program
    // ends once no window of it is loaded.
    virtual void CloseOptions() = 0;

    // Load the About window if it is not loaded, then bring it to the front.
    // False when the system refused the window.
    virtual bool ShowAbout() = 0;
    virtual void UnloadAbout() = 0;

    // Whether each entry of the application list is shown selected now,
    // in list order. The list is the truth: other programs can select in it
    // without the model hearing of it.
    virtual std::vector<bool> ShownSelection() = 0;

    // Redraw everything the model holds: check boxes, the application list's
    // entries (a new list comes unselected), the captions of the menu items.
    virtual void Refresh() = 0;
};

}  // namespace switcher
