#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/ENorvaleError.h"

namespace norvale {

// The one member of the downloaded archive that holds the list.
constexpr const char* kListMemberName = "PoolDeletingDomainsList.txt";
// What the list member may inflate to, whatever the archive declares.
constexpr std::uint64_t kMaxListMemberBytes = std::uint64_t(1) << 30;

// The archive cannot be read, lacks the member, fails its checksum or is too large.
class EListArchiveError : public ENorvaleError {
public:
    using ENorvaleError::ENorvaleError;
};

// A list text read whole into memory. It lives in pages of its own (huge pages where
// the system offers them), which are never zero-filled first and go back to the system
// with the object: a list of millions of lines costs one pass over its bytes.
class TListText {
public:
    TListText() = default;
    ~TListText();
    TListText(TListText&& other) noexcept;
    TListText& operator=(TListText&& other) noexcept;
    TListText(const TListText&) = delete;
    TListText& operator=(const TListText&) = delete;

    std::string_view View() const { return {data_, size_}; }
    std::size_t size() const { return size_; }
    bool operator==(std::string_view other) const { return View() == other; }

    // Room for at least capacity bytes, keeping what is there; returns the start.
    char* Grow(std::size_t capacity);
    std::size_t Capacity() const { return capacity_; }
    void SetSize(std::size_t size) { size_ = size; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Opens the zip archive read-only with its consistency checks and reads the member
// whole into memory, checking its CRC. A member that inflates past maxBytes is refused
// as soon as it gets there.
TListText ReadListMember(const std::string& archivePath,
                         std::uint64_t maxBytes = kMaxListMemberBytes);

// True when bytes start like a zip archive.
bool LooksLikeZip(const std::string& bytes);

// A list the user names: a zip archive holding the member, or the list text itself.
TListText ReadListFile(const std::string& path, std::uint64_t maxBytes = kMaxListMemberBytes);

}  // namespace norvale
