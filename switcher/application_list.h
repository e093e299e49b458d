#pragma once
// ApplicationList: the titles of the desktop's top-level windows, from which
// the user selects the applications to close when the game starts.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/services.h"

namespace switcher {

struct ApplicationEntry {
    std::string title;
    bool selected = false;
};

class ApplicationList {
public:
    // Rebuilds the list: one unselected entry per top-level window with a
    // non-empty title, in Z order from the top, titles whole, nothing merged
    // or filtered (our own windows included).
    void ListWindows(platform::Services& os);
    // WM_CLOSE for every selected entry, in list order, then empties the list.
    void CloseSelected(platform::Services& os);
    void Clear() { entries_.clear(); }

    // Only the user changes the selection. Out-of-range indexes are ignored.
    void SetSelected(std::size_t index, bool selected);

    const std::vector<ApplicationEntry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

private:
    std::vector<ApplicationEntry> entries_;
};

// Asks the window with exactly this title to close, without waiting. A title
// that matches no window closes nothing.
void CloseWindowByTitle(platform::Services& os, std::string_view title);

}  // namespace switcher
