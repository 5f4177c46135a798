#include "update/ui/aboutU.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "update/ui/TShadowLabel.h"
#include "util/qt/TQtText.h"
#include "util/ui/TUrlOpener.h"

namespace norvale {

namespace {
TfrmAbout*& CurrentBox() {
    static TfrmAbout* box = nullptr;
    return box;
}

// The program carries no picture file; the side panel is painted.
QPixmap SidePicture(const QSize& size) {
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(0, 0, 64));
    gradient.setColorAt(1, QColor(70, 110, 190));
    painter.fillRect(picture.rect(), gradient);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(96);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 90));
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("N"));
    return picture;
}
}  // namespace

std::string AboutLinkText(const std::string& homePage) {
    std::string host = homePage;
    if (const auto scheme = host.find("://"); scheme != std::string::npos)
        host.erase(0, scheme + 3);
    if (const auto path = host.find_first_of("/?#"); path != std::string::npos)
        host.erase(path);
    return host;
}

TfrmAbout::TfrmAbout(const std::string& homePage, QWidget* parent)
    : QDialog(parent), homePage_(homePage) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(379, 245);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 140, 245);
    Image1->setPixmap(SidePicture(Image1->size()));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::VLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(141, 0, 1, 245);

    MaxLabel1 = new TShadowLabel(QStringLiteral("Norvale v1.0"), this);
    MaxLabel1->setObjectName(QStringLiteral("MaxLabel1"));
    MaxLabel1->setGeometry(148, 40, 226, 26);
    QFont nameFont;
    nameFont.setFamilies({QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"),
                          QStringLiteral("Liberation Sans")});
    nameFont.setStretch(QFont::Condensed);
    nameFont.setBold(true);
    nameFont.setPixelSize(21);
    MaxLabel1->setFont(nameFont);

    Label3 = new QLabel(QStringLiteral("Web Site: "), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(160, 120, 60, 18);
    Label4 = new QLabel(ToQ(AboutLinkText(homePage_)), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(220, 120, 155, 18);
    Label4->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);

    RzBitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    RzBitBtn1->setObjectName(QStringLiteral("RzBitBtn1"));
    RzBitBtn1->setGeometry(270, 200, 86, 26);
    RzBitBtn1->setDefault(true);
    connect(RzBitBtn1, &QPushButton::clicked, this, [this] { RzBitBtn1Click(); });

    // Esc closes the box from any control, before the control sees the key.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    CurrentBox() = this;
}

TfrmAbout::~TfrmAbout() {
    if (CurrentBox() == this)
        CurrentBox() = nullptr;
}

TfrmAbout* TfrmAbout::Current() {
    return CurrentBox();
}

void TfrmAbout::Label4Click() {
    TUrlOpener::Open(ToQ(homePage_));
}

void TfrmAbout::RzBitBtn1Click() {
    close();
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label4Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    // Every other key is ignored, Enter included: only OK and Esc close the box.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

}  // namespace norvale
