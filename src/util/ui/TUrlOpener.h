#pragma once

#include <QString>
#include <functional>

namespace norvale {

// Opens a web address in the desktop's default browser. Tests replace the opener to
// watch which addresses the program asks for; nothing is opened for them.
class TUrlOpener {
public:
    static void Open(const QString& address);
    static void SetOpener(std::function<void(const QString&)> opener);  // empty restores the desktop's
};

}  // namespace norvale
