#include "stub/launcher.h"

#include "common/build_marker.h"
#include "common/settings.h"

namespace stub {

using platform::Status;

namespace {

// Messages read as sentences whatever the system's text ends with.
std::string Sentence(std::string text) {
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

}  // namespace

// Marks an event as being handled. A message box opened by the handler runs
// its own message loop, in which the window's timer ticks and posted clicks
// still arrive; they find the stub busy and do nothing.
class Launcher::Busy {
public:
    explicit Busy(Launcher& launcher) : launcher_(launcher) { launcher_.busy_ = true; }
    ~Busy() {
        launcher_.busy_ = false;
        if (launcher_.closePending_ && !launcher_.finished_) launcher_.Finish(kExitNormal);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    Launcher& launcher_;
};

Launcher::Launcher(platform::Services& os, View& view)
    : os_(os), view_(view), folder_(os.ProgramFolder()) {}

void Launcher::Load() {
    if (busy_ || finished_) return;
    Busy busy(*this);
    // A setting that cannot be read counts as never stored: start at once.
    auto stored = os_.ReadSetting(common::kOptionsSection, common::kAskToSwitchKey);
    if (!stored || !common::AsksForBuild(*stored)) {
        StopTimer();
        StartGame();
        return;
    }
    os_.Beep();
    view_.Show();
}

void Launcher::PickBuild10c() { SwitchThenStart(&common::MakeBuild10cCurrent); }

void Launcher::PickBuild10e() { SwitchThenStart(&common::MakeBuild10eCurrent); }

void Launcher::SwitchThenStart(Status (*makeCurrent)(platform::Services&, std::string_view)) {
    if (busy_ || finished_) return;
    Busy busy(*this);
    StopTimer();
    if (Status s = makeCurrent(os_, folder_); !s) {
        // Starting now would run the build the player did not choose. The
        // window stays so that they can choose again or close it.
        os_.ShowMessage(Sentence(s.message()) + "\n\nThe game was not started.", kMessageTitle,
                        platform::MessageStyle::OkError);
        return;
    }
    StartGame();
}

void Launcher::ChoiceTimedOut() {
    // A tick may already be queued when the timer stops.
    if (busy_ || finished_ || timerStopped_) return;
    Busy busy(*this);
    StopTimer();
    StartGame();
}

void Launcher::CloseRequested() {
    if (finished_) return;
    if (busy_) {
        closePending_ = true;
        return;
    }
    Finish(kExitNormal);
}

void Launcher::StartGame() {
    if (finished_) return;
    const std::string arguments = os_.ArgumentText();
    if (Status s = os_.StartProgram(GamePath(), arguments, platform::WindowStyle::Normal); !s) {
        StopTimer();
        os_.ShowMessage("The game could not be started.\n\n" + Sentence(s.message()), kMessageTitle,
                        platform::MessageStyle::OkError);
        Finish(kExitGameNotStarted);
        return;
    }
    // The game runs by now: a log that cannot be written is not worth a
    // message over its window, only the exit code says so.
    Finish(LogArguments() ? kExitNormal : kExitNotLogged);
}

Status Launcher::LogArguments() {
    // One write of the whole line, so the log never holds half of it.
    return os_.AppendAnsiText(LogPath(), "\"" + os_.ArgumentText() + "\"\r\n");
}

void Launcher::StopTimer() {
    timerStopped_ = true;
    view_.StopTimer();
}

void Launcher::Finish(int exitCode) {
    finished_ = true;
    exitCode_ = exitCode;
    view_.Close(exitCode);
}

}  // namespace stub
