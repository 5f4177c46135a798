#include "domains/TDomainListFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "util/TCrc32.h"
#include "util/TFileIO.h"

namespace norvale {

namespace {
constexpr char kMagic[8] = {'N', 'V', 'L', 'I', 'S', 'T', '\r', '\n'};
constexpr std::uint16_t kVersion = 2;
constexpr std::uint8_t kTypeText = 1;
constexpr std::uint8_t kTypeInteger = 2;
constexpr std::uint8_t kInlineCode = 0xFF;  // a text field's code: the text follows
constexpr std::size_t kMaxDictionary = 255;
// A list file is read whole; more than this is not a list file of ours.
constexpr std::uint64_t kMaxListFileSize = std::uint64_t(8) << 30;
constexpr std::size_t kMaxFields = 64;
// The most one record can take: per field a code, a length and 255 bytes.
constexpr std::size_t kMaxRecordBytes = kMaxFields * 257;
constexpr std::size_t kChunk = 1 << 16;

// The fields as we write them: the Dom and ExDate texts of a list repeat a lot (a few
// dozen extensions, a few days), so each gets a dictionary and a record holds a
// one-byte code; that halves the file, and with it the time a synced save takes.
struct TWrittenField {
    TDomainField field;
    bool dictionary;
};
constexpr TWrittenField kWritten[kDomainFieldCount] = {{TDomainField::Domain, false},
                                                    {TDomainField::Dom, true},
                                                    {TDomainField::ExDate, true},
                                                    {TDomainField::Size, false}};

std::uint32_t ZigZag(std::int32_t v) {
    return (static_cast<std::uint32_t>(v) << 1) ^ static_cast<std::uint32_t>(v >> 31);
}
std::int32_t UnZigZag(std::uint32_t v) {
    return static_cast<std::int32_t>((v >> 1) ^ (~(v & 1) + 1));
}

// Texts of at most 15 bytes as two numbers, for a dictionary look-up without hashing
// strings.
struct TShortKey {
    std::uint64_t a = 0, b = 0;
    bool operator==(const TShortKey&) const = default;
};
TShortKey KeyOf(std::string_view s) {
    TShortKey k;
    char bytes[16] = {};
    std::memcpy(bytes, s.data(), s.size());
    std::memcpy(&k.a, bytes, 8);
    std::memcpy(&k.b, bytes + 8, 8);
    k.b ^= static_cast<std::uint64_t>(s.size()) << 56;
    return k;
}

// Up to 255 distinct texts of one field, in the order first seen.
class TDictionary {
public:
    // The code of text, adding it while there is room; kInlineCode when full.
    std::uint8_t CodeOf(std::string_view text) {
        if (text.size() > 15)
            return kInlineCode;
        const TShortKey key = KeyOf(text);
        std::size_t slot = Hash(key);
        while (table_[slot].used) {
            if (table_[slot].key == key)
                return table_[slot].code;
            slot = (slot + 1) & (kSlots - 1);
        }
        if (texts_.size() >= kMaxDictionary)
            return kInlineCode;
        table_[slot] = {key, static_cast<std::uint8_t>(texts_.size()), true};
        texts_.emplace_back(text);
        return table_[slot].code;
    }
    const std::vector<std::string>& Texts() const { return texts_; }

private:
    static constexpr std::size_t kSlots = 1024;  // load under 25%: short probes
    static std::size_t Hash(const TShortKey& k) {
        return static_cast<std::size_t>(
            ((k.a * 0x9E3779B97F4A7C15ull) ^ (k.b * 0xC2B2AE3D27D4EB4Full)) >> 54);
    }
    struct TEntry {
        TShortKey key;
        std::uint8_t code = 0;
        bool used = false;
    };
    std::array<TEntry, kSlots> table_{};
    std::vector<std::string> texts_;
};

class TCrcWriter {
public:
    explicit TCrcWriter(TAtomicFileWriter& out) : out_(out) {
        buffer_.reserve(kChunk + kMaxRecordBytes);
    }
    void Bytes(const void* p, std::size_t n) { buffer_.append(static_cast<const char*>(p), n); }
    void U8(std::uint8_t v) { buffer_.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U64(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void VarUint(std::uint32_t v) {
        while (v >= 0x80) {
            U8(static_cast<std::uint8_t>(v | 0x80));
            v >>= 7;
        }
        U8(static_cast<std::uint8_t>(v));
    }
    void Text(std::string_view s) {
        U8(static_cast<std::uint8_t>(s.size()));
        Bytes(s.data(), s.size());
    }
    // Called after each record: the buffer goes out in chunks, never a record split
    // over two buffers' worth of copying.
    void MaybeFlush() {
        if (buffer_.size() >= kChunk)
            Flush();
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

// Where the decoder takes its bytes from: a string in memory, or a file read in
// chunks. A record's bytes stay in place until the next record starts (Reserve), so
// its texts can be used without copying.
class TByteSource {
public:
    virtual ~TByteSource() = default;
    // Makes the next min(n, left) bytes contiguous.
    virtual void Reserve(std::size_t n) = 0;
    virtual bool AtEnd() const = 0;

    const char* Take(std::size_t n) {
        if (end_ - pos_ < n) {
            Reserve(n);
            if (end_ - pos_ < n)
                throw EDamagedListFile("cut short");
        }
        const char* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    std::uint8_t U8() { return static_cast<std::uint8_t>(*Take(1)); }
    std::uint16_t U16() {
        const auto* p = reinterpret_cast<const unsigned char*>(Take(2));
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    std::uint64_t U64() {
        const auto* p = reinterpret_cast<const unsigned char*>(Take(8));
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
        return v;
    }
    std::uint32_t VarUint() {
        std::uint32_t v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            const std::uint8_t b = U8();
            if (shift == 28 && b > 0x0F)
                break;
            v |= static_cast<std::uint32_t>(b & 0x7F) << shift;
            if (!(b & 0x80))
                return v;
        }
        throw EDamagedListFile("bad number");
    }
    std::string_view Text() {
        const std::uint8_t n = U8();
        return {Take(n), n};
    }

protected:
    const char* data_ = nullptr;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

class TStringSource : public TByteSource {
public:
    TStringSource(const std::string& bytes, std::size_t end) {
        data_ = bytes.data();
        end_ = end;
    }
    void Reserve(std::size_t) override {}
    bool AtEnd() const override { return pos_ == end_; }
};

// Reads the body of a list file (all but its checksum) through a buffer and keeps the
// CRC-32 of what it read.
class TFileSource : public TByteSource {
public:
    TFileSource(int fd, std::uint64_t bodySize, const std::string& path)
        : fd_(fd), left_(bodySize), path_(path), buffer_(kChunk + kMaxRecordBytes) {
        data_ = buffer_.data();
    }
    void Reserve(std::size_t n) override {
        if (end_ - pos_ >= n || left_ == 0)
            return;
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
        while (end_ < buffer_.size() && left_ > 0) {
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size() - end_, left_));
            const ssize_t got = ::read(fd_, buffer_.data() + end_, want);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw EFileError(CannotOpenFileMessage(path_, errno));
            if (got == 0)
                throw EDamagedListFile("cut short");  // shrank while we read
            crc_ = Crc32Update(crc_, buffer_.data() + end_, static_cast<std::size_t>(got));
            end_ += static_cast<std::size_t>(got);
            left_ -= static_cast<std::uint64_t>(got);
        }
    }
    bool AtEnd() const override { return pos_ == end_ && left_ == 0; }
    std::uint32_t Crc() const { return crc_; }

private:
    int fd_;
    std::uint64_t left_;
    const std::string& path_;
    std::vector<char> buffer_;
    std::uint32_t crc_ = 0;
};

std::uint32_t ReadU32(const char* p) {
    const auto* t = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(t[0]) | (static_cast<std::uint32_t>(t[1]) << 8) |
           (static_cast<std::uint32_t>(t[2]) << 16) | (static_cast<std::uint32_t>(t[3]) << 24);
}

// Decodes the body (all but the checksum) into table (opened, empty); add stores one
// record. bodySize bounds the record count, so that a damaged count cannot make us
// reserve memory for records the file cannot hold.
template <typename TAdd>
void DecodeBody(TByteSource& in, std::uint64_t bodySize, TDomainTable& table, TAdd add) {
    in.Reserve(kMaxRecordBytes);
    if (std::memcmp(in.Take(sizeof kMagic), kMagic, sizeof kMagic) != 0)
        throw EDamagedListFile("not a Norvale list file");
    const std::uint16_t version = in.U16();
    if (version != kVersion)
        throw EDamagedListFile("unknown version " + std::to_string(version));
    const std::uint16_t fieldCount = in.U16();
    if (fieldCount == 0 || fieldCount > kMaxFields)
        throw EDamagedListFile("bad field definitions");
    // The file's own field order; each entry a field of ours or -1 for one we do not know.
    std::vector<int> fields;
    std::vector<std::uint8_t> types;
    for (std::uint16_t i = 0; i < fieldCount; ++i) {
        in.Reserve(kMaxRecordBytes);
        const std::string_view name = in.Text();
        const std::uint8_t type = in.U8();
        in.U16();
        in.U8();
        if (type != kTypeText && type != kTypeInteger)
            throw EDamagedListFile("bad field type");
        const auto field = FindDomainField(name);
        if (field && ((*field == TDomainField::Size) != (type == kTypeInteger)))
            throw EDamagedListFile("field " + std::string(name) + " has the wrong type");
        fields.push_back(field ? static_cast<int>(*field) : -1);
        types.push_back(type);
    }
    in.Reserve(kMaxRecordBytes);
    const std::uint64_t count = in.U64();
    // Each record takes at least one byte per field, so a count past that is damage.
    if (count > bodySize / fieldCount)
        throw EDamagedListFile("bad record count");
    // Per text field: 0 when its records hold the texts themselves, else 1 + the
    // number of dictionary texts, and its records hold codes.
    std::vector<std::vector<std::string>> dictionaries(fieldCount);
    std::vector<bool> coded(fieldCount, false);
    for (std::uint16_t f = 0; f < fieldCount; ++f) {
        if (types[f] != kTypeText)
            continue;
        in.Reserve(kMaxRecordBytes);
        const std::uint16_t n = in.U16();
        if (n > kMaxDictionary + 1)
            throw EDamagedListFile("bad dictionary");
        coded[f] = n > 0;
        for (std::uint16_t k = 1; k < n; ++k) {
            in.Reserve(kMaxRecordBytes);
            dictionaries[f].emplace_back(in.Text());
        }
    }
    table.Reserve(static_cast<std::size_t>(count));
    for (std::uint64_t r = 0; r < count; ++r) {
        in.Reserve(kMaxRecordBytes);
        std::string_view texts[3];
        std::int32_t size = 0;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (types[f] == kTypeInteger) {
                const std::int32_t v = UnZigZag(in.VarUint());
                if (fields[f] == static_cast<int>(TDomainField::Size))
                    size = v;
                continue;
            }
            std::string_view text;
            const auto& dictionary = dictionaries[f];
            if (!coded[f]) {
                text = in.Text();
            } else {
                const std::uint8_t code = in.U8();
                if (code == kInlineCode) {
                    text = in.Text();
                } else if (code < dictionary.size()) {
                    text = dictionary[code];
                } else {
                    throw EDamagedListFile("bad dictionary code");
                }
            }
            if (fields[f] >= 0 && fields[f] < 3)
                texts[fields[f]] = text;
        }
        add(texts[0], texts[1], texts[2], size);
    }
    if (!in.AtEnd())
        throw EDamagedListFile("data after the last record");
}
}  // namespace

void TDomainListFile::Save(const TDomainTable& table, const std::string& path) {
    // Codes first, so that the dictionaries can precede the records.
    TDictionary dictionaries[kDomainFieldCount];
    std::vector<std::uint8_t> codes;
    codes.reserve(table.TotalRecordCount() * 2);
    for (TDomainTable::TRecordId id = 0; id < table.slots_.size(); ++id) {
        if (table.slots_[id].deleted)
            continue;
        for (int f = 0; f < kDomainFieldCount; ++f)
            if (kWritten[f].dictionary)
                codes.push_back(dictionaries[f].CodeOf(table.TextOf(id, kWritten[f].field)));
    }

    TAtomicFileWriter file(path);
    TCrcWriter out(file);
    out.Bytes(kMagic, sizeof kMagic);
    out.U16(kVersion);
    out.U16(kDomainFieldCount);
    for (const TWrittenField& column : kWritten) {
        out.Text(DomainFieldName(column.field));
        out.U8(column.field == TDomainField::Size ? kTypeInteger : kTypeText);
        out.U16(column.field == TDomainField::Size
                    ? 4
                    : static_cast<std::uint16_t>(FieldWidth(column.field)));
        out.U8(0);  // field kind: data
    }
    out.U64(table.TotalRecordCount());
    for (int f = 0; f < kDomainFieldCount; ++f) {
        if (kWritten[f].field == TDomainField::Size)
            continue;
        if (!kWritten[f].dictionary) {
            out.U16(0);
            continue;
        }
        const auto& texts = dictionaries[f].Texts();
        out.U16(static_cast<std::uint16_t>(texts.size() + 1));
        for (const std::string& t : texts) out.Text(t);
    }
    // The order of addition, every record: neither the sort nor the filter counts here.
    std::size_t next = 0;
    for (TDomainTable::TRecordId id = 0; id < table.slots_.size(); ++id) {
        const auto& slot = table.slots_[id];
        if (slot.deleted)
            continue;
        for (const TWrittenField& column : kWritten) {
            if (column.field == TDomainField::Size) {
                out.VarUint(ZigZag(slot.size));
            } else if (!column.dictionary) {
                out.Text(table.TextOf(id, column.field));
            } else {
                const std::uint8_t code = codes[next++];
                out.U8(code);
                if (code == kInlineCode)
                    out.Text(table.TextOf(id, column.field));
            }
        }
        out.MaybeFlush();
    }
    const std::uint32_t crc = out.Crc();
    const unsigned char tail[4] = {
        static_cast<unsigned char>(crc), static_cast<unsigned char>(crc >> 8),
        static_cast<unsigned char>(crc >> 16), static_cast<unsigned char>(crc >> 24)};
    file.Write(std::string_view(reinterpret_cast<const char*>(tail), 4));
    file.Commit();
}

void TDomainListFile::Decode(const std::string& bytes, TDomainTable& into) {
    if (bytes.size() < sizeof kMagic + 4 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        throw EDamagedListFile("not a Norvale list file");
    const std::size_t body = bytes.size() - 4;
    if (Crc32Update(0, bytes.data(), body) != ReadU32(bytes.data() + body))
        throw EDamagedListFile("checksum mismatch");
    TStringSource in(bytes, body);
    TDomainTable table;
    table.Open();
    DecodeBody(in, body, table,
               [&table](std::string_view a, std::string_view b, std::string_view c,
                        std::int32_t n) { table.AddSlot(a, b, c, n); });
    into.ReplaceContent(std::move(table));
}

void TDomainListFile::Load(TDomainTable& table, const std::string& path) {
    // Read through a buffer rather than whole: a list of millions of records would
    // otherwise cost its whole size in memory a second time while it is decoded.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFileError(CannotOpenFileMessage(path, errno));
    struct TCloser {
        int fd;
        ~TCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw EFileError(CannotOpenFileMessage(path, errno));
    if (S_ISDIR(st.st_mode))
        throw EFileError(CannotOpenFileMessage(path, EISDIR));
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > kMaxListFileSize)
        throw EFileError("The file \"" + path + "\" is too large to read (" + std::to_string(size) +
                         " bytes).");
    const auto damaged = [&path](const std::string& why) {
        return EDamagedListFile("The list file \"" + path + "\" is damaged (" + why + ").");
    };
    if (size < sizeof kMagic + 4)
        throw damaged("not a Norvale list file");

    TDomainTable built;
    built.Open();
    TFileSource in(fd, size - 4, path);
    try {
        DecodeBody(in, size - 4, built,
                   [&built](std::string_view a, std::string_view b, std::string_view c,
                            std::int32_t n) { built.AddSlot(a, b, c, n); });
    } catch (const EDamagedListFile& e) {
        throw damaged(e.what());
    }
    // The checksum settles it: a flipped byte may well decode to other records.
    char tail[4];
    std::size_t got = 0;
    while (got < 4) {
        const ssize_t n = ::read(fd, tail + got, 4 - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EFileError(CannotOpenFileMessage(path, errno));
        if (n == 0)
            throw damaged("cut short");
        got += static_cast<std::size_t>(n);
    }
    if (ReadU32(tail) != in.Crc())
        throw damaged("checksum mismatch");
    table.ReplaceContent(std::move(built));
}

}  // namespace norvale
