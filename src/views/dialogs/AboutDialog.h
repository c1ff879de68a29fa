#pragma once
// The About dialog: the product and maker, the version "Version %d.%d.%d  (Build %d)" of the
// build (major, minor, patch, build), and a link that opens the product's web site through
// OpenWebPage. Fixed size; OK, Escape and the close box end it. UI thread only.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace tessary {

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent);

    // The version text of this build.
    static QString VersionText();

    QLabel* ProductLabel() const { return product_; }
    QLabel* VersionLabel() const { return version_; }
    QPushButton* LinkButton() const { return link_; }
    QPushButton* OkButton() const { return ok_; }

private:
    QLabel* product_ = nullptr;
    QLabel* version_ = nullptr;
    QPushButton* link_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace tessary
