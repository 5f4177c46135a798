#include "support/TPdfWords.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <regex>

#include "support/TTempDir.h"

namespace norvale::test {

const TPdfWord* TPdfPage::Find(const std::string& text) const {
    for (const TPdfWord& w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

std::vector<TPdfPage> ReadPdfWords(const std::string& pdfPath) {
    const TTempDir dir;
    const std::string html = dir.File("words.html");
    const std::string command = "pdftotext -bbox '" + pdfPath + "' '" + html + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        ADD_FAILURE() << "pdftotext could not read " << pdfPath;
        return {};
    }
    const std::string text = dir.Read("words.html");
    const std::regex token(
        R"re(<page width="([0-9.]+)" height="([0-9.]+)">|<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    constexpr double kMm = 25.4 / 72.0;
    std::vector<TPdfPage> pages;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), token);
         it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        if (m[1].matched) {
            pages.push_back(TPdfPage{std::stod(m[1]) * kMm, std::stod(m[2]) * kMm, {}});
        } else if (!pages.empty()) {
            pages.back().words.push_back(TPdfWord{std::stod(m[3]) * kMm, std::stod(m[4]) * kMm,
                                                  std::stod(m[5]) * kMm, std::stod(m[6]) * kMm,
                                                  m[7]});
        }
    }
    return pages;
}

}  // namespace norvale::test
