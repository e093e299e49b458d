#pragma once
// Brennic's behaviour: it stands in the game folder under the game's file
// name, lets the player pick the build (or not, as the option "Launching"
// says), starts the renamed game with its own argument text unchanged and
// appends that text to its log. The window code forwards the window's events
// here: its load, the clicks on the two build buttons, the end of the wait
// for a choice and the user's request to close it.

#include <string>
#include <string_view>

#include "common/version.h"
#include "platform/services.h"
#include "stub/view.h"

namespace stub {

inline constexpr std::string_view kCaption = VANTREL_NAME_AND_VERSION;
inline constexpr std::string_view kMessageTitle = "Brennic";
inline constexpr unsigned kChoiceWaitMs = 1000;

// Files in the stub's own folder; each name starts with the separator.
inline constexpr std::string_view kGameName = "\\Brennic_Original.exe";
inline constexpr std::string_view kLogName = "\\WriteCommandTxt.ini";

// How the program ends.
inline constexpr int kExitNormal = 0;          // game started and logged, or window closed
inline constexpr int kExitGameNotStarted = 1;  // the game could not be started
inline constexpr int kExitNotLogged = 2;       // game started, its line not logged

class Launcher {
public:
    Launcher(platform::Services& os, View& view);

    // Runs once at start, before there is any window: starts the game at
    // once, or beeps and shows the window, which starts the wait for a
    // choice.
    void Load();
    void PickBuild10c();  // 1.0c, then start
    void PickBuild10e();  // 1.0e, then start
    void ChoiceTimedOut();  // start with the build that is current now
    // The user closes the window: it ends without starting the game. Asked
    // while an event is still being handled (a message box of it is open),
    // the window closes when that handling is over, unless it closed anyway.
    void CloseRequested();

    // The window's methods. Each is complete on its own; the handlers above
    // add the guard that lets one run of the stub start the game only once.
    // Starts the game, logs its argument text and closes the window; a game
    // that cannot be started is reported and closes the window too.
    void StartGame();
    // Appends the argument text to the log as one quoted line.
    platform::Status LogArguments();

    // Once true, every further event is ignored.
    bool finished() const { return finished_; }
    int exitCode() const { return exitCode_; }

    std::string GamePath() const { return folder_ + std::string(kGameName); }
    std::string LogPath() const { return folder_ + std::string(kLogName); }

private:
    class Busy;
    void StopTimer();
    void Finish(int exitCode);
    void SwitchThenStart(platform::Status (*makeCurrent)(platform::Services&, std::string_view));

    platform::Services& os_;
    View& view_;
    const std::string folder_;
    bool busy_ = false;          // an event is being handled
    bool finished_ = false;      // the window is closed or closing
    bool closePending_ = false;  // the user asked to close while busy
    bool timerStopped_ = false;
    int exitCode_ = kExitNormal;
};

}  // namespace stub
