#include "util/TSettingsStore.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "util/ENorvaleError.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {
constexpr const char* kHeader = "REGEDIT4";
constexpr const char* kRoot = "HKEY_CURRENT_USER";
constexpr std::size_t kMaxFileSize = 64u << 20;

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool SameName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

[[noreturn]] void SyntaxError(std::size_t line, const std::string& what) {
    throw ENorvaleError("line " + std::to_string(line) + ": " + what);
}

// A quoted text starting at s[pos] == '"'; returns the unescaped text, pos after the quote.
std::string ReadQuoted(const std::string& s, std::size_t& pos, std::size_t line) {
    std::string out;
    ++pos;
    while (pos < s.size()) {
        const char c = s[pos++];
        if (c == '"') return out;
        if (c == '\\') {
            if (pos >= s.size()) break;
            out.push_back(s[pos++]);
        } else {
            out.push_back(c);
        }
    }
    SyntaxError(line, "unterminated text");
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string ParseHexBytes(const std::string& s, std::size_t line) {
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        if (i >= s.size()) break;
        if (i + 1 >= s.size() + 1 || HexDigit(s[i]) < 0 || i + 1 >= s.size() || HexDigit(s[i + 1]) < 0)
            SyntaxError(line, "bad hex byte");
        out.push_back(static_cast<char>(HexDigit(s[i]) * 16 + HexDigit(s[i + 1])));
        i += 2;
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        if (i < s.size()) {
            if (s[i] != ',') SyntaxError(line, "expected ','");
            ++i;
        }
    }
    return out;
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string HexBytes(const std::string& data) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    out.reserve(data.size() * 3);
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i) out.push_back(',');
        const auto b = static_cast<unsigned char>(data[i]);
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

bool HasControlBytes(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}
}  // namespace

TSettingsStore::TSettingsStore(std::string filePath) : filePath_(std::move(filePath)) { Load(); }

std::string TSettingsStore::Normalize(const std::string& key) {
    std::string k = key;
    while (!k.empty() && k.front() == '\\') k.erase(k.begin());
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return k;
}

void TSettingsStore::AddKey(TTree& tree, const std::string& key) {
    const std::string k = Normalize(key);
    if (k.empty()) return;
    // Parents first, so that every key below the root exists as a key of its own.
    std::size_t pos = 0;
    while (true) {
        const auto slash = k.find('\\', pos);
        const std::string part = slash == std::string::npos ? k : k.substr(0, slash);
        auto& entry = tree[Lower(part)];
        if (entry.path.empty()) entry.path = part;
        if (slash == std::string::npos) break;
        pos = slash + 1;
    }
}

