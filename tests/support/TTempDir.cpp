#include "support/TTempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace norvale::test {

TTempDir::TTempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "norvale-test-XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ + "/";
}

TTempDir::~TTempDir() {
    std::error_code ec;
    // Tests may leave read-only folders behind; open them up so that removal works.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void TTempDir::Write(std::string_view name, std::string_view bytes) const {
    const std::filesystem::path p = File(name);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + p.string());
}

std::string TTempDir::Read(std::string_view name) const {
    std::ifstream in(File(name), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + File(name));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TTempDir::Exists(std::string_view name) const { return std::filesystem::exists(File(name)); }

namespace {
const char* const kVariables[3] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"};
}

TIsolatedHome::TIsolatedHome() {
    for (int i = 0; i < 3; ++i) {
        if (const char* v = std::getenv(kVariables[i])) {
            had_[i] = true;
            saved_[i] = v;
        }
    }
    ::setenv("HOME", (dir_.Path() + "home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir_.Path() + "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir_.Path() + "config").c_str(), 1);
}

TIsolatedHome::~TIsolatedHome() {
    for (int i = 0; i < 3; ++i) {
        if (had_[i]) {
            ::setenv(kVariables[i], saved_[i].c_str(), 1);
        } else {
            ::unsetenv(kVariables[i]);
        }
    }
}

}  // namespace norvale::test
