#include "common/build_marker.h"

namespace common {

using platform::Status;

std::string MarkerPath(std::string_view gameFolder) {
    return std::string(gameFolder) + "\\" + std::string(kMarkerFileName);
}

std::string_view CurrentBuild(platform::Services& os, std::string_view gameFolder) {
    return os.PlainFileExists(MarkerPath(gameFolder)) ? kBuild10e : kBuild10c;
}

Status MakeBuild10cCurrent(platform::Services& os, std::string_view gameFolder) {
    const std::string marker = MarkerPath(gameFolder);
    if (!os.PlainFileExists(marker)) return Status::Ok();
    if (Status s = os.RemoveFile(marker); !s)
        return Status::Fail("Cannot switch to 1.0c: " + s.message() + ".");
    return Status::Ok();
}

Status MakeBuild10eCurrent(platform::Services& os, std::string_view gameFolder) {
    const std::string marker = MarkerPath(gameFolder);
    if (os.PlainFileExists(marker)) return Status::Ok();
    if (Status s = os.CreateEmptyFile(marker); !s)
        return Status::Fail("Cannot switch to 1.0e: " + s.message() + ".");
    if (!os.PlainFileExists(marker))
        return Status::Fail("Cannot switch to 1.0e: the file " + marker +
                            " is hidden or a system file, so it does not count.");
    return Status::Ok();
}

}  // namespace common
