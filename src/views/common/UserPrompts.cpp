#include "UserPrompts.h"

#include <memory>

#include <QApplication>
#include <QFileDialog>

#include "album/FilterJob.h"
#include "views/adding/FilterProgressDialog.h"

namespace tessary {

MessageBoxSpec InformationMessage(const QString& text)
{
    return {text, QLatin1String(kProductCaption), QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok};
}

MessageBoxSpec YesNoQuestion(const QString& text, const QString& caption)
{
    return {text, caption, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
}

QStringList AddPhotosNameFilters()
{
    return {QStringLiteral("BMP (*.bmp *.dib *.rle)"), QStringLiteral("JPG (*.jpg *.jpeg *.jpe *.jfif)"),
            QStringLiteral("PNG (*.png)"),
            QStringLiteral("All Supported Formats (*.bmp *.dib *.jfif *.jpg *.jpeg *.jpe *.png *.rle)")};
}

QMessageBox::StandardButton UserPrompts::ShowMessage(QWidget* owner, const MessageBoxSpec& recipe)
{
    QMessageBox box(recipe.icon, recipe.caption, recipe.text, recipe.buttons, owner);
    box.setDefaultButton(recipe.defaultButton);
    box.exec();
    return box.standardButton(box.clickedButton());
}

QStringList UserPrompts::ChooseFiles(QWidget* owner)
{
    QFileDialog dialog(owner);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = AddPhotosNameFilters();
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.last());
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString UserPrompts::ChooseFolder(QWidget* owner, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
}

QString UserPrompts::ChooseAlbumFile(QWidget* owner)
{
    // getOpenFileName accepts existing files only.
    return QFileDialog::getOpenFileName(owner, QString(), QString(), QLatin1String(kAlbumFileFilter));
}

std::optional<QStringList> UserPrompts::FilterPaths(QWidget* owner, const QStringList& paths)
{
    QWidget* parent = owner ? owner : QApplication::activeWindow();
    FilterProgressDialog dialog(std::make_unique<FilterJob>(paths), *this, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.AcceptedFiles();
}

} // namespace tessary
