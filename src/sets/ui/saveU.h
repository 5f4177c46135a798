#pragma once

#include <QDialog>

#include "domains/TDataFolder.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace norvale {

// "Save Current Set": asks for the name of a configuration set. It lives for the
// whole run; the main window empties the name box before each show.
class TfrmSave : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSave(const TDataFolder& folder, QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* edName = nullptr;
    QPushButton* bSave = nullptr;
    QPushButton* bCancel = nullptr;

    // The name exactly as typed (Latin-1 bytes).
    std::string Name() const;

    void bSaveClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();

    TDataFolder folder_;
};

}  // namespace norvale
