#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "domains/TDataFolder.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace norvale {

// The open/delete-sets dialog: in open mode a plain list to pick one set, in delete
// mode a check list to delete several. It lives for the whole run and lists the
// sets folder afresh at every show.
class TfrmDelete : public QDialog {
    Q_OBJECT

public:
    explicit TfrmDelete(const TDataFolder& folder, QWidget* parent = nullptr);

    bool OpenMode = true;  // set by the main window before each show

    // Opens the set of that name; the main window owns what opening means.
    std::function<void(const std::string& name)> OpenSet;
    // Removes one file, raising EFileError with the system's reason (a seam for tests:
    // running as root, no permission bit makes a delete fail).
    std::function<void(const std::string& path)> RemoveFile;

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* LB = nullptr;      // delete mode: check list
    QListWidget* LBopen = nullptr;  // open mode: single selection
    QWidget* Panel1 = nullptr;
    QPushButton* bOpen = nullptr;
    QPushButton* bDelete = nullptr;
    QPushButton* bCancel = nullptr;

    void bOpenClick();
    void bDeleteClick();
    void LBopenDblClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    TDataFolder folder_;
};

}  // namespace norvale