TSettingsStore::TTree TSettingsStore::Parse(const std::string& text) {
    // Join continuation lines (a trailing "\" on hex data) first.
    std::vector<std::pair<std::size_t, std::string>> lines;
    std::size_t lineNo = 0;
    std::size_t start = 0;
    std::string pending;
    std::size_t pendingLine = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (pending.empty()) pendingLine = lineNo;
        std::string trimmed = Trim(line);
        const bool continues = !trimmed.empty() && trimmed.back() == '\\' &&
                               (pending.empty() ? trimmed.find("=hex") != std::string::npos : true);
        if (continues) {
            trimmed.pop_back();
            pending += pending.empty() ? trimmed : Trim(trimmed);
        } else {
            pending += pending.empty() ? line : trimmed;
            lines.emplace_back(pendingLine, pending);
            pending.clear();
        }
        if (end == text.size()) break;
        start = end + 1;
    }

    TTree tree;
    bool sawHeader = false;
    TKeyData* current = nullptr;
    for (auto& [no, raw] : lines) {
        std::string line = Trim(raw);
        // Editors that save as UTF-8 may put a byte-order mark before the header.
        if (no == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line = Trim(line.substr(3));
        if (line.empty() || line[0] == ';') continue;
        if (!sawHeader) {
            if (line != kHeader) SyntaxError(no, "the file does not begin with REGEDIT4");
            sawHeader = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') SyntaxError(no, "bad key line");
            std::string path = line.substr(1, line.size() - 2);
            const std::string root = kRoot;
            if (Lower(path.substr(0, root.size())) != Lower(root)) SyntaxError(no, "key outside HKEY_CURRENT_USER");
            path = Normalize(path.substr(root.size()));
            if (path.empty()) {
                current = nullptr;
                continue;
            }
            AddKey(tree, path);
            current = &tree[Lower(path)];
            continue;
        }
        if (!current) SyntaxError(no, "value outside a key");
        std::size_t pos = 0;
        std::string name;
        if (line[0] == '@') {
            pos = 1;
        } else if (line[0] == '"') {
            name = ReadQuoted(line, pos, no);
        } else {
            SyntaxError(no, "expected a value name");
        }
        // Blanks around "=" are a common hand edit; they change nothing.
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        if (pos >= line.size() || line[pos] != '=') SyntaxError(no, "expected '='");
        ++pos;
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        const std::string rhs = line.substr(pos);
        TRegValue value;
        value.name = name;
        if (!rhs.empty() && rhs[0] == '"') {
            std::size_t p = 0;
            value.type = TRegDataType::String;
            value.data = ReadQuoted(rhs, p, no);
            if (!Trim(rhs.substr(p)).empty()) SyntaxError(no, "text after the value");
        } else if (rhs.rfind("dword:", 0) == 0) {
            const std::string digits = rhs.substr(6);
            if (digits.empty() || digits.size() > 8) SyntaxError(no, "bad dword");
            std::uint32_t v = 0;
            for (char c : digits) {
                const int d = HexDigit(c);
                if (d < 0) SyntaxError(no, "bad dword");
                v = v * 16 + static_cast<std::uint32_t>(d);
            }
            value.type = TRegDataType::DWord;
            value.data = std::string{static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                                     static_cast<char>((v >> 16) & 0xff), static_cast<char>(v >> 24)};
        } else if (rhs.rfind("hex:", 0) == 0) {
            value.type = TRegDataType::Binary;
            value.data = ParseHexBytes(rhs.substr(4), no);
        } else if (rhs.rfind("hex(", 0) == 0) {
            const auto close = rhs.find("):");
            if (close == std::string::npos) SyntaxError(no, "bad hex type");
            std::uint32_t type = 0;
            const std::string t = rhs.substr(4, close - 4);
            if (t.empty() || t.size() > 8) SyntaxError(no, "bad hex type");
            for (char c : t) {
                const int d = HexDigit(c);
                if (d < 0) SyntaxError(no, "bad hex type");
                type = type * 16 + static_cast<std::uint32_t>(d);
            }
            value.type = static_cast<TRegDataType>(type);
            value.data = ParseHexBytes(rhs.substr(close + 2), no);
            // hex(1) is how we write texts that hold control bytes: strip the terminator.
            if (value.type == TRegDataType::String && !value.data.empty() && value.data.back() == '\0')
                value.data.pop_back();
        } else {
            SyntaxError(no, "unknown value type");
        }
        auto existing = std::find_if(current->values.begin(), current->values.end(),
                                     [&](const TRegValue& v) { return SameName(v.name, name); });
        if (existing != current->values.end()) {
            *existing = value;
        } else {
            current->values.push_back(value);
        }
    }
    if (!sawHeader && !text.empty() && !Trim(text).empty()) SyntaxError(1, "the file does not begin with REGEDIT4");
    return tree;
}

std::string TSettingsStore::Serialize(const TTree& tree) {
    std::string out = std::string(kHeader) + "\n";
    for (const auto& [lower, key] : tree) {
        out += "\n[" + std::string(kRoot) + "\\" + key.path + "]\n";
        for (const TRegValue& v : key.values) {
            out += v.name.empty() ? std::string("@") : Quote(v.name);
            out += "=";
            if (v.type == TRegDataType::DWord && v.data.size() == 4) {
                std::uint32_t n = 0;
                for (int i = 3; i >= 0; --i) n = n * 256 + static_cast<unsigned char>(v.data[static_cast<std::size_t>(i)]);
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", n);
                out += buf;
            } else if (v.type == TRegDataType::String && !HasControlBytes(v.data)) {
                out += Quote(v.data);
            } else if (v.type == TRegDataType::String) {
                out += "hex(1):" + HexBytes(v.data + std::string(1, '\0'));
            } else if (v.type == TRegDataType::Binary) {
                out += "hex:" + HexBytes(v.data);
            } else {
                char buf[16];
                std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
                out += buf + HexBytes(v.data);
            }
            out += "\n";
        }
    }
    return out;
}

void TSettingsStore::Load() {
    std::string text;
    bool exists = false;
    std::string readProblem;
    try {
        exists = ReadIfPresent(text);
    } catch (const ENorvaleError& e) {
        exists = true;
        readProblem = e.what();
    }
    Adopt(exists, text, readProblem);
}

bool TSettingsStore::ReadIfPresent(std::string& text) const {
    struct stat st {};
    if (::stat(filePath_.c_str(), &st) != 0 && errno == ENOENT) return false;
    text = ReadWholeFile(filePath_, kMaxFileSize);
    return true;
}

void TSettingsStore::Adopt(bool exists, const std::string& text, const std::string& readProblem) {
    tree_.clear();
    lastText_.clear();
    haveFile_ = false;
    if (!exists) return;
    try {
        if (!readProblem.empty()) throw ENorvaleError(readProblem);
        tree_ = Parse(text);
        lastText_ = text;
        haveFile_ = true;
    } catch (const ENorvaleError& e) {
        tree_.clear();
        const std::string aside = KeepAside(filePath_);
        loadProblem_ = "The settings file \"" + filePath_ + "\" could not be read (" + e.what() + ")";
        loadProblem_ += aside.empty() ? std::string(".") : " and was kept as \"" + aside + "\".";
        loadProblem_ += " Norvale goes on with default settings.";
    }
}

