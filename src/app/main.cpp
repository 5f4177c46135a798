// The desktop program: one main window over the user's data folder.
#include <QApplication>
#include <memory>

#include "app/mainU.h"
#include "domains/TDataFolder.h"
#include "util/TPlatform.h"
#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Norvale"));
    QApplication::setApplicationDisplayName(QStringLiteral("Norvale"));

    const norvale::TDataFolder folder(norvale::PlatformDataFolder());
    folder.EnsureDataFolder();
    std::unique_ptr<norvale::TDataFolderLock> lock;
    try {
        lock = std::make_unique<norvale::TDataFolderLock>(folder);
    } catch (const std::exception& e) {
        norvale::TPrompts::Error(nullptr, norvale::ToQ(e.what()));
        return 1;
    }

    norvale::TfrmMain window;
    window.show();
    return app.exec();
}
