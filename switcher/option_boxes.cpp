// The options' check boxes: loading them at start and handling their clicks.
#include "common/settings.h"
#include "switcher/options.h"

namespace switcher {

using common::kAskToSwitchKey;
using common::kCloseApplicationsKey;
using common::kOptionsSection;
using common::kStartWithWindowsKey;

bool& Options::Box(CheckBox box) {
    switch (box) {
        case CheckBox::AskToSwitch: return askToSwitch_;
        case CheckBox::StartWithWindows: return startWithWindows_;
        case CheckBox::CloseApplications: break;
    }
    return closeApplications_;
}

void Options::Load() {
    const std::pair<CheckBox, std::string_view> order[] = {
        {CheckBox::StartWithWindows, kStartWithWindowsKey},
        {CheckBox::AskToSwitch, kAskToSwitchKey},
        {CheckBox::CloseApplications, kCloseApplicationsKey},
    };
    for (const auto& [box, key] : order) {
        const auto stored = os_.ReadSetting(kOptionsSection, key);
        SetBox(box, stored && common::StoredOptionIsOn(*stored));
    }
    view_.Refresh();
}

void Options::SetBox(CheckBox box, bool checked) {
    if (Box(box) == checked) return;
    Box(box) = checked;
    HandleClick(box);
}

void Options::ClickCheckBox(CheckBox box) {
    Box(box) = !Box(box);
    HandleClick(box);
    view_.Refresh();
}

void Options::SetSelected(std::size_t index, bool selected) {
    applications_.SetSelected(index, selected);
}

bool Options::Checked(CheckBox box) const { return const_cast<Options*>(this)->Box(box); }

bool Options::CloseSelectedApplications() {
    if (!closeApplications_ || applications_.Empty()) return false;
    // The list box is the truth of what is selected: another program may
    // have changed it without the window hearing of it.
    const std::vector<bool> shown = view_.ShownSelection();
    for (std::size_t i = 0; i < applications_.Entries().size(); ++i)
        applications_.SetSelected(i, i < shown.size() && shown[i]);
    applications_.CloseSelected(os_);
    return true;
}

void Options::HandleClick(CheckBox box) {
    switch (box) {
        case CheckBox::StartWithWindows: return ApplyStartWithWindows();
        case CheckBox::AskToSwitch: return ApplyAskToSwitch();
        case CheckBox::CloseApplications: return ApplyCloseApplications();
    }
}

void Options::ApplyStartWithWindows() {
    if (startWithWindows_) {
        const auto written = RegisterStartup(os_);
        if (!written) {
            // Neither Run value could be written: the box must not claim
            // what the system will not do.
            startWithWindows_ = false;
            StoreOption(kStartWithWindowsKey, false);
            view_.Refresh();
            return messages_.ShowError(written.message());
        }
        StoreOption(kStartWithWindowsKey, true);
        if (const auto s = RemoveOtherStartup(os_, *written); !s) messages_.ShowError(s.message());
    } else {
        if (const auto s = UnregisterStartup(os_); !s) {
            // A Run value is still there, so the program still starts at
            // log-on: keep the box and the stored option saying so.
            startWithWindows_ = true;
            StoreOption(kStartWithWindowsKey, true);
            view_.Refresh();
            return messages_.ShowError(s.message());
        }
        StoreOption(kStartWithWindowsKey, false);
    }
}

void Options::ApplyAskToSwitch() { StoreOption(kAskToSwitchKey, askToSwitch_); }

void Options::ApplyCloseApplications() {
    if (closeApplications_)
        applications_.ListWindows(os_);
    else
        applications_.Clear();
    StoreOption(kCloseApplicationsKey, closeApplications_);
}

void Options::StoreOption(std::string_view key, bool on) {
    if (const auto s = os_.WriteSetting(kOptionsSection, key, on ? "1" : "0"); !s)
        messages_.ShowError(s.message());
}

}  // namespace switcher
