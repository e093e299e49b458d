#include "setup/path_settings.h"

#include <algorithm>
#include <vector>

namespace setup {

using platform::Status;

namespace {

// Recorded values beside the uninstall entry: the layers text copied per
// key, and the names of the rules added, one a line.
constexpr std::string_view kLayersRecords[] = {"CopiedLayersUser", "CopiedLayersMachine"};
constexpr std::string_view kRulesRecord = "CopiedFirewallRules";
constexpr std::string_view kOriginalRecord = "CopiedFor";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = std::min(text.find('\n', start), text.size());
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string TextOr(const platform::Result<std::string>& value, const std::string& otherwise) {
    return value ? *value : otherwise;
}

void Say(std::string& words, const std::string& line) { words += line + "\n"; }

}  // namespace

std::string CarryOverPathSettings(platform::Services& os, platform::SetupServices& system, const GameFiles& game) {
    const std::string executable = game.ExecutablePath();
    const std::string original = game.Path(kOriginalName);
    std::string words;
    if (Status s = os.WriteRegistry(RecordValue(kOriginalRecord), original); !s) {
        Say(words, "The compatibility settings and firewall rules of " + executable +
                       " were not carried over: " + s.message());
        return words;
    }
    for (int i = 0; i < 2; ++i) {
        auto layers = system.ReadSystemValue(kLayersKeys[i], executable);
        if (!layers || layers->empty()) continue;
        // A setting the player made for the original already is theirs.
        if (system.ReadSystemValue(kLayersKeys[i], original)) continue;
        // Recorded first: a run cut off after the copy still removes it.
        Status s = os.WriteRegistry(RecordValue(kLayersRecords[i]), *layers);
        if (s) s = system.WriteSystemValue(kLayersKeys[i], original, *layers);
        if (s) Say(words, "Compatibility settings \"" + *layers + "\" carried over to " + original + ".");
        else Say(words, "The compatibility settings \"" + *layers + "\" were not carried over: " + s.message());
    }

    auto rules = system.FirewallRules(executable);
    if (!rules) {
        Say(words, "The firewall rules for " + executable + " were not carried over: " + rules.message());
        return words;
    }
    auto have = system.FirewallRules(original);
    std::vector<std::string> names = *rules, copied = Lines(TextOr(os.ReadRegistry(RecordValue(kRulesRecord)), ""));
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (const auto& name : names) {
        const std::string copy = name + std::string(kRuleCopySuffix);
        if (have && std::find(have->begin(), have->end(), copy) != have->end()) continue;
        std::string record;
        for (const auto& line : copied) record += line + "\n";
        Status s = os.WriteRegistry(RecordValue(kRulesRecord), record + copy);
        if (s) s = system.CopyFirewallRules(name, executable, copy, original);
        if (!s) {
            Say(words, "The firewall rule \"" + name + "\" was not carried over: " + s.message());
            continue;
        }
        copied.push_back(copy);
        Say(words, "Firewall rule \"" + name + "\" carried over to " + original + ".");
    }
    return words;
}

std::string RemoveCarriedSettings(platform::Services& os, platform::SetupServices& system) {
    auto original = os.ReadRegistry(RecordValue(kOriginalRecord));
    if (!original || original->empty()) return "";
    std::string words;
    for (int i = 0; i < 2; ++i) {
        auto copied = os.ReadRegistry(RecordValue(kLayersRecords[i]));
        if (!copied) continue;
        // Changed since: the player's own setting now, left alone.
        if (TextOr(system.ReadSystemValue(kLayersKeys[i], *original), *copied) == *copied)
            if (Status s = system.DeleteSystemValue(kLayersKeys[i], *original); !s) {
                Say(words, s.message());
                continue;
            }
        (void)os.DeleteRegistry(RecordValue(kLayersRecords[i]));
    }
    std::string left;
    for (const auto& name : Lines(TextOr(os.ReadRegistry(RecordValue(kRulesRecord)), "")))
        if (Status s = system.RemoveFirewallRules(name, *original); !s) {
            Say(words, s.message());
            left += name + "\n";
        }
    if (!left.empty()) return words;
    (void)os.DeleteRegistry(RecordValue(kRulesRecord));
    (void)os.DeleteRegistry(RecordValue(kOriginalRecord));
    return words;
}

}  // namespace setup
