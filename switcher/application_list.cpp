#include "switcher/application_list.h"

namespace switcher {

void ApplicationList::ListWindows(platform::Services& os) {
    entries_.clear();
    for (auto& window : os.TopLevelWindows())
        if (!window.title.empty()) entries_.push_back({std::move(window.title), false});
}

void ApplicationList::CloseSelected(platform::Services& os) {
    // Work on a copy: a close request may reach one of our own windows, and
    // the list must not change under the loop.
    const std::vector<ApplicationEntry> entries = std::move(entries_);
    entries_.clear();
    for (const auto& entry : entries)
        if (entry.selected) CloseWindowByTitle(os, entry.title);
}

void ApplicationList::SetSelected(std::size_t index, bool selected) {
    if (index < entries_.size()) entries_[index].selected = selected;
}

void CloseWindowByTitle(platform::Services& os, std::string_view title) {
    const platform::WindowHandle window = os.FindWindowByTitle(title);
    if (window == 0) return;
    // A refused post means the window went away since the lookup: for the
    // user that is the same as a window that closed.
    (void)os.PostCloseRequest(window);
}

}  // namespace switcher
