#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace norvale {

// The core keeps texts as single-byte strings; widgets convert at their edge with
// Latin-1 so that every byte survives the round trip.
inline QString ToQ(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string FromQ(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace norvale
