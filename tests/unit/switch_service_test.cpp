// What the build switch service does with a request, and what it refuses,
// against a double of the little it asks of the system.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

#include "service/switch_request.h"

namespace {

using platform::Result;
using platform::Status;
using service::Entry;
using service::Outcome;

const std::string kFolder = "C:\\Program Files\\Age2\\age2_x1";
const std::string kMarker = kFolder + "\\on.ini";

struct FakeSystem : service::System {
    std::optional<std::string> record = kFolder;
    std::map<std::string, Entry> entries = {{kFolder, {true, true}}};
    std::vector<std::pair<service::Severity, std::string>> log;
    std::string held;

    Result<std::string> RecordedGameFolder() override {
        if (!record) return Result<std::string>::Fail("The system cannot find the file specified");
        return *record;
    }
    Result<Entry> HoldFolder(std::string_view path) override { return Look(path); }
    Result<Entry> OpenForDeleting(std::string_view path) override {
        held = path;
        return Look(path);
    }
    Status DeleteHeld() override {
        entries.erase(held);
        return Status::Ok();
    }
    Result<Entry> Look(std::string_view path) override {
        auto it = entries.find(std::string(path));
        return it == entries.end() ? Entry{} : it->second;
    }
    Status CreateNew(std::string_view path) override {
        if (entries.count(std::string(path))) return Status::Fail("The file exists");
        entries[std::string(path)] = {true};
        return Status::Ok();
    }
    void Log(service::Severity severity, std::string_view text) override {
        log.push_back({severity, std::string(text)});
    }
};

TEST(SwitchRequest, MakesEachBuildCurrentAndSaysSo) {
    FakeSystem system;
    EXPECT_EQ(service::CarryOut(system, 128), Outcome::Changed);
    EXPECT_TRUE(system.entries.count(kMarker));
    EXPECT_EQ(service::CarryOut(system, 128), Outcome::AlreadyCurrent);
    EXPECT_EQ(service::CarryOut(system, 129), Outcome::Changed);
    EXPECT_FALSE(system.entries.count(kMarker));
    EXPECT_EQ(service::CarryOut(system, 129), Outcome::AlreadyCurrent);
    ASSERT_EQ(system.log.size(), 2u);
    EXPECT_EQ(system.log[1].second, "Request 129 (make 1.0c current): deleted " + kMarker + ".");
}

// Each refusal changes nothing and tells the event log why.
TEST(SwitchRequest, RefusesWhatItCannotTrust) {
    struct Case {
        const char* name;
        unsigned control;
        std::function<void(FakeSystem&)> arrange;
        std::string why;
    };
    const std::vector<Case> cases = {
        {"unknown control", 130, [](FakeSystem&) {}, "knows only 128"},
        {"no record", 128, [](FakeSystem& s) { s.record.reset(); }, "setup has recorded no game folder"},
        {"linked folder", 128, [](FakeSystem& s) { s.entries[kFolder].link = true; }, "a link to another folder"},
        {"marker with two names", 129, [](FakeSystem& s) { s.entries[kMarker] = {true, false, false, false, 2}; },
         "other names too"},
        {"marker a link", 129, [](FakeSystem& s) { s.entries[kMarker] = {true, false, true}; }, "a link"},
        {"marker a folder", 129, [](FakeSystem& s) { s.entries[kMarker] = {true, true}; }, "is a folder"},
        {"hidden marker", 128, [](FakeSystem& s) { s.entries[kMarker] = {true, false, false, true}; }, "hidden"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem system;
        c.arrange(system);
        const auto before = system.entries;
        EXPECT_EQ(service::CarryOut(system, c.control), Outcome::Refused);
        EXPECT_EQ(system.entries.size(), before.size());
        ASSERT_EQ(system.log.size(), 1u);
        EXPECT_EQ(system.log[0].first, service::Severity::Warning);
        EXPECT_NE(system.log[0].second.find(c.why), std::string::npos) << system.log[0].second;
    }
}

}  // namespace
