#pragma once

#include <QDialog>
#include <QPointer>
#include <string>

class QFrame;
class QLabel;
class QPushButton;

namespace norvale {

class TShadowLabel;

// The about box: the product's name and version and a link to the home page. One
// is created for every "About" and goes when it closes.
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    // homePage: the address the link label opens.
    explicit TfrmAbout(const std::string& homePage, QWidget* parent = nullptr);
    ~TfrmAbout() override;

    // The box while one exists, else null.
    static TfrmAbout* Current();

    QLabel* Image1 = nullptr;
    QFrame* Bevel1 = nullptr;
    TShadowLabel* MaxLabel1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;  // the link
    QPushButton* RzBitBtn1 = nullptr;

    void Label4Click();
    void RzBitBtn1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::string homePage_;
};

// The link label's text: the site's host, without scheme or path.
std::string AboutLinkText(const std::string& homePage);

}  // namespace norvale
