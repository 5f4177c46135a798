#pragma once

#include <string>

#include "domains/TDomainTable.h"
#include "util/ENorvaleError.h"

namespace norvale {

// The list files (dlist.dat, mlist.dat, draft.dat). Layout, little-endian:
//   "NVLIST\r\n" (8 bytes), version (u16, 2), field count (u16), then per field:
//   name length (u8), name, type (u8: 1 text, 2 32-bit integer), width (u16), kind (u8, 0 data);
//   record count (u64); per text field a dictionary: u16 0 (the records hold the
//   texts), or 1 + n followed by n texts (the records hold one-byte codes: a text of
//   the dictionary, or 0xFF and the text itself); then per record, in field order: a
//   text as length (u8) and bytes, or its code; an integer as a zig-zag varint;
//   finally the CRC-32 (u32) of everything before it.
// Records are written in their order of addition, every record, whatever the sort
// or filter of the table; a damaged, cut or foreign file is refused as a whole.
class TDomainListFile {
public:
    static void Save(const TDomainTable& table, const std::string& path);
    // Replaces the table's records with the file's. Throws EFileError when the file
    // cannot be read, EDamagedListFile when its content is not a sound list file;
    // the table is unchanged then.
    static void Load(TDomainTable& table, const std::string& path);
    // Decodes a list file's bytes into a table (for Load and for fuzzing).
    static void Decode(const std::string& bytes, TDomainTable& into);
};

class EDamagedListFile : public EFileError {
public:
    using EFileError::EFileError;
};

}  // namespace norvale
