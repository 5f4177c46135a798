#pragma once

#include <string>
#include <vector>

namespace norvale::test {

// Builds zip archives with libzip for the tests: members with any content, stored or
// deflated.
class TZipBuilder {
public:
    TZipBuilder& Add(std::string name, std::string content, bool stored = false);
    // Writes the archive; throws std::runtime_error when libzip fails.
    void WriteTo(const std::string& path) const;
    std::string Bytes() const;  // the archive's bytes (written through a temporary file)

private:
    struct TMember {
        std::string name;
        std::string content;
        bool stored;
    };
    std::vector<TMember> members_;
};

}  // namespace norvale::test
