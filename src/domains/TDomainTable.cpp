#include "domains/TDomainTable.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "util/ENorvaleError.h"

namespace norvale {

namespace {
// Text blocks of 2 MiB, aligned to their size, so that the kernel can back each with
// one huge page: filling millions of records then costs a few dozen page faults
// instead of tens of thousands, which on a virtual machine dominate a list's load.
constexpr int kBlockBits = 21;
constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;

void AdviseHugePages(void* data, std::size_t bytes) {
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kBlockSize - 1) & ~(kBlockSize - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kBlockSize - 1);
    // Only advice: where the kernel does not take it, nothing changes but the speed.
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

inline unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// Byte-wise comparison with ASCII letters folded; shorter text first on a common prefix.
inline int CompareFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = Fold(static_cast<unsigned char>(a[i]));
        const unsigned char y = Fold(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// The first eight folded bytes as a big-endian number: comparing two keys compares
// those prefixes exactly as CompareFolded would (missing bytes count as 0, which is
// below every byte, and a tie is settled by the full comparison).
inline std::uint64_t PrefixKey(std::string_view s) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        key <<= 8;
        if (i < s.size()) key |= Fold(static_cast<unsigned char>(s[i]));
    }
    return key;
}
}  // namespace

TDomainTable::TDomainTable() = default;
TDomainTable::~TDomainTable() = default;
TDomainTable::TDomainTable(TDomainTable&&) noexcept = default;
TDomainTable& TDomainTable::operator=(TDomainTable&&) noexcept = default;

void TDomainTable::Open() {
    EmptyTable();
    active_ = true;
}

void TDomainTable::Close() {
    EmptyTable();
    active_ = false;
}

void TDomainTable::EmptyTable() {
    slots_.clear();
    slots_.shrink_to_fit();
    blocks_.clear();
    blockUsed_ = 0;
    deletedCount_ = 0;
    editing_ = false;
    ++generation_;
    RebuildOrder();
    First();
    NotifyData();
}

void TDomainTable::Append() {
    pending_ = TDomainRecord{};
    editing_ = true;
}

void TDomainTable::SetText(TDomainField field, std::string_view text) {
    if (!editing_) throw ENorvaleError("Dataset not in edit or insert mode");
    const std::string stored(StoredText(field, text));
    switch (field) {
        case TDomainField::Domain: pending_.Domain = stored; break;
        case TDomainField::Dom: pending_.Dom = stored; break;
        case TDomainField::ExDate: pending_.ExDate = stored; break;
        case TDomainField::Size: {
            // Like a database field: the text must be a number.
            try {
                std::size_t used = 0;
                const long long v = std::stoll(stored, &used);
                if (used != stored.size() || v < INT32_MIN || v > INT32_MAX) throw std::invalid_argument("");
                pending_.Size = static_cast<std::int32_t>(v);
            } catch (const std::exception&) {
                throw ENorvaleError("'" + stored + "' is not a valid integer value");
            }
            break;
        }
    }
}

void TDomainTable::SetFieldText(std::string_view fieldName, std::string_view text) {
    const auto field = FindDomainField(fieldName);
    if (!field) throw ENorvaleError("Field '" + std::string(fieldName) + "' not found");
    SetText(*field, text);
}

void TDomainTable::SetSize(std::int32_t size) {
    if (!editing_) throw ENorvaleError("Dataset not in edit or insert mode");
    pending_.Size = size;
}

void TDomainTable::Post() {
    if (!editing_) throw ENorvaleError("Dataset not in edit or insert mode");
    editing_ = false;
    AppendRecord(pending_.Domain, pending_.Dom, pending_.ExDate, pending_.Size);
}

void TDomainTable::Cancel() { editing_ = false; }

