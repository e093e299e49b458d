#include "stub/launcher.h"

#include "stub/launching_option.h"

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
    auto stored = os_.ReadSetting(kSettingsSection, kLaunchingKey);
    if (!stored || !AsksForBuild(*stored)) {
        StopTimer();
        StartGame();
        return;
    }
    os_.Beep();
    view_.Show();
}

void Launcher::PickBuild10c() { SwitchThenRun(&Launcher::SetToC); }

void Launcher::PickBuild10e() { SwitchThenRun(&Launcher::SetToE); }

void Launcher::SwitchThenRun(Status (Launcher::*setTo)()) {
    if (busy_ || finished_) return;
    Busy busy(*this);
    StopTimer();
    if (Status s = (this->*setTo)(); !s) {
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

Status Launcher::SetToC() {
    if (!os_.PlainFileExists(MarkerPath())) return Status::Ok();
    if (Status s = os_.RemoveFile(MarkerPath()); !s)
        return Status::Fail("Cannot switch to 1.0c: " + s.message());
    return Status::Ok();
}

Status Launcher::SetToE() {
    if (os_.PlainFileExists(MarkerPath())) return Status::Ok();
    if (Status s = os_.CreateEmptyFile(MarkerPath()); !s)
        return Status::Fail("Cannot switch to 1.0e: " + s.message());
    // Some systems empty a hidden file in place instead of refusing to
    // replace it; it still does not count, and the game would run as 1.0c.
    if (!os_.PlainFileExists(MarkerPath()))
        return Status::Fail("Cannot switch to 1.0e: the file " + MarkerPath() +
                            " is hidden or a system file, so it does not count.");
    return Status::Ok();
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
