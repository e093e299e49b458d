#include "tools/demo/player_settings.h"

namespace demo {

std::optional<PlayerSettings> ParsePlayerSettings(const std::vector<std::wstring>& arguments) {
    PlayerSettings s;
    for (const std::wstring& arg : arguments) {
        auto take = [&](const std::wstring& prefix, std::wstring& into) {
            if (arg.compare(0, prefix.size(), prefix) != 0) return false;
            into = arg.substr(prefix.size());
            return true;
        };
        if (arg == L"/shots") {
            s.shots = true;
        } else if (!take(L"/vantrel:", s.vantrel) && !take(L"/game:", s.game) && !take(L"/host:", s.host) &&
                   !take(L"/app:", s.app)) {
            return std::nullopt;
        }
    }
    // Paths are built as folder + "\name".
    while (!s.game.empty() && (s.game.back() == L'\\' || s.game.back() == L'/')) s.game.pop_back();
    if (s.vantrel.empty() || s.game.empty() || s.host.empty() || s.app.empty()) return std::nullopt;
    return s;
}

}  // namespace demo
