#include "domains/TDomainListFile.h"

#include <cstring>

#include "util/TCrc32.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {
constexpr char kMagic[8] = {'N', 'V', 'L', 'I', 'S', 'T', '\r', '\n'};
constexpr std::uint16_t kVersion = 1;
constexpr std::uint8_t kTypeText = 1;
constexpr std::uint8_t kTypeInteger = 2;
// A list file is read whole; more than this is not a list file of ours.
constexpr std::size_t kMaxListFileSize = std::size_t(8) << 30;

class TCrcWriter {
public:
    explicit TCrcWriter(TAtomicFileWriter& out) : out_(out) { buffer_.reserve(1 << 16); }
    void Bytes(const void* p, std::size_t n) {
        buffer_.append(static_cast<const char*>(p), n);
        if (buffer_.size() >= (1 << 16)) Flush();
    }
    void U8(std::uint8_t v) { buffer_.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v) {
        const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
        Bytes(b, 2);
    }
    void U32(std::uint32_t v) {
        const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                    static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        Bytes(b, 4);
    }
    void U64(std::uint64_t v) {
        U32(static_cast<std::uint32_t>(v));
        U32(static_cast<std::uint32_t>(v >> 32));
    }
    void Text(std::string_view s) {
        U8(static_cast<std::uint8_t>(s.size()));
        Bytes(s.data(), s.size());
    }
    void Flush() {
        crc_ = Crc32Update(crc_, buffer_.data(), buffer_.size());
        out_.Write(buffer_);
        buffer_.clear();
    }
    std::uint32_t Crc() {
        Flush();
        return crc_;
    }

private:
    TAtomicFileWriter& out_;
    std::string buffer_;
    std::uint32_t crc_ = 0;
};

class TReader {
public:
    TReader(const std::string& bytes, std::size_t end) : data_(bytes.data()), end_(end) {}
    const char* Take(std::size_t n) {
        if (end_ - pos_ < n) throw EDamagedListFile("cut short");
        const char* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    std::uint8_t U8() { return static_cast<std::uint8_t>(*Take(1)); }
    std::uint16_t U16() {
        const auto* p = reinterpret_cast<const unsigned char*>(Take(2));
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    std::uint32_t U32() {
        const auto* p = reinterpret_cast<const unsigned char*>(Take(4));
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::uint64_t U64() {
        const std::uint64_t lo = U32();
        return lo | (static_cast<std::uint64_t>(U32()) << 32);
    }
    std::string_view Text() {
        const std::uint8_t n = U8();
        return {Take(n), n};
    }
    bool AtEnd() const { return pos_ == end_; }

private:
    const char* data_;
    std::size_t end_;
    std::size_t pos_ = 0;
};
}  // namespace

void TDomainListFile::Save(const TDomainTable& table, const std::string& path) {
    TAtomicFileWriter file(path);
    TCrcWriter out(file);
    out.Bytes(kMagic, sizeof kMagic);
    out.U16(kVersion);
    out.U16(kDomainFieldCount);
    for (int i = 0; i < kDomainFieldCount; ++i) {
        const auto field = static_cast<TDomainField>(i);
        const std::string_view name = DomainFieldName(field);
        out.Text(name);
        out.U8(field == TDomainField::Size ? kTypeInteger : kTypeText);
        out.U16(field == TDomainField::Size ? 4 : static_cast<std::uint16_t>(FieldWidth(field)));
        out.U8(0);
    }
    out.U64(table.TotalRecordCount());
    // The order of addition, every record: neither the sort nor the filter counts here.
    for (TDomainTable::TRecordId id = 0; id < table.slots_.size(); ++id) {
        const auto& slot = table.slots_[id];
        if (slot.deleted) continue;
        const char* p = table.TextPointer(slot.offset);
        out.U8(slot.domainLength);
        out.Bytes(p, slot.domainLength);
        out.U8(slot.domLength);
        out.Bytes(p + slot.domainLength, slot.domLength);
        out.U8(slot.exDateLength);
        out.Bytes(p + slot.domainLength + slot.domLength, slot.exDateLength);
        out.U32(static_cast<std::uint32_t>(slot.size));
    }
    const std::uint32_t crc = out.Crc();
    const unsigned char tail[4] = {static_cast<unsigned char>(crc), static_cast<unsigned char>(crc >> 8),
                                   static_cast<unsigned char>(crc >> 16), static_cast<unsigned char>(crc >> 24)};
    file.Write(std::string_view(reinterpret_cast<const char*>(tail), 4));
    file.Commit();
}

void TDomainListFile::Decode(const std::string& bytes, TDomainTable& into) {
    if (bytes.size() < sizeof kMagic + 4 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        throw EDamagedListFile("not a Norvale list file");
    const std::size_t body = bytes.size() - 4;
    const auto* t = reinterpret_cast<const unsigned char*>(bytes.data() + body);
    const std::uint32_t stored = static_cast<std::uint32_t>(t[0]) | (static_cast<std::uint32_t>(t[1]) << 8) |
                                 (static_cast<std::uint32_t>(t[2]) << 16) | (static_cast<std::uint32_t>(t[3]) << 24);
    if (Crc32Update(0, bytes.data(), body) != stored) throw EDamagedListFile("checksum mismatch");
    TReader in(bytes, body);
    in.Take(sizeof kMagic);
    const std::uint16_t version = in.U16();
    if (version != kVersion) throw EDamagedListFile("unknown version " + std::to_string(version));
    const std::uint16_t fieldCount = in.U16();
    if (fieldCount == 0 || fieldCount > 64) throw EDamagedListFile("bad field definitions");
    // The file's own field order; each entry a field of ours or -1 for one we do not know.
    std::vector<int> fields;
    std::vector<std::uint8_t> types;
    for (std::uint16_t i = 0; i < fieldCount; ++i) {
        const std::string_view name = in.Text();
        const std::uint8_t type = in.U8();
        in.U16();
        in.U8();
        if (type != kTypeText && type != kTypeInteger) throw EDamagedListFile("bad field type");
        const auto field = FindDomainField(name);
        if (field && ((*field == TDomainField::Size) != (type == kTypeInteger)))
            throw EDamagedListFile("field " + std::string(name) + " has the wrong type");
        fields.push_back(field ? static_cast<int>(*field) : -1);
        types.push_back(type);
    }
    const std::uint64_t count = in.U64();
    // Each record takes at least one byte per field, so a count past that is damage.
    if (count > body / fieldCount) throw EDamagedListFile("bad record count");
    TDomainTable table;
    table.Open();
    table.Reserve(static_cast<std::size_t>(count));
    for (std::uint64_t r = 0; r < count; ++r) {
        std::string_view texts[3];
        std::int32_t size = 0;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (types[f] == kTypeInteger) {
                const auto v = static_cast<std::int32_t>(in.U32());
                if (fields[f] == static_cast<int>(TDomainField::Size)) size = v;
            } else {
                const std::string_view text = in.Text();
                if (fields[f] >= 0) texts[fields[f]] = text;
            }
        }
        table.AddSlot(texts[0], texts[1], texts[2], size);
    }
    if (!in.AtEnd()) throw EDamagedListFile("data after the last record");
    into.ReplaceContent(std::move(table));
}

void TDomainListFile::Load(TDomainTable& table, const std::string& path) {
    const std::string bytes = ReadWholeFile(path, kMaxListFileSize);
    try {
        Decode(bytes, table);
    } catch (const EDamagedListFile& e) {
        throw EDamagedListFile("The list file \"" + path + "\" is damaged (" + e.what() + ").");
    }
}

}  // namespace norvale
