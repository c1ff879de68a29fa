#pragma once
// Helpers of the view suites: scripted answers in place of message boxes and choosers, a job
// that pauses itself at a chosen count, and small files on disk.

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStringList>

#include "album/FilterJob.h"
#include "album/PausingFilterJob.h"
#include "views/adding/FilterProgressDialog.h"
#include "views/common/UserPrompts.h"

namespace tessary::test {

inline void RegisterTahoma()
{
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

inline bool WriteFile(const QString& path, const QByteArray& bytes = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Answers every prompt from a script and records what was asked.
class ScriptedPrompts : public UserPrompts {
public:
    QMessageBox::StandardButton ShowMessage(QWidget* owner, const MessageBoxSpec& recipe) override
    {
        asked.push_back(recipe);
        owners.push_back(owner);
        if (onAsk)
            onAsk(recipe);
        if (answers.empty())
            return QMessageBox::No;
        const QMessageBox::StandardButton a = answers.front();
        answers.pop_front();
        return a;
    }
    QStringList ChooseFiles(QWidget*) override
    {
        ++chooseFilesCalls;
        return files;
    }
    QString ChooseFolder(QWidget*, const QString& title, const QString& start) override
    {
        folderTitles << title;
        folderStarts << start;
        return folder;
    }
    QString ChooseAlbumFile(QWidget*) override
    {
        ++chooseAlbumFileCalls;
        return albumFile;
    }
    std::optional<QStringList> FilterPaths(QWidget* owner, const QStringList& paths) override
    {
        filtered << paths;
        ++filterCalls;
        if (!makeJob)
            return UserPrompts::FilterPaths(owner, paths);
        FilterProgressDialog dialog(makeJob(paths), *this, owner);
        if (onDialog)
            onDialog(dialog);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.AcceptedFiles();
    }

    std::vector<MessageBoxSpec> asked;
    std::vector<QWidget*> owners;
    std::deque<QMessageBox::StandardButton> answers;
    std::function<void(const MessageBoxSpec&)> onAsk;
    QStringList files;
    int chooseFilesCalls = 0;
    QString folder;
    QStringList folderTitles;
    QStringList folderStarts;
    QString albumFile;
    int chooseAlbumFileCalls = 0;
    QStringList filtered;
    int filterCalls = 0;
    std::function<std::unique_ptr<FilterJob>(const QStringList&)> makeJob;
    std::function<void(FilterProgressDialog&)> onDialog;
};

} // namespace tessary::test