void TDomainTable::AddSlot(std::string_view domain, std::string_view dom, std::string_view exDate,
                           std::int32_t size) {
    domain = StoredText(TDomainField::Domain, domain);
    dom = StoredText(TDomainField::Dom, dom);
    exDate = StoredText(TDomainField::ExDate, exDate);
    const std::size_t need = domain.size() + dom.size() + exDate.size();
    if (blocks_.empty() || blockUsed_ + need > kBlockSize) {
        auto* block = static_cast<char*>(std::aligned_alloc(kBlockSize, kBlockSize));
        if (!block) throw std::bad_alloc();
        AdviseHugePages(block, kBlockSize);
        blocks_.emplace_back(block);
        blockUsed_ = 0;
    }
    char* p = blocks_.back().get() + blockUsed_;
    // An empty view may have no data at all, and memcpy must not see a null pointer.
    for (std::string_view text : {domain, dom, exDate}) {
        if (!text.empty()) std::memcpy(p, text.data(), text.size());
        p += text.size();
    }
    const std::uint64_t offset = (static_cast<std::uint64_t>(blocks_.size() - 1) << kBlockBits) | blockUsed_;
    blockUsed_ += need;
    slots_.push_back(TSlot{offset, static_cast<std::uint8_t>(domain.size()), static_cast<std::uint8_t>(dom.size()),
                           static_cast<std::uint8_t>(exDate.size()), 0, size});
}

void TDomainTable::AppendRecord(std::string_view domain, std::string_view dom, std::string_view exDate,
                                std::int32_t size) {
    if (!active_) throw ENorvaleError("Cannot perform this operation on a closed dataset");
    if (slots_.size() >= 0xFFFFFFF0u) throw ENorvaleError("The list cannot hold more records.");
    AddSlot(domain, dom, exDate, size);
    const auto id = static_cast<TRecordId>(slots_.size() - 1);
    PlaceNewRecord(id);
    // The cursor goes to the posted record when the table yields it.
    const std::size_t row = RowOfRecord(id);
    if (row != npos) {
        cursor_ = row;
        eof_ = bof_ = false;
    }
    NotifyData();
    if (AfterPost) AfterPost(*this);
}

void TDomainTable::PlaceNewRecord(TRecordId id) {
    if (!materialized_) return;
    if (sortField_) {
        const auto less = [this](TRecordId a, TRecordId b) { return Less(a, b); };
        sorted_.insert(std::upper_bound(sorted_.begin(), sorted_.end(), id, less), id);
        if (!filter_ || filter_(*this, id)) order_.insert(std::upper_bound(order_.begin(), order_.end(), id, less), id);
    } else if (!filter_ || filter_(*this, id)) {
        order_.push_back(id);
    }
}

std::size_t TDomainTable::RecordCount() const { return materialized_ ? order_.size() : slots_.size(); }

void TDomainTable::First() {
    cursor_ = 0;
    bof_ = true;
    eof_ = RecordCount() == 0;
    NotifyCursor();
}

void TDomainTable::Last() {
    const std::size_t n = RecordCount();
    cursor_ = n ? n - 1 : 0;
    eof_ = true;
    bof_ = n == 0;
    NotifyCursor();
}

void TDomainTable::Next() {
    if (cursor_ + 1 < RecordCount()) {
        ++cursor_;
        bof_ = false;
        eof_ = false;
        NotifyCursor();
    } else {
        eof_ = true;
    }
}

void TDomainTable::Prior() {
    if (cursor_ > 0 && RecordCount() > 0) {
        --cursor_;
        eof_ = false;
        bof_ = false;
        NotifyCursor();
    } else {
        bof_ = true;
    }
}

std::size_t TDomainTable::RecNo() const { return RecordCount() == 0 ? npos : cursor_; }

void TDomainTable::MoveTo(std::size_t row) {
    const std::size_t n = RecordCount();
    if (n == 0) {
        First();
        return;
    }
    cursor_ = std::min(row, n - 1);
    bof_ = cursor_ == 0;
    eof_ = false;
    NotifyCursor();
}

