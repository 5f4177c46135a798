#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "domains/TDomainRecord.h"

namespace norvale {

class TDomainTable;

// A view bound to a table (a grid's model). It hears about changes unless the
// table's controls are disabled; then it hears once, when they are enabled again.
class ITableObserver {
public:
    virtual ~ITableObserver() = default;
    // Rows were added, removed, reordered or filtered: everything may have changed.
    virtual void TableDataChanged(TDomainTable& table) = 0;
    // The current record moved.
    virtual void TableCursorMoved(TDomainTable& table) = 0;
};

// The in-memory table of domain records behind each of the three lists.
//
// Built for millions of records: the texts of a record sit side by side in large
// shared blocks, a record slot is 16 bytes, and sorting and filtering are index
// vectors over the slots, so the records themselves never move. Records are kept in
// their order of addition (which is what the list files store); the table yields
// them in the order of its sort and through its filter, and its cursor, its count
// and every walk follow what it yields.
class TDomainTable {
public:
    using TRecordId = std::uint32_t;  // position in the order of addition
    using TFilter = std::function<bool(const TDomainTable&, TRecordId)>;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    TDomainTable();
    ~TDomainTable();
    TDomainTable(const TDomainTable&) = delete;
    TDomainTable& operator=(const TDomainTable&) = delete;
    TDomainTable(TDomainTable&&) noexcept;
    TDomainTable& operator=(TDomainTable&&) noexcept;

    // Open starts empty; Close drops every record. Sort and filter settings stay.
    void Open();
    void Close();
    bool Active() const { return active_; }
    void EmptyTable();

    // Append and post: Append starts a pending record, the setters fill it, Post adds
    // it (and runs AfterPost), Cancel drops it.
    void Append();
    void SetText(TDomainField field, std::string_view text);
    void SetFieldText(std::string_view fieldName, std::string_view text);  // by name, any case
    void SetSize(std::int32_t size);
    void Post();
    void Cancel();
    bool Editing() const { return editing_; }
    // Append + set + Post in one call.
    void AppendRecord(std::string_view domain, std::string_view dom, std::string_view exDate,
                      std::int32_t size);
    void AppendRecord(const TDomainRecord& record) {
        AppendRecord(record.Domain, record.Dom, record.ExDate, record.Size);
    }
    std::function<void(TDomainTable&)> AfterPost;

    // Counts: what the table yields (through its filter), and every record.
    std::size_t RecordCount() const;
    std::size_t TotalRecordCount() const { return slots_.size() - deletedCount_; }
    // Every slot by its id, deleted ones included, for walks that must ignore the
    // filter (a column's pick list of values).
    std::size_t SlotCount() const { return slots_.size(); }
    bool IsLive(TRecordId id) const { return id < slots_.size() && !slots_[id].deleted; }
    bool IsEmpty() const { return RecordCount() == 0; }

    // The cursor walks what the table yields. Next on the last row sets Eof and stays.
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    std::size_t RecNo() const;  // 0-based row of the cursor, npos when empty
    void MoveTo(std::size_t row);

    // The current record's fields (the table must not be empty).
    std::string_view Text(TDomainField field) const;
    std::string_view FieldText(std::string_view fieldName) const;  // by name, any case
    std::int32_t Size() const;
    TDomainRecord CurrentRecord() const;

    // Rows without moving the cursor (for grids and walks).
    TRecordId RecordAtRow(std::size_t row) const;
    std::size_t RowOfRecord(TRecordId id) const;  // npos when filtered out or deleted
    std::string_view TextOf(TRecordId id, TDomainField field) const;
    std::int32_t SizeOf(TRecordId id) const;
    TDomainRecord RecordOf(TRecordId id) const;

    // Bookmarks name a record; they stay valid until it is deleted or the table compacted.
    struct TBookmark {
        TRecordId id = 0;
        std::uint64_t generation = 0;
        bool valid = false;
    };
    TBookmark GetBookmark() const;
    bool BookmarkValid(const TBookmark& bookmark) const;
    void GotoBookmark(const TBookmark& bookmark);

    // One-field ascending sort, stable: equal keys keep their order of addition.
    // Texts compare byte by byte with ASCII letters folded to one case; Size as a number.
    void SortOn(TDomainField field);
    void ClearSort();
    std::optional<TDomainField> SortField() const { return sortField_; }

    // The filter limits which records the table yields, its count included.
    void SetFilter(TFilter filter);
    void ClearFilter();
    bool Filtered() const { return static_cast<bool>(filter_); }

    // Deletes the current record.
    void Delete();
    // Cancels a pending record, removes the slots of deleted records (bookmarks die)
    // and moves the cursor to the first record.
    void Compact();

    // Takes the records of other (built aside) in place of its own; keeps this
    // table's sort and filter and applies them to the new records.
    void ReplaceContent(TDomainTable&& other);

    // Bound views.
    void AddObserver(ITableObserver* observer);
    void RemoveObserver(ITableObserver* observer);
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // Bytes held by records, texts and indexes.
    std::size_t MemoryBytes() const;
    void Reserve(std::size_t records);

private:
    struct TSlot {
        std::uint64_t offset;  // into the text blocks
        std::uint8_t domainLength;
        std::uint8_t domLength;
        std::uint8_t exDateLength;
        std::uint8_t deleted;
        std::int32_t size;
    };
    static_assert(sizeof(TSlot) == 16);

    friend class TDomainListFile;
    void AddSlot(std::string_view domain, std::string_view dom, std::string_view exDate,
                 std::int32_t size);
    const char* TextPointer(std::uint64_t offset) const;
    bool Less(TRecordId a, TRecordId b) const;
    struct TKeyed;
    void SortIds(TDomainField field, std::vector<TRecordId>& ids) const;
    void SortTextRun(TKeyed* begin, TKeyed* end, TDomainField field, std::size_t depth) const;
    // From the sort and filter settings; keepSort: only the filter changed.
    void RebuildOrder(bool keepSort = false);
    void PlaceNewRecord(TRecordId id);
    bool Materialized() const { return materialized_; }
    void ClampCursor();
    void NotifyData();
    void NotifyCursor();

    std::vector<TSlot> slots_;
    struct TFreeBlock {
        void operator()(char* block) const { std::free(block); }
    };
    std::vector<std::unique_ptr<char[], TFreeBlock>> blocks_;
    std::size_t blockUsed_ = 0;
    std::size_t deletedCount_ = 0;

    // When materialized_, order_ lists the yielded records; otherwise the table yields
    // every slot in its order of addition.
    bool materialized_ = false;
    std::vector<TRecordId> order_;
    std::vector<TRecordId> sorted_;  // every live record in sort order, when sorted
    bool sortedValid_ = false;       // sorted_ holds the order of sortField_
    std::optional<TDomainField> sortField_;
    TFilter filter_;

    bool active_ = false;
    bool editing_ = false;
    TDomainRecord pending_;
    std::size_t cursor_ = 0;
    bool eof_ = true;
    bool bof_ = true;
    std::uint64_t generation_ = 1;

    std::vector<ITableObserver*> observers_;
    int disableCount_ = 0;
    bool dataChangedWhileDisabled_ = false;
    bool cursorMovedWhileDisabled_ = false;
};

}  // namespace norvale
