#include "tests/win32/support/standin_record.h"

#include <charconv>
#include <cstdint>
#include <stdexcept>

#include "tests/win32/support/files.h"

namespace e2e {

namespace {

// A whole decimal that fits `Number`; from_chars alone would stop at the
// first non-digit and take a minus sign for a signed type.
template <typename Number>
Number Decimal(std::string_view text, const std::string& what) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw std::runtime_error("malformed stand-in record: " + what + " \"" + std::string(text) + "\"");
    return value;
}

// Each field is "<name> <byte count>\n<bytes>\n"; a record ends with the
// field "end". The byte counts matter: an argument text may itself hold a
// line that looks like a field.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    // Nothing when the text ends inside the field: the stand-in may be
    // writing its record right now.
    std::optional<std::pair<std::string, std::string>> Field() {
        const std::size_t newline = bytes_.find('\n', pos_);
        if (newline == std::string_view::npos) return std::nullopt;
        const std::size_t blank = bytes_.find(' ', pos_);
        if (blank == std::string_view::npos || blank > newline || blank == pos_)
            throw std::runtime_error("malformed stand-in record near byte " + std::to_string(pos_));
        std::string name(bytes_.substr(pos_, blank - pos_));
        const auto length = Decimal<std::size_t>(bytes_.substr(blank + 1, newline - blank - 1), name + "'s length");
        const std::size_t start = newline + 1;
        if (length >= bytes_.size() - start) return std::nullopt;  // the value and its newline are not all there
        if (bytes_[start + length] != '\n')
            throw std::runtime_error("malformed stand-in record field " + name);
        pos_ = start + length + 1;
        return std::make_pair(std::move(name), std::string(bytes_.substr(start, length)));
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<StandinRecord> ParseStandinRecords(std::string_view bytes) {
    std::vector<StandinRecord> records;
    Reader reader(bytes);
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
        else if (name == "show") current.showWindow = Decimal<int>(value, name);
        else if (name == "started") current.startedAt = Decimal<unsigned long long>(value, name);
        else if (name == "pid") current.processId = Decimal<std::uint32_t>(value, name);
        else if (name == "end") {
            records.push_back(current);
            current = StandinRecord{};
        }
    }
    return records;
}

std::vector<StandinRecord> ReadStandinRecords(const std::wstring& recordFile) {
    const auto bytes = ReadFileBytes(recordFile);
    return bytes ? ParseStandinRecords(*bytes) : std::vector<StandinRecord>{};
}

}  // namespace e2e
