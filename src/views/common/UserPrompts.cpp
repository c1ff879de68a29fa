#include "UserPrompts.h"

#include <memory>

#include <QApplication>
#include <QFileDialog>
#include <QScreen>

#include "album/FilterJob.h"
#include "views/adding/FilterProgressDialog.h"

namespace tessary {

MessageBoxSpec InformationMessage(const QString& text)
{
    return {text, QLatin1String(kProductCaption), QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok};
}

MessageBoxSpec ErrorMessage(const QString& text, const QString& caption)
{
    return {text, caption, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok};
}

MessageBoxSpec YesNoQuestion(const QString& text, const QString& caption)
{
    return {text, caption, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
}

QStringList AddPhotosNameFilters()
{
    return {QStringLiteral("BMP (*.bmp *.dib *.rle)"),
            QStringLiteral("JPG (*.jpg *.jpeg *.jpe *.jfif)"),
            QStringLiteral("PNG (*.png)"),
            QStringLiteral("GIF (*.gif)"),
            QStringLiteral("TIFF (*.tif *.tiff)"),
            QStringLiteral("WebP (*.webp)"),
            QStringLiteral("HEIF (*.heic *.heif *.hif)"),
            QStringLiteral("AVIF (*.avif)"),
            QStringLiteral("All Supported Formats (*.bmp *.dib *.jfif *.jpg *.jpeg *.jpe *.png *.rle *.gif *.tif *.tiff "
                           "*.webp *.heic *.heif *.hif *.avif)")};
}

QRect CenteredMessageRect(const QSize& box, const QWidget* owner, const QRect& workArea)
{
    const QWidget* window = owner ? owner->window() : nullptr;
    const bool ownerShown = window && window->isVisible() && !window->isMinimized();
    QRect rect(QPoint(0, 0), box);
    rect.moveCenter(ownerShown ? window->frameGeometry().center() : workArea.center());
    if (workArea.isEmpty())
        return rect;
    // Kept inside the work area, its top-left corner first when it is larger.
    if (rect.right() > workArea.right())
        rect.moveRight(workArea.right());
    if (rect.bottom() > workArea.bottom())
        rect.moveBottom(workArea.bottom());
    if (rect.left() < workArea.left())
        rect.moveLeft(workArea.left());
    if (rect.top() < workArea.top())
        rect.moveTop(workArea.top());
    return rect;
}

QMessageBox::StandardButton UserPrompts::ShowMessage(QWidget* owner, const MessageBoxSpec& recipe)
{
    QMessageBox box(recipe.icon, recipe.caption, recipe.text, recipe.buttons, owner);
    box.setDefaultButton(recipe.defaultButton);
    box.adjustSize();
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    box.move(CenteredMessageRect(box.frameGeometry().size(), owner, area).topLeft());
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