void TDomainTable::ClampCursor() {
    const std::size_t n = RecordCount();
    if (n == 0) {
        cursor_ = 0;
        eof_ = bof_ = true;
    } else if (cursor_ >= n) {
        cursor_ = n - 1;
    }
}

TDomainTable::TRecordId TDomainTable::RecordAtRow(std::size_t row) const {
    return materialized_ ? order_.at(row) : static_cast<TRecordId>(row);
}

std::size_t TDomainTable::RowOfRecord(TRecordId id) const {
    if (id >= slots_.size() || slots_[id].deleted) return npos;
    if (!materialized_) return id;
    if (sortField_) {
        const auto less = [this](TRecordId a, TRecordId b) { return Less(a, b); };
        const auto it = std::lower_bound(order_.begin(), order_.end(), id, less);
        return (it != order_.end() && *it == id) ? static_cast<std::size_t>(it - order_.begin()) : npos;
    }
    const auto it = std::lower_bound(order_.begin(), order_.end(), id);
    return (it != order_.end() && *it == id) ? static_cast<std::size_t>(it - order_.begin()) : npos;
}

const char* TDomainTable::TextPointer(std::uint64_t offset) const {
    return blocks_[offset >> kBlockBits].get() + (offset & (kBlockSize - 1));
}

std::string_view TDomainTable::TextOf(TRecordId id, TDomainField field) const {
    const TSlot& s = slots_.at(id);
    const char* p = TextPointer(s.offset);
    switch (field) {
        case TDomainField::Domain: return {p, s.domainLength};
        case TDomainField::Dom: return {p + s.domainLength, s.domLength};
        case TDomainField::ExDate: return {p + s.domainLength + s.domLength, s.exDateLength};
        case TDomainField::Size: break;
    }
    throw ENorvaleError("The field Size is not a text field");
}

std::int32_t TDomainTable::SizeOf(TRecordId id) const { return slots_.at(id).size; }

TDomainRecord TDomainTable::RecordOf(TRecordId id) const {
    return TDomainRecord{std::string(TextOf(id, TDomainField::Domain)), std::string(TextOf(id, TDomainField::Dom)),
                         std::string(TextOf(id, TDomainField::ExDate)), SizeOf(id)};
}

std::string_view TDomainTable::Text(TDomainField field) const {
    if (RecordCount() == 0) throw ENorvaleError("The list holds no record");
    return TextOf(RecordAtRow(cursor_), field);
}

std::string_view TDomainTable::FieldText(std::string_view fieldName) const {
    const auto field = FindDomainField(fieldName);
    if (!field) throw ENorvaleError("Field '" + std::string(fieldName) + "' not found");
    if (*field == TDomainField::Size) throw ENorvaleError("The field Size is not a text field");
    return Text(*field);
}

std::int32_t TDomainTable::Size() const {
    if (RecordCount() == 0) throw ENorvaleError("The list holds no record");
    return SizeOf(RecordAtRow(cursor_));
}

TDomainRecord TDomainTable::CurrentRecord() const {
    if (RecordCount() == 0) throw ENorvaleError("The list holds no record");
    return RecordOf(RecordAtRow(cursor_));
}

TDomainTable::TBookmark TDomainTable::GetBookmark() const {
    if (RecordCount() == 0) return {};
    return TBookmark{RecordAtRow(cursor_), generation_, true};
}

bool TDomainTable::BookmarkValid(const TBookmark& bookmark) const {
    return bookmark.valid && bookmark.generation == generation_ && RowOfRecord(bookmark.id) != npos;
}

void TDomainTable::GotoBookmark(const TBookmark& bookmark) {
    if (!BookmarkValid(bookmark)) throw ENorvaleError("Record not found");
    MoveTo(RowOfRecord(bookmark.id));
}

