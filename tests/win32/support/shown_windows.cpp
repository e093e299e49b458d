#include "tests/win32/support/shown_windows.h"

#include <algorithm>

#include "tests/win32/support/desktop.h"

namespace e2e {

namespace {

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

}  // namespace

ShownWindowWatch::ShownWindowWatch() {
    // Windows already visible are not news.
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&alreadyVisible_));
    thread_ = std::thread([this] { Poll(); });
}

ShownWindowWatch::~ShownWindowWatch() {
    stop_ = true;
    thread_.join();
}

void ShownWindowWatch::Poll() {
    std::vector<HWND> seen = alreadyVisible_;
    while (!stop_) {
        std::vector<HWND> visible;
        EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&visible));
        for (HWND w : visible) {
            if (std::find(seen.begin(), seen.end(), w) != seen.end()) continue;
            seen.push_back(w);
            ShownWindow shown;
            shown.window = w;
            shown.threadId = GetWindowThreadProcessId(w, &shown.processId);
            shown.caption = WindowText(w);
            shown.className = ClassName(w);
            std::lock_guard<std::mutex> lock(mutex_);
            shown_.push_back(std::move(shown));
        }
        Sleep(1);
    }
}

bool ShownWindowWatch::PumpUntilExit(HANDLE process, Milliseconds timeout) {
    const bool ended = WaitForSingleObject(process, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
    Sleep(5);  // one more look
    return ended;
}

std::vector<ShownWindow> ShownWindowWatch::Shown(DWORD processId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<ShownWindow> result;
    for (const auto& w : shown_)
        if (!processId || w.processId == processId) result.push_back(w);
    return result;
}

std::vector<ShownWindow> ShownWindowWatch::ShownByThread(DWORD threadId) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<ShownWindow> result;
    for (const auto& w : shown_)
        if (w.threadId == threadId) result.push_back(w);
    return result;
}

}  // namespace e2e
