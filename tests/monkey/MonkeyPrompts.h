#pragma once
// The answers of the random-input run: every message box gets one of its own buttons at
// random, the choosers give a path inside the run's folder or cancel, and every path that
// reaches the program through them (or through its dialogs) is checked to lie inside that
// folder. UI thread only.

#include <memory>
#include <random>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include "app/FrameDialogs.h"
#include "views/common/UserPrompts.h"
#include "views/dialogs/NewAlbumDialog.h"

namespace tessary::test {

// What the prompts saw over a whole run (they live and die with their frames).
struct PromptTally {
    int prompts = 0;
    // Paths outside the run's folder that were offered to the program; must stay empty.
    QStringList outside;
    // Typed album locations outside the run's folder, put back before the dialog could make them.
    int locationsPutBack = 0;
};

inline bool IsInside(const QString& root, const QString& path)
{
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return full.startsWith(QDir::cleanPath(root) + QLatin1Char('/'));
}

class MonkeyPrompts : public UserPrompts {
public:
    MonkeyPrompts(PromptTally& tally, std::mt19937& rng, QString root, QStringList photos, QString albumFile)
        : m_tally(tally), m_rng(rng), m_root(std::move(root)), m_photos(std::move(photos)), m_albumFile(std::move(albumFile))
    {
    }

    QMessageBox::StandardButton ShowMessage(QWidget*, const MessageBoxSpec& recipe) override
    {
        ++m_tally.prompts;
        std::vector<QMessageBox::StandardButton> offered;
        for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1)
            if (recipe.buttons & bit)
                offered.push_back(QMessageBox::StandardButton(bit));
        if (offered.empty())
            return QMessageBox::Ok;
        return offered[Below(int(offered.size()))];
    }
    QStringList ChooseFiles(QWidget*) override
    {
        ++m_tally.prompts;
        QStringList chosen;
        if (Below(2) == 0)
            return chosen;
        for (int n = 1 + Below(3); n > 0; --n)
            chosen << m_photos[Below(int(m_photos.size()))];
        return chosen;
    }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override
    {
        ++m_tally.prompts;
        if (Below(2) == 0)
            return {};
        const QString folder = QDir(m_root).filePath(QStringLiteral("Sent"));
        QDir().mkpath(folder);
        return folder;
    }
    QString ChooseAlbumFile(QWidget*) override
    {
        ++m_tally.prompts;
        return Below(2) == 0 ? QString() : m_albumFile;
    }
    std::optional<QStringList> FilterPaths(QWidget* owner, const QStringList& paths) override
    {
        ++m_tally.prompts;
        for (const QString& path : paths)
            if (!IsInside(m_root, path)) {
                m_tally.outside << path;
                return std::nullopt;
            }
        return UserPrompts::FilterPaths(owner, paths);
    }

private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    PromptTally& m_tally;
    std::mt19937& m_rng;
    const QString m_root;
    const QStringList m_photos;
    const QString m_albumFile;
};

// The frame's real dialogs; what they choose must lie inside the run's folder.
class MonkeyDialogs : public FrameDialogs {
public:
    MonkeyDialogs(PromptTally& tally, QString root) : m_tally(tally), m_root(std::move(root)) {}

    std::optional<NewAlbumChoice> NewAlbum(QWidget* owner, Settings& settings, UserPrompts& prompts) override
    {
        ++m_tally.prompts;
        // The dialog makes the folder typed into its location field when OK is pressed, and
        // random keys can edit that field out of the run's folder: such an edit is put back.
        NewAlbumDialog dialog(settings, prompts, owner);
        if (auto* location = dialog.findChild<QLineEdit*>(QStringLiteral("LocationEdit"))) {
            auto good = std::make_shared<QString>(location->text());
            QObject::connect(location, &QLineEdit::textChanged, &dialog, [this, location, good](const QString& text) {
                if (IsInside(m_root, text.trimmed())) {
                    *good = text;
                } else {
                    ++m_tally.locationsPutBack;
                    location->setText(*good);
                }
            });
        }
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        if (!IsInside(m_root, dialog.Location())) {
            m_tally.outside << dialog.Location();
            return std::nullopt;
        }
        return NewAlbumChoice{dialog.Location(), dialog.Name()};
    }
    std::optional<QString> OpenAlbum(QWidget* owner, QStringList& recentAlbums, UserPrompts& prompts) override
    {
        ++m_tally.prompts;
        auto choice = FrameDialogs::OpenAlbum(owner, recentAlbums, prompts);
        if (choice && !IsInside(m_root, *choice)) {
            m_tally.outside << *choice;
            return std::nullopt;
        }
        return choice;
    }
    void About(QWidget* owner) override
    {
        ++m_tally.prompts;
        FrameDialogs::About(owner);
    }

private:
    PromptTally& m_tally;
    const QString m_root;
};

} // namespace tessary::test
