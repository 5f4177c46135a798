#pragma once

#include <cstdint>
#include <string>

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

// Opens the zip archive read-only with its consistency checks and reads the member
// whole into memory, checking its CRC. A member that inflates past maxBytes is refused
// as soon as it gets there.
std::string ReadListMember(const std::string& archivePath, std::uint64_t maxBytes = kMaxListMemberBytes);

// True when bytes start like a zip archive.
bool LooksLikeZip(const std::string& bytes);

// A list the user names: a zip archive holding the member, or the list text itself.
std::string ReadListFile(const std::string& path, std::uint64_t maxBytes = kMaxListMemberBytes);

}  // namespace norvale
