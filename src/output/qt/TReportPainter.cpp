#include "output/qt/TReportPainter.h"

#include <QDateTime>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "util/ENorvaleError.h"
#include "util/qt/TQtText.h"

namespace norvale {

namespace {
constexpr double kMmPerInch = 25.4;
constexpr double kRuleWidthMm = 0.2;
}  // namespace

QFont TReportPainter::Font(TReportFont font) {
    QFont result(QStringLiteral("Arial"), font == TReportFont::Title ? 12 : 10);
    result.setStyleHint(QFont::SansSerif);
    // Unhinted outlines measure the same at every resolution, so the preview, the
    // printer and the PDF place every text alike.
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

std::string TReportPainter::CurrentDateText() {
    return FromQ(QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
}

TReportPainter::TReportPainter(QPaintDevice* device)
    : body_(Font(TReportFont::Body), device),
      title_(Font(TReportFont::Title), device),
      bodyMetrics_(body_, device),
      titleMetrics_(title_, device),
      pxPerMmX_(device->logicalDpiX() / kMmPerInch),
      pxPerMmY_(device->logicalDpiY() / kMmPerInch) {
    // Every text is Latin-1, so its widest character bounds every text's width.
    for (const TReportFont font : {TReportFont::Body, TReportFont::Title}) {
        double widest = 0;
        for (int code = 1; code < 256; ++code)
            widest = std::max(widest, MetricsFor(font).horizontalAdvance(QChar(code)));
        // Kerning seldom widens a pair, and never by much.
        maxCharWidth_[static_cast<int>(font)] = widest * 1.05 / pxPerMmX_;
    }
}

double TReportPainter::MaxCharWidth(TReportFont font) const {
    return maxCharWidth_[static_cast<int>(font)];
}

double TReportPainter::TextWidth(TReportFont font, std::string_view text) const {
    return MetricsFor(font).horizontalAdvance(ToQ(text)) / pxPerMmX_;
}

double TReportPainter::LineHeight(TReportFont font) const {
    return MetricsFor(font).height() / pxPerMmY_;
}

void TReportPainter::PaintPage(QPainter& painter, const TReportPage& page) const {
    painter.setPen(QPen(Qt::black, kRuleWidthMm * pxPerMmY_));
    for (const TReportRule& rule : page.rules)
        painter.drawLine(QPointF(rule.left * pxPerMmX_, rule.top * pxPerMmY_),
                         QPointF(rule.right * pxPerMmX_, rule.top * pxPerMmY_));

    const TReportFont noFont = static_cast<TReportFont>(0xff);
    TReportFont current = noFont;
    for (const TReportText& box : page.texts) {
        if (box.font != current) {
            painter.setFont(FontFor(box.font));
            current = box.font;
        }
        // Texts hang from the top of their box, as the report designer placed them.
        const QPointF baseline(box.textLeft * pxPerMmX_,
                               box.top * pxPerMmY_ + MetricsFor(box.font).ascent());
        if (box.clipped) {
            painter.save();
            painter.setClipRect(QRectF(box.left * pxPerMmX_, box.top * pxPerMmY_,
                                       box.width * pxPerMmX_, box.height * pxPerMmY_),
                                Qt::IntersectClip);
            painter.drawText(baseline, ToQ(box.text));
            painter.restore();
        } else {
            painter.drawText(baseline, ToQ(box.text));
        }
    }
}

void TReportPainter::PaintReport(QPagedPaintDevice& device, const TDomainTable& table,
                                 const std::string& dateText, int copies) {
    const TReportPainter measure(&device);
    const QRectF paper = device.pageLayout().fullRect(QPageLayout::Millimeter);
    const TReportLayout layout(table, dateText, measure, paper.width(), paper.height());

    QPainter painter;
    if (!painter.begin(&device))
        throw ENorvaleError("Printing could not be started.");
    // The layout measures from the paper's corner; a device with margins puts its
    // origin at the corner of its printable area instead.
    const QRect printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    painter.translate(-printable.topLeft());
    bool first = true;
    for (int copy = 0; copy < std::max(copies, 1); ++copy) {
        for (std::size_t i = 0; i < layout.PageCount(); ++i) {
            if (!first && !device.newPage())
                throw ENorvaleError("Printing stopped: a new page could not be started.");
            first = false;
            measure.PaintPage(painter, layout.Page(i));
        }
    }
    if (!painter.end())
        throw ENorvaleError("Printing could not be finished.");
}

}  // namespace norvale
