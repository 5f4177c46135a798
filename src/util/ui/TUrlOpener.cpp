#include "util/ui/TUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace norvale {

namespace {
std::function<void(const QString&)>& Opener() {
    static std::function<void(const QString&)> opener;
    return opener;
}
}  // namespace

void TUrlOpener::Open(const QString& address) {
    if (Opener()) {
        Opener()(address);
        return;
    }
    // The result is not checked: a failing browser start gives no message of ours.
    QDesktopServices::openUrl(QUrl(address));
}

void TUrlOpener::SetOpener(std::function<void(const QString&)> opener) { Opener() = std::move(opener); }

}  // namespace norvale
