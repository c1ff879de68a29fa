#include "NewAlbumDialog.h"

#include <climits>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Settings.h"
#include "util/Regex.h"
#include "views/common/DialogUnits.h"
#include "views/common/UserPrompts.h"

namespace tessary {

namespace {
// The dialog template, in dialog units.
const QSize kDialogSize(230, 92);
const QRect kNameLabel(7, 7, 216, 8);
const QRect kNameEdit(7, 17, 216, 14);
const QRect kLocationLabel(7, 37, 216, 8);
const QRect kLocationEdit(7, 47, 194, 14);
const QRect kBrowseButton(204, 47, 19, 14);
const QRect kOkButton(119, 71, 50, 14);
const QRect kCancelButton(173, 71, 50, 14);

const QString kForbidden = QStringLiteral("\\/:*?\"<>|\t\r\n");

QString InvalidNameText(const QString& name)
{
    return QStringLiteral("Invalid album name: ") + name + QStringLiteral("\n\n")
           + QStringLiteral("Hint: album name cannot contain any of the following charactes:\n\t\\ / : * ? \" < > |");
}

QString InvalidFolderText(const QString& location)
{
    return QStringLiteral("Invalid folder: \"") + location + QStringLiteral("\"\n\nPlease specify another location.");
}

const QString kExistsText = QStringLiteral(
    "An album with the specified name already exists on disk in the specified location.\n\n"
    "Please enter a new album name or choose another folder.");

QPushButton* MakeButton(const QString& text, const QRect& rect, const DialogBaseUnits& base, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setGeometry(MapDialogRect(rect, base));
    return button;
}
} // namespace

NewAlbumDialog::NewAlbumDialog(Settings& settings, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
    , settings_(settings)
    , prompts_(prompts)
{
    setObjectName(QStringLiteral("NewAlbumDialog"));
    setWindowTitle(QStringLiteral("New Album"));
    setModal(true);
    const QFont font = DialogFont();
    setFont(font);
    const DialogBaseUnits base = BaseUnitsOf(font);
    setFixedSize(MapDialogSize(kDialogSize, base));

    auto* nameLabel = new QLabel(QStringLiteral("Album name:"), this);
    nameLabel->setGeometry(MapDialogRect(kNameLabel, base));
    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName(QStringLiteral("NameEdit"));
    nameEdit_->setProperty("controlId", kNameEditId);
    nameEdit_->setGeometry(MapDialogRect(kNameEdit, base));
    nameEdit_->setMaxLength(kMaxNameLength);
    nameLabel->setBuddy(nameEdit_);

    auto* locationLabel = new QLabel(QStringLiteral("Where to store album files:"), this);
    locationLabel->setGeometry(MapDialogRect(kLocationLabel, base));
    locationEdit_ = new QLineEdit(this);
    locationEdit_->setObjectName(QStringLiteral("LocationEdit"));
    locationEdit_->setProperty("controlId", kLocationEditId);
    locationEdit_->setGeometry(MapDialogRect(kLocationEdit, base));
    locationLabel->setBuddy(locationEdit_);

    browse_ = MakeButton(QStringLiteral("..."), kBrowseButton, base, this);
    browse_->setObjectName(QStringLiteral("BrowseButton"));
    browse_->setProperty("controlId", kBrowseButtonId);
    browse_->setAutoDefault(false);
    ok_ = MakeButton(QStringLiteral("OK"), kOkButton, base, this);
    ok_->setObjectName(QStringLiteral("OkButton"));
    ok_->setDefault(true);
    cancel_ = MakeButton(QStringLiteral("Cancel"), kCancelButton, base, this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    cancel_->setAutoDefault(false);

    connect(nameEdit_, &QLineEdit::textChanged, this, &NewAlbumDialog::UpdateOk);
    connect(locationEdit_, &QLineEdit::textChanged, this, &NewAlbumDialog::UpdateOk);
    connect(browse_, &QPushButton::clicked, this, &NewAlbumDialog::Browse);
    connect(ok_, &QPushButton::clicked, this, &NewAlbumDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &NewAlbumDialog::reject);

    const int n = settings_.nextAlbumId;
    // Reserved now, handed back by Cancel.
    settings_.nextAlbumId = n + 1;
    locationEdit_->setText(settings_.albumFolder.isEmpty() ? Settings::DefaultAlbumFolder() : settings_.albumFolder);
    nameEdit_->setText(DefaultName(n));
    nameEdit_->selectAll();
    nameEdit_->setFocus();
    UpdateOk();
}

QString NewAlbumDialog::DefaultName(int n)
{
    if (n <= 1)
        return kDefaultNameBase;
    return kDefaultNameBase + QStringLiteral(" %1").arg(n);
}

bool NewAlbumDialog::IsValidName(const QString& name)
{
    if (name.size() >= kNameLimit)
        return false;
    for (const QChar c : name) {
        if (kForbidden.contains(c) || !c.isPrint())
            return false;
    }
    return true;
}

int NewAlbumDialog::DefaultNameNumber(const QString& name)
{
    static const Regex pattern(QStringLiteral("^%1 (\\d+)$").arg(kDefaultNameBase));
    const RegexMatch match = pattern.MatchWhole(name);
    if (!match.ok || !match.Matched(1))
        return -1;
    bool ok = false;
    // \d also takes digits of other scripts, which toInt refuses; those names count as
    // ordinary ones.
    const int number = match.Text(name, 1).toInt(&ok);
    return ok ? number : -1;
}

void NewAlbumDialog::UpdateOk()
{
    ok_->setEnabled(!nameEdit_->text().isEmpty() && !locationEdit_->text().isEmpty());
}

void NewAlbumDialog::Browse()
{
    const QString current = locationEdit_->text();
    const QString start = QFileInfo(current).isDir() ? current : QString();
    const QString chosen = prompts_.ChooseFolder(this, kBrowseTitle, start);
    if (chosen.isEmpty())
        return;
    locationEdit_->setText(chosen);
    settings_.albumFolder = chosen;
    locationEdit_->setFocus();
    locationEdit_->selectAll();
}

void NewAlbumDialog::Refuse(QLineEdit* field, const QString& text)
{
    prompts_.ShowMessage(this, InformationMessage(text));
    field->setFocus();
    field->selectAll();
}

void NewAlbumDialog::accept()
{
    if (closed_)
        return;
    const QString name = nameEdit_->text().trimmed();
    const QString location = locationEdit_->text().trimmed();
    nameEdit_->setText(name);
    locationEdit_->setText(location);

    if (!IsValidName(name)) {
        Refuse(nameEdit_, InvalidNameText(name));
        return;
    }
    // A blank location (OK takes spaces) is refused before anything is made of it.
    if (location.isEmpty() || !QDir().mkpath(location) || !QFileInfo(location).isDir()) {
        Refuse(locationEdit_, InvalidFolderText(location));
        return;
    }
    if (QFileInfo::exists(location + QLatin1Char('/') + name)) {
        Refuse(nameEdit_, kExistsText);
        return;
    }

    const int number = DefaultNameNumber(name);
    if (number >= settings_.nextAlbumId && number < INT_MAX)
        settings_.nextAlbumId = number + 1;
    location_ = location;
    name_ = name;
    closed_ = true;
    QDialog::accept();
}

void NewAlbumDialog::reject()
{
    if (closed_)
        return;
    closed_ = true;
    settings_.nextAlbumId = std::max(settings_.nextAlbumId - 1, 1);
    QDialog::reject();
}

} // namespace tessary
