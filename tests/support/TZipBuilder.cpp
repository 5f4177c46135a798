#include "TZipBuilder.h"

#include <zip.h>

#include <cstdio>
#include <stdexcept>

#include "TTempDir.h"

namespace norvale::test {

TZipBuilder& TZipBuilder::Add(std::string name, std::string content, bool stored) {
    members_.push_back(TMember{std::move(name), std::move(content), stored});
    return *this;
}

void TZipBuilder::WriteTo(const std::string& path) const {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        throw std::runtime_error("zip_open failed for " + path);
    for (const TMember& m : members_) {
        // The buffers outlive zip_close, which is when libzip reads them.
        zip_source_t* source = zip_source_buffer(archive, m.content.data(), m.content.size(), 0);
        const zip_int64_t index = source ? zip_file_add(archive, m.name.c_str(), source,
                                                        ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8)
                                         : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            zip_discard(archive);
            throw std::runtime_error("zip_file_add failed for " + m.name);
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 m.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    if (members_.empty()) {
        // libzip writes nothing for an archive without members; an empty archive is
        // the 22-byte end record alone.
        zip_discard(archive);
        const std::string end = std::string("PK\x05\x06", 4) + std::string(18, '\0');
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            throw std::runtime_error("cannot write " + path);
        std::fwrite(end.data(), 1, end.size(), f);
        std::fclose(f);
        return;
    }
    if (zip_close(archive) != 0) {
        const std::string reason = zip_strerror(archive);
        zip_discard(archive);
        throw std::runtime_error("zip_close failed: " + reason);
    }
}

std::string TZipBuilder::Bytes() const {
    TTempDir dir;
    WriteTo(dir.File("a.zip"));
    return dir.Read("a.zip");
}

}  // namespace norvale::test
