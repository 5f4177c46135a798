#pragma once

#include <string>
#include <vector>

namespace norvale::test {

// The words of a PDF file with their boxes, as pdftotext -bbox reads them back
// (poppler-utils). Everything in millimetres from the page's top-left corner.
struct TPdfWord {
    double xMin, yMin, xMax, yMax;
    std::string text;  // UTF-8
};
struct TPdfPage {
    double width = 0;
    double height = 0;
    std::vector<TPdfWord> words;

    const TPdfWord* Find(const std::string& text) const;
};

// Fails the current test (and returns no pages) when pdftotext cannot read the file.
std::vector<TPdfPage> ReadPdfWords(const std::string& pdfPath);

}  // namespace norvale::test