void TSettingsStore::Refresh() {
    // The file's bytes, not its time stamp, tell whether another process changed it:
    // two saves within one tick of the file system's clock carry the same time, and
    // taking the older content for current would undo the other process's change.
    std::string text;
    bool exists = false;
    std::string readProblem;
    try {
        exists = ReadIfPresent(text);
    } catch (const ENorvaleError& e) {
        exists = true;
        readProblem = e.what();
    }
    if (exists == haveFile_ && readProblem.empty() && (!exists || text == lastText_)) return;
    const std::string problem = loadProblem_;
    Adopt(exists, text, readProblem);
    if (loadProblem_.empty()) loadProblem_ = problem;
}

void TSettingsStore::Save(const TTree& tree) {
    const auto slash = filePath_.find_last_of('/');
    if (slash != std::string::npos) {
        // Create the folder and its missing parents, private to the user.
        const std::string folder = filePath_.substr(0, slash);
        for (std::size_t p = 1; p <= folder.size(); ++p) {
            if (p == folder.size() || folder[p] == '/') ::mkdir(folder.substr(0, p).c_str(), 0700);
        }
    }
    std::string text = Serialize(tree);
    WriteFileAtomically(filePath_, text, 0600);
    lastText_ = std::move(text);
    haveFile_ = true;
}

TSettingsStore::TKeyData* TSettingsStore::Find(const std::string& key) {
    const auto it = tree_.find(Lower(Normalize(key)));
    return it == tree_.end() ? nullptr : &it->second;
}

bool TSettingsStore::KeyExists(const std::string& key) {
    Refresh();
    return Normalize(key).empty() || Find(key) != nullptr;
}

void TSettingsStore::CreateKey(const std::string& key) {
    Refresh();
    if (Normalize(key).empty() || Find(key)) return;
    TTree next = tree_;
    AddKey(next, key);
    Save(next);
    tree_ = std::move(next);
}

bool TSettingsStore::DeleteKey(const std::string& key) {
    Refresh();
    const std::string k = Lower(Normalize(key));
    if (k.empty() || !Find(key)) return false;
    TTree next = tree_;
    for (auto it = next.begin(); it != next.end();) {
        if (it->first == k || it->first.rfind(k + "\\", 0) == 0) {
            it = next.erase(it);
        } else {
            ++it;
        }
    }
    Save(next);
    tree_ = std::move(next);
    return true;
}

std::vector<std::string> TSettingsStore::SubKeyNames(const std::string& key) {
    Refresh();
    const std::string k = Lower(Normalize(key));
    const std::string prefix = k.empty() ? std::string() : k + "\\";
    std::vector<std::string> names;
    for (const auto& [lower, data] : tree_) {
        if (lower.rfind(prefix, 0) != 0 || lower.size() == prefix.size()) continue;
        const std::string rest = lower.substr(prefix.size());
        if (rest.find('\\') != std::string::npos) continue;
        names.push_back(data.path.substr(data.path.size() - rest.size()));
    }
    return names;
}

std::vector<std::string> TSettingsStore::ValueNames(const std::string& key) {
    Refresh();
    std::vector<std::string> names;
    if (const TKeyData* data = Find(key)) {
        for (const TRegValue& v : data->values) names.push_back(v.name);
    }
    return names;
}

bool TSettingsStore::FindValue(const std::string& key, const std::string& name, TRegValue& out) {
    Refresh();
    const TKeyData* data = Find(key);
    if (!data) return false;
    for (const TRegValue& v : data->values) {
        if (SameName(v.name, name)) {
            out = v;
            return true;
        }
    }
    return false;
}

void TSettingsStore::SetValue(const std::string& key, const std::string& name, TRegDataType type,
                              const std::string& data) {
    Refresh();
    TTree next = tree_;
    AddKey(next, key);
    auto& values = next[Lower(Normalize(key))].values;
    auto it = std::find_if(values.begin(), values.end(), [&](const TRegValue& v) { return SameName(v.name, name); });
    if (it != values.end()) {
        it->type = type;
        it->data = data;
    } else {
        values.push_back(TRegValue{name, type, data});
    }
    Save(next);
    tree_ = std::move(next);
}

bool TSettingsStore::DeleteValue(const std::string& key, const std::string& name) {
    Refresh();
    TKeyData* data = Find(key);
    if (!data) return false;
    auto it = std::find_if(data->values.begin(), data->values.end(),
                           [&](const TRegValue& v) { return SameName(v.name, name); });
    if (it == data->values.end()) return false;
    TTree next = tree_;
    auto& values = next[Lower(Normalize(key))].values;
    values.erase(values.begin() + (it - data->values.begin()));
    Save(next);
    tree_ = std::move(next);
    return true;
}

void TSettingsStore::RestrictToOwner() {
    const auto slash = filePath_.find_last_of('/');
    if (slash != std::string::npos) ::chmod(filePath_.substr(0, slash).c_str(), 0700);
    ::chmod(filePath_.c_str(), 0600);
}

}  // namespace norvale
