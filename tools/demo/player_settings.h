#pragma once
// The demo player's command line:
//
//   demo_player.exe /vantrel:PATH /game:FOLDER /host:PATH /app:PATH [/shots]
//
//   /vantrel:  Vantrel.exe to start
//   /game:     the registered game folder, holding Brennic.exe and the
//              stand-in game as Brennic_Original.exe
//   /host:     the stand-in host (tools/standin_host)
//   /app:      the stand-in application to be closed (tools/demo/standin_app)
//   /shots     ask for a screenshot of each visible step (screenshots.h)

#include <optional>
#include <string>
#include <vector>

namespace demo {

struct PlayerSettings {
    std::wstring vantrel, game, host, app;  // game: without a trailing separator
    bool shots = false;
};

// The settings from the arguments after the program's own name; nothing
// when one is missing or empty, or an argument is not understood.
std::optional<PlayerSettings> ParsePlayerSettings(const std::vector<std::wstring>& arguments);

}  // namespace demo
