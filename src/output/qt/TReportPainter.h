#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <string>

#include "output/TReportLayout.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace norvale {

// Draws report pages with QPainter on any device: a printer, a PDF writer, the print
// preview, an image. It also measures the report's texts for the layout, with the
// fonts as that device resolves them, so that what the layout places is what prints.
class TReportPainter : public IReportTextMeasure {
public:
    explicit TReportPainter(QPaintDevice* device);

    double TextWidth(TReportFont font, std::string_view text) const override;
    double LineHeight(TReportFont font) const override;
    double MaxCharWidth(TReportFont font) const override;

    // Paints one page; the painter's origin must be the paper's top-left corner.
    void PaintPage(QPainter& painter, const TReportPage& page) const;

    // The whole report of what the table yields, laid out for the device's paper and
    // painted page after page, copies times over. Throws when the device cannot be
    // painted on.
    static void PaintReport(QPagedPaintDevice& device, const TDomainTable& table,
                            const std::string& dateText, int copies = 1);

    // Arial, or the system's face with the same metrics when Arial itself is missing.
    static QFont Font(TReportFont font);
    // The current date and time in the system's short format, for the title.
    static std::string CurrentDateText();

private:
    const QFont& FontFor(TReportFont font) const {
        return font == TReportFont::Title ? title_ : body_;
    }
    const QFontMetricsF& MetricsFor(TReportFont font) const {
        return font == TReportFont::Title ? titleMetrics_ : bodyMetrics_;
    }

    QFont body_;
    QFont title_;
    QFontMetricsF bodyMetrics_;
    QFontMetricsF titleMetrics_;
    double pxPerMmX_;
    double pxPerMmY_;
    double maxCharWidth_[2];
};

}  // namespace norvale
