#include "setup/path_settings.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

namespace setup {

using platform::Status;

namespace {

// Recorded values beside the uninstall entry: per layers key, the value the
// game's name had before setup and the one setup gave Brennic_Original.exe;
// the rules added, one a line ("<name><tab><properties>"; earlier versions
// wrote the name alone); and the two paths.
constexpr std::string_view kGameLayersRecords[] = {"GameLayersUser", "GameLayersMachine"};
constexpr std::string_view kLayersRecords[] = {"CopiedLayersUser", "CopiedLayersMachine"};
constexpr std::string_view kRulesRecord = "CopiedFirewallRules";
constexpr std::string_view kOriginalRecord = "CopiedFor";
constexpr std::string_view kGameRecord = "CopiedFrom";
constexpr std::string_view kPrivilegeLayers[] = {"RUNASADMIN", "RUNASHIGHEST", "RUNASINVOKER"};

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = std::min(text.find(separator, start), text.size());
        if (end > start) parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

std::string TextOr(const platform::Result<std::string>& value, const std::string& otherwise) {
    return value ? *value : otherwise;
}

bool Recorded(platform::Services& os, std::string_view name) { return os.ReadRegistry(RecordValue(name)).ok(); }

void Say(std::string& words, const std::string& line) { words += line + "\n"; }

bool Privilege(std::string_view layer) {
    std::string upper(layer);
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return std::find(std::begin(kPrivilegeLayers), std::end(kPrivilegeLayers), upper) != std::end(kPrivilegeLayers);
}

// Recorded, then flushed: no change can reach the disk before its record.
Status RecordFirst(platform::Services& os, const std::vector<std::pair<std::string_view, std::string>>& values) {
    for (const auto& [name, value] : values)
        if (Status s = os.WriteRegistry(RecordValue(name), value); !s) return s;
    return os.FlushRegistry(kRecordKey);
}

void CarryLayers(platform::Services& os, platform::SetupServices& system, const std::string& executable,
                 const std::string& original, std::string& words) {
    for (int i = 0; i < 2; ++i) {
        // Moved by an earlier setup: what the player changed or deleted since stays so.
        if (Recorded(os, kGameLayersRecords[i])) continue;
        auto value = system.ReadSystemValue(kLayersKeys[i], executable);
        if (!value || value->empty()) continue;
        const SplitLayers split = SplitLayersValue(*value);
        if (split.game.empty()) continue;  // privilege layers alone: the stub keeps them
        // Layers the player gave Brennic_Original.exe, or an earlier
        // version's copy, stay as they are.
        const bool copy = !Recorded(os, kLayersRecords[i]) && !system.ReadSystemValue(kLayersKeys[i], original);
        std::vector<std::pair<std::string_view, std::string>> record = {{kGameLayersRecords[i], *value}};
        if (copy) record.push_back({kLayersRecords[i], split.game});
        Status s = RecordFirst(os, record);
        if (s && copy) s = system.WriteSystemValue(kLayersKeys[i], original, split.game);
        if (s)
            s = split.stub.empty() ? system.DeleteSystemValue(kLayersKeys[i], executable)
                                   : system.WriteSystemValue(kLayersKeys[i], executable, split.stub);
        if (!s) {
            Say(words, "The compatibility settings \"" + *value + "\" were not moved: " + s.message());
            continue;
        }
        Say(words, "Compatibility settings \"" + split.game + "\" moved to " + original +
                       (copy ? "" : " (which has settings of its own, so they were left as they are)") + "; " +
                       executable + " keeps " + (split.stub.empty() ? "none" : "\"" + split.stub + "\"") + ".");
    }
}

void CarryRules(platform::Services& os, platform::SetupServices& system, const std::string& executable,
                const std::string& original, std::string& words) {
    auto rules = system.FirewallRules(executable);
    auto have = rules ? system.FirewallRules(original) : rules;
    if (!rules || !have) {
        Say(words, "The firewall rules for " + executable + " were not carried over: " +
                       (rules ? have.message() : rules.message()));
        return;
    }
    std::vector<std::string> recorded = Split(TextOr(os.ReadRegistry(RecordValue(kRulesRecord)), ""), '\n');
    std::set<std::string> seen;
    for (const auto& rule : *rules) {
        if (!rule.enabled) continue;
        const std::string copy = rule.name + std::string(kRuleCopySuffix);
        const std::string identity = copy + "\t" + rule.properties;
        if (!seen.insert(identity).second) continue;  // the same rule twice
        const bool copied =
            std::any_of(recorded.begin(), recorded.end(), [&](const auto& l) { return l == identity || l == copy; }) ||
            std::any_of(have->begin(), have->end(),
                        [&](const auto& r) { return r.name == copy && r.properties == rule.properties; });
        if (copied) continue;  // an administrator may have turned the copy off, or removed it: it stays so
        Status s = rule.name.find_first_of("\t\n") == std::string::npos
                       ? Status::Ok()
                       : Status::Fail("its name holds a tab or a line break, which setup cannot record");
        if (s) {
            recorded.push_back(identity);
            s = RecordFirst(os, {{kRulesRecord, Join(recorded)}});
            if (s) s = system.CopyFirewallRule(executable, rule, copy, original);
            if (!s) {  // nothing was added
                recorded.pop_back();
                (void)os.WriteRegistry(RecordValue(kRulesRecord), Join(recorded));
            }
        }
        if (!s) Say(words, "The firewall rule \"" + rule.name + "\" was not carried over: " + s.message());
        else Say(words, "Firewall rule \"" + rule.name + "\" carried over to " + original + ".");
    }
}

}  // namespace

SplitLayers SplitLayersValue(std::string_view value) {
    std::string signs, stub, game;
    for (const auto& token : Split(value, ' ')) {
        const bool sign = stub.empty() && game.empty() &&
                          std::none_of(token.begin(), token.end(), [](unsigned char c) { return std::isalnum(c); });
        std::string& part = sign ? signs : Privilege(token) ? stub : game;
        part += (part.empty() ? "" : " ") + token;
    }
    auto withSigns = [&](const std::string& layers) { return layers.empty() || signs.empty() ? layers : signs + " " + layers; };
    return {withSigns(stub), withSigns(game)};
}

std::string CarryOverPathSettings(platform::Services& os, platform::SetupServices& system, const GameFiles& game) {
    const std::string executable = game.ExecutablePath();
    const std::string original = game.Path(kOriginalName);
    std::string words;
    Status s = os.WriteRegistry(RecordValue(kOriginalRecord), original);
    if (s) s = os.WriteRegistry(RecordValue(kGameRecord), executable);
    if (!s) {
        Say(words, "The compatibility settings and firewall rules of " + executable +
                       " were not carried over: " + s.message());
        return words;
    }
    CarryLayers(os, system, executable, original, words);
    CarryRules(os, system, executable, original, words);
    return words;
}

std::string RemoveCarriedSettings(platform::Services& os, platform::SetupServices& system) {
    auto original = os.ReadRegistry(RecordValue(kOriginalRecord));
    if (!original || original->empty()) return "";
    auto executable = os.ReadRegistry(RecordValue(kGameRecord));
    std::string words;
    bool left = false;
    for (int i = 0; i < 2; ++i) {
        if (auto copied = os.ReadRegistry(RecordValue(kLayersRecords[i]))) {
            // Changed since: the player's own setting now, left alone.
            Status s = TextOr(system.ReadSystemValue(kLayersKeys[i], *original), *copied) == *copied
                           ? system.DeleteSystemValue(kLayersKeys[i], *original)
                           : Status::Ok();
            if (s) s = os.DeleteRegistry(RecordValue(kLayersRecords[i]));
            if (!s) {
                Say(words, s.message());
                left = true;
                continue;
            }
        }
        auto before = os.ReadRegistry(RecordValue(kGameLayersRecords[i]));
        if (!before) continue;
        // Back byte for byte, unless the player changed it since.
        Status s = Status::Ok();
        if (executable && TextOr(system.ReadSystemValue(kLayersKeys[i], *executable), "") ==
                              SplitLayersValue(*before).stub)
            s = system.WriteSystemValue(kLayersKeys[i], *executable, *before);
        if (s) s = os.DeleteRegistry(RecordValue(kGameLayersRecords[i]));
        if (!s) {
            Say(words, s.message());
            left = true;
        }
    }
    std::vector<std::string> rules;
    for (const auto& line : Split(TextOr(os.ReadRegistry(RecordValue(kRulesRecord)), ""), '\n')) {
        const auto tab = line.find('\t');
        const std::string properties = tab == std::string::npos ? "" : line.substr(tab + 1);
        if (Status s = system.RemoveFirewallRule(*original, line.substr(0, tab), properties); !s) {
            Say(words, s.message());
            rules.push_back(line);
        }
    }
    Status s = rules.empty() ? os.DeleteRegistry(RecordValue(kRulesRecord))
                             : os.WriteRegistry(RecordValue(kRulesRecord), Join(rules));
    if (!s) Say(words, s.message());
    if (left || !rules.empty() || !s) return words;
    (void)os.DeleteRegistry(RecordValue(kGameRecord));
    (void)os.DeleteRegistry(RecordValue(kOriginalRecord));
    return words;
}

}  // namespace setup
