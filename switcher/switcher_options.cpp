// The options' check boxes: loading them at start and handling their clicks.
#include "common/settings.h"
#include "switcher/options.h"
#include "switcher/switcher.h"

namespace switcher {

using common::kAskToSwitchKey;
using common::kCloseApplicationsKey;
using common::kOptionsSection;
using common::kStartWithWindowsKey;

bool& Switcher::Box(CheckBox box) {
    switch (box) {
        case CheckBox::AskToSwitch: return askToSwitch_;
        case CheckBox::StartWithWindows: return startWithWindows_;
        case CheckBox::CloseApplications: break;
    }
    return closeApplications_;
}

void Switcher::LoadOptions() {
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

void Switcher::SetBox(CheckBox box, bool checked) {
    if (Box(box) == checked) return;
    Box(box) = checked;
    HandleClick(box);
}

void Switcher::ClickCheckBox(CheckBox box) {
    Box(box) = !Box(box);
    HandleClick(box);
    view_.Refresh();
}

void Switcher::SetSelected(std::size_t index, bool selected) {
    applications_.SetSelected(index, selected);
}

void Switcher::HandleClick(CheckBox box) {
    switch (box) {
        case CheckBox::StartWithWindows: return ApplyStartWithWindows();
        case CheckBox::AskToSwitch: return ApplyAskToSwitch();
        case CheckBox::CloseApplications: return ApplyCloseApplications();
    }
}

void Switcher::ApplyStartWithWindows() {
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

void Switcher::ApplyAskToSwitch() { StoreOption(kAskToSwitchKey, askToSwitch_); }

void Switcher::ApplyCloseApplications() {
    if (closeApplications_)
        applications_.ListWindows(os_);
    else
        applications_.Clear();
    StoreOption(kCloseApplicationsKey, closeApplications_);
}

void Switcher::StoreOption(std::string_view key, bool on) {
    if (const auto s = os_.WriteSetting(kOptionsSection, key, on ? "1" : "0"); !s)
        messages_.ShowError(s.message());
}

}  // namespace switcher
