// norvale-cli: the desktop program's work without a window, on the same data folder.
#include <QGuiApplication>
#include <iostream>

#include "cli/TCli.h"

int main(int argc, char** argv) {
    // Downloads and PDF reports need an application object with fonts; no window is
    // ever opened, so the offscreen platform serves on machines without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Norvale"));
    return norvale::RunCli(argc, argv, std::cout, std::cerr);
}
