#include "tests/win32/support/standin_record.h"

#include <stdexcept>

#include "tests/win32/support/files.h"

namespace e2e {

namespace {

// Each field is "<name> <byte count>\n<bytes>\n"; a record ends with the
// field "end". A record still being written at the end is left out.
class Reader {
public:
    explicit Reader(std::string bytes) : bytes_(std::move(bytes)) {}
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    // Nothing when the file ends inside the field: the stand-in may be
    // writing its record right now.
    std::optional<std::pair<std::string, std::string>> Field() {
        std::size_t newline = bytes_.find('\n', pos_);
        if (newline == std::string::npos) return std::nullopt;
        std::size_t blank = bytes_.find(' ', pos_);
        if (blank == std::string::npos || blank > newline)
            throw std::runtime_error("malformed stand-in record near byte " + std::to_string(pos_));
        std::string name = bytes_.substr(pos_, blank - pos_);
        std::size_t length = std::stoul(bytes_.substr(blank + 1, newline - blank - 1));
        std::size_t start = newline + 1;
        if (start + length + 1 > bytes_.size()) return std::nullopt;
        if (bytes_[start + length] != '\n')
            throw std::runtime_error("malformed stand-in record field " + name);
        pos_ = start + length + 1;
        return std::make_pair(name, bytes_.substr(start, length));
    }

private:
    std::string bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<StandinRecord> ReadStandinRecords(const std::wstring& recordFile) {
    std::vector<StandinRecord> records;
    auto bytes = ReadFileBytes(recordFile);
    if (!bytes) return records;
    Reader reader(std::move(*bytes));
    StandinRecord current;
    while (!reader.AtEnd()) {
        auto field = reader.Field();
        if (!field) break;
        const auto& [name, value] = *field;
        if (name == "arguments") current.arguments = value;
        else if (name == "commandline") current.commandLine = value;
        else if (name == "program") current.program = value;
        else if (name == "folder") current.workingFolder = value;
        else if (name == "marker") current.marker = value;
        else if (name == "show") current.showWindow = std::stoi(value);
        else if (name == "started") current.startedAt = std::stoull(value);
        else if (name == "pid") current.processId = std::stoul(value);
        else if (name == "end") {
            records.push_back(current);
            current = StandinRecord{};
        }
    }
    return records;
}

}  // namespace e2e