bool TDomainTable::Less(TRecordId a, TRecordId b) const {
    const TSlot& x = slots_[a];
    const TSlot& y = slots_[b];
    if (*sortField_ == TDomainField::Size) {
        if (x.size != y.size) return x.size < y.size;
        return a < b;
    }
    const int c = CompareFolded(TextOf(a, *sortField_), TextOf(b, *sortField_));
    if (c != 0) return c < 0;
    return a < b;
}

struct TDomainTable::TKeyed {
    std::uint64_t key;
    TRecordId id;
};

// Sorts eight folded bytes at a time: a run of equal keys whose texts go on past
// them is sorted again on the next eight bytes. The comparisons touch the keys only,
// never the texts, which lie all over memory; ties keep the order of addition.
void TDomainTable::SortTextRun(TKeyed* begin, TKeyed* end, TDomainField field, std::size_t depth) const {
    // Keys only: the ids come in ascending order and a stable sort keeps it for ties.
    std::stable_sort(begin, end, [](const TKeyed& a, const TKeyed& b) { return a.key < b.key; });
    for (TKeyed* run = begin; run != end;) {
        TKeyed* next = run + 1;
        while (next != end && next->key == run->key) ++next;
        // A key that ends in a zero byte ends its texts: the run holds equal texts.
        if (next - run > 1 && (run->key & 0xff) != 0) {
            const std::size_t from = (depth + 1) * 8;
            for (TKeyed* k = run; k != next; ++k) {
                const std::string_view text = TextOf(k->id, field);
                k->key = PrefixKey(text.size() > from ? text.substr(from) : std::string_view());
            }
            SortTextRun(run, next, field, depth + 1);
        }
        run = next;
    }
}

void TDomainTable::SortIds(TDomainField field, std::vector<TRecordId>& ids) const {
    std::vector<TKeyed> keyed;
    keyed.reserve(ids.size());
    if (field == TDomainField::Size) {
        // Sign bit flipped, the number orders as an unsigned key.
        for (TRecordId id : ids)
            keyed.push_back({static_cast<std::uint32_t>(slots_[id].size) ^ 0x80000000u, id});
        std::stable_sort(keyed.begin(), keyed.end(), [](const TKeyed& a, const TKeyed& b) { return a.key < b.key; });
    } else {
        for (TRecordId id : ids) keyed.push_back({PrefixKey(TextOf(id, field)), id});
        SortTextRun(keyed.data(), keyed.data() + keyed.size(), field, 0);
    }
    for (std::size_t i = 0; i < keyed.size(); ++i) ids[i] = keyed[i].id;
}

void TDomainTable::RebuildOrder(bool keepSort) {
    if (!keepSort || !sortField_) sortedValid_ = false;
    if (!sortField_) sorted_.clear();
    order_.clear();
    const bool needed = sortField_ || filter_ || deletedCount_ > 0;
    materialized_ = needed;
    if (!needed) {
        sorted_.shrink_to_fit();
        order_.shrink_to_fit();
        ClampCursor();
        return;
    }
    std::vector<TRecordId> base;
    if (sortField_ && keepSort && sortedValid_) {
        base = sorted_;  // only the filter changed: the sort still holds
    } else {
        base.reserve(slots_.size() - deletedCount_);
        for (TRecordId id = 0; id < slots_.size(); ++id)
            if (!slots_[id].deleted) base.push_back(id);
        if (sortField_) {
            SortIds(*sortField_, base);
            sorted_ = base;
            sortedValid_ = true;
        }
    }
    if (filter_) {
        for (TRecordId id : base)
            if (filter_(*this, id)) order_.push_back(id);
    } else {
        order_ = std::move(base);
    }
    ClampCursor();
}

void TDomainTable::SortOn(TDomainField field) {
    sortField_ = field;
    RebuildOrder();
    First();
    NotifyData();
}

void TDomainTable::ClearSort() {
    sortField_.reset();
    RebuildOrder();
    First();
    NotifyData();
}

