#include "rules/TRuleListFile.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "util/ENorvaleError.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {
constexpr std::string_view kSignature = "LISTVIEW01";
constexpr unsigned char kCheckBoxesOption = 0x80;
// A rule-list file holds a few hundred rules at most; anything near this is not one.
constexpr std::size_t kMaxRuleFileBytes = std::size_t(64) << 20;

void PutText(std::string& out, std::string_view text) {
    const auto n = static_cast<std::uint16_t>(text.size());
    out.push_back(static_cast<char>(n & 0xff));
    out.push_back(static_cast<char>(n >> 8));
    out.append(text);
}

// What the reader keeps of a stored text: at most kMaxRuleTextLength bytes, up to the
// first zero byte.
std::string KeptText(std::string_view stored) {
    if (stored.size() > kMaxRuleTextLength) stored = stored.substr(0, kMaxRuleTextLength);
    const auto zero = stored.find('\0');
    if (zero != std::string_view::npos) stored = stored.substr(0, zero);
    return std::string(stored);
}

class TReader {
public:
    explicit TReader(std::string_view data) : data_(data) {}
    bool AtEnd() const { return pos_ >= data_.size(); }
    std::size_t Left() const { return data_.size() - pos_; }
    bool Byte(unsigned char& out) {
        if (AtEnd()) return false;
        out = static_cast<unsigned char>(data_[pos_++]);
        return true;
    }
    bool Word(std::uint16_t& out) {
        if (Left() < 2) {
            pos_ = data_.size();
            return false;
        }
        out = static_cast<std::uint16_t>(static_cast<unsigned char>(data_[pos_]) |
                                         (static_cast<unsigned char>(data_[pos_ + 1]) << 8));
        pos_ += 2;
        return true;
    }
    // Takes up to n bytes; false when the file ended first (what was there is kept).
    bool Bytes(std::size_t n, std::string_view& out) {
        const std::size_t take = n < Left() ? n : Left();
        out = data_.substr(pos_, take);
        pos_ += take;
        return take == n;
    }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

// The "LISTVIEW01" layout, after the signature. Returns false when the file was cut
// short; the rows read so far stay in rules.
bool ReadCurrentLayout(TReader& in, TRuleList& rules) {
    unsigned char options = 0;
    if (!in.Byte(options)) return false;
    const bool checksStored = (options & 0x80) != 0;
    while (!in.AtEnd()) {
        std::uint16_t rawCount = 0;
        if (!in.Word(rawCount)) return false;
        const auto count = static_cast<std::int16_t>(rawCount);
        TRule& rule = rules.emplace_back();
        for (int i = 0; i < count; ++i) {
            if (i == 0) {
                unsigned char flags = 0;
                if (!in.Byte(flags)) return false;
                rule.Checked = checksStored && (flags & 0x01) != 0;
            }
            std::uint16_t length = 0;
            if (!in.Word(length)) return false;
            std::string_view stored;
            const bool whole = in.Bytes(length, stored);
            std::string text = KeptText(stored);
            if (i == 0)
                rule.Caption = std::move(text);
            else
                rule.SubItems.push_back(std::move(text));
            if (!whole) return false;
        }
    }
    return true;
}

// The older layout: "T"/"F", the caption, then 0x00-separated sub-items, each rule
// closed by 0x01. Returns false when the file ends inside a rule.
bool ReadOlderLayout(std::string_view data, TRuleList& rules) {
    std::string text;
    bool open = false;
    for (const char c : data) {
        if (c != '\0' && c != '\1') {
            text.push_back(c);
            continue;
        }
        if (!open) {
            // An empty first text (no check byte) loads as an unchecked, empty rule.
            TRule& rule = rules.emplace_back();
            rule.Checked = !text.empty() && text[0] == 'T';
            rule.Caption = KeptText(text.empty() ? std::string_view() : std::string_view(text).substr(1));
            open = true;
        } else {
            rules.back().SubItems.push_back(KeptText(text));
        }
        text.clear();
        if (c == '\1') open = false;
    }
    return !open && text.empty();
}
}  // namespace

void SaveRuleList(const TRuleList& rules, const std::string& path) {
    std::string out(kSignature);
    out.push_back(static_cast<char>(kCheckBoxesOption));
    for (std::size_t r = 0; r < rules.size(); ++r) {
        const TRule& rule = rules[r];
        // The count is read back as a signed 16-bit number.
        if (rule.SubItems.size() + 1 > 0x7fff)
            throw ENorvaleError("Rule " + std::to_string(r + 1) + " has too many cells to be saved.");
        const auto check = [&](const std::string& text) {
            // A 16-bit length would wrap and shift every later record.
            if (text.size() > kMaxRuleTextLength)
                throw ENorvaleError("Rule " + std::to_string(r + 1) + " has a text of " + std::to_string(text.size()) +
                                    " characters; a rule text holds at most " + std::to_string(kMaxRuleTextLength) +
                                    ". Nothing was saved to \"" + path + "\".");
        };
        check(rule.Caption);
        for (const std::string& cell : rule.SubItems) check(cell);

        const auto count = static_cast<std::uint16_t>(rule.SubItems.size() + 1);
        out.push_back(static_cast<char>(count & 0xff));
        out.push_back(static_cast<char>(count >> 8));
        out.push_back(static_cast<char>(kCheckBoxesOption | (rule.Checked ? 0x01 : 0x00)));
        PutText(out, rule.Caption);
        for (const std::string& cell : rule.SubItems) PutText(out, cell);
    }
    WriteFileAtomically(path, out);
}

TRuleListLoad LoadRuleList(const std::string& path, bool keepDamagedAside) {
    const std::string data = ReadWholeFile(path, kMaxRuleFileBytes);
    TRuleListLoad result;
    bool whole;
    if (data.size() >= kSignature.size() && std::string_view(data).substr(0, kSignature.size()) == kSignature) {
        TReader in(std::string_view(data).substr(kSignature.size()));
        whole = ReadCurrentLayout(in, result.rules);
    } else {
        whole = ReadOlderLayout(data, result.rules);
    }
    if (!whole) {
        result.damaged = true;
        if (keepDamagedAside) result.keptAside = KeepAside(path);
    }
    return result;
}

}  // namespace norvale