void TDomainTable::SetFilter(TFilter filter) {
    filter_ = std::move(filter);
    RebuildOrder(true);
    First();
    NotifyData();
}

void TDomainTable::ClearFilter() {
    if (!filter_) return;
    filter_ = nullptr;
    RebuildOrder(true);
    First();
    NotifyData();
}

void TDomainTable::Delete() {
    if (RecordCount() == 0) throw ENorvaleError("Cannot perform this operation on an empty dataset");
    const TRecordId id = RecordAtRow(cursor_);
    slots_[id].deleted = 1;
    ++deletedCount_;
    if (materialized_) {
        order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(cursor_));
        if (sortField_) {
            const auto less = [this](TRecordId a, TRecordId b) { return Less(a, b); };
            const auto it = std::lower_bound(sorted_.begin(), sorted_.end(), id, less);
            if (it != sorted_.end() && *it == id) sorted_.erase(it);
        }
    } else {
        RebuildOrder();
    }
    ClampCursor();
    NotifyData();
}

void TDomainTable::Compact() {
    editing_ = false;
    if (deletedCount_ > 0) {
        TDomainTable fresh;
        fresh.active_ = true;
        fresh.Reserve(TotalRecordCount());
        for (TRecordId id = 0; id < slots_.size(); ++id) {
            if (slots_[id].deleted) continue;
            fresh.AddSlot(TextOf(id, TDomainField::Domain), TextOf(id, TDomainField::Dom),
                          TextOf(id, TDomainField::ExDate), slots_[id].size);
        }
        slots_ = std::move(fresh.slots_);
        blocks_ = std::move(fresh.blocks_);
        blockUsed_ = fresh.blockUsed_;
        deletedCount_ = 0;
        ++generation_;
        RebuildOrder();
        NotifyData();
    }
    First();
}

void TDomainTable::ReplaceContent(TDomainTable&& other) {
    slots_ = std::move(other.slots_);
    blocks_ = std::move(other.blocks_);
    blockUsed_ = other.blockUsed_;
    deletedCount_ = other.deletedCount_;
    other.slots_.clear();
    other.blocks_.clear();
    other.blockUsed_ = 0;
    other.deletedCount_ = 0;
    other.RebuildOrder();
    active_ = true;
    editing_ = false;
    ++generation_;
    RebuildOrder();
    First();
    NotifyData();
}

void TDomainTable::AddObserver(ITableObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) observers_.push_back(observer);
}

void TDomainTable::RemoveObserver(ITableObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TDomainTable::DisableControls() { ++disableCount_; }

void TDomainTable::EnableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ > 0) return;
    const bool data = dataChangedWhileDisabled_;
    const bool cursor = cursorMovedWhileDisabled_;
    dataChangedWhileDisabled_ = cursorMovedWhileDisabled_ = false;
    if (data) NotifyData();
    if (cursor || data) NotifyCursor();
}

void TDomainTable::NotifyData() {
    if (disableCount_ > 0) {
        dataChangedWhileDisabled_ = true;
        return;
    }
    const auto observers = observers_;
    for (ITableObserver* o : observers) o->TableDataChanged(*this);
}

void TDomainTable::NotifyCursor() {
    if (disableCount_ > 0) {
        cursorMovedWhileDisabled_ = true;
        return;
    }
    const auto observers = observers_;
    for (ITableObserver* o : observers) o->TableCursorMoved(*this);
}

std::size_t TDomainTable::MemoryBytes() const {
    return slots_.capacity() * sizeof(TSlot) + blocks_.size() * kBlockSize +
           (order_.capacity() + sorted_.capacity()) * sizeof(TRecordId) + blocks_.capacity() * sizeof(void*);
}

void TDomainTable::Reserve(std::size_t records) {
    const bool grows = records > slots_.capacity();
    slots_.reserve(records);
    if (grows) AdviseHugePages(slots_.data(), slots_.capacity() * sizeof(TSlot));
}

}  // namespace norvale
