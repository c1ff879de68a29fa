// The item list's photo commands: targets, the add question, paste and drop through the
// filter, delete questions, Send to Folder, and the real message box behind the prompts.
#include <QApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "ViewsTestSupport.h"
#include "album/Album.h"
#include "album/PhotoOperations.h"
#include "util/PhotoFormat.h"
#include "views/adding/PhotoCommands.h"

using namespace tessary;
using namespace tessary::test;

namespace {

const QString kAllCollectionsText = QStringLiteral(
    "Adding photos to \"All Collections\" is not allowed.\n\nPlease select a collection and try again.");
const QString kPasteFailedText =
    QStringLiteral("Paste failed: unsupported file type.\n\nSupported file types are BMP, JPEG and PNG.");

std::unique_ptr<QMimeData> FileList(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    data->setUrls(urls);
    return data;
}

void ExpectInformation(const MessageBoxSpec& recipe, const QString& text)
{
    QCOMPARE(recipe.text, text);
    QCOMPARE(recipe.caption, QStringLiteral("Orvanne Tessary"));
    QCOMPARE(recipe.icon, QMessageBox::Information);
    QCOMPARE(recipe.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void ExpectQuestion(const MessageBoxSpec& recipe, const QString& text, const QString& caption)
{
    QCOMPARE(recipe.text, text);
    QCOMPARE(recipe.caption, caption);
    QCOMPARE(recipe.icon, QMessageBox::Question);
    QCOMPARE(recipe.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(recipe.defaultButton, QMessageBox::No);
}

} // namespace

class PhotoCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_album = std::make_unique<Album>(m_dir->filePath(QStringLiteral("Trip")), QStringLiteral("Trip"));
        QVERIFY(QDir().mkpath(m_album->Folder()));
        m_target = m_album->GetCollections().Add(QStringLiteral("Summer"));
        m_prompts = std::make_unique<ScriptedPrompts>();
        PhotoCommands::LastSendFolder().clear();
    }
    void cleanup()
    {
        m_album.reset();
        m_dir.reset();
    }

    void allCollectionsIsRefusedAndNoSelectionDoesNothing()
    {
        PhotoCommands commands(*m_prompts);
        const QString photo = Photo(QStringLiteral("a.jpg"));
        m_prompts->files = {photo};
        Collection& all = m_album->GetCollections().AllCollections();
        const auto files = FileList({photo});
        QWidget owner;
        QVERIFY(commands.AddPhotos(&owner, &all).empty());
        QVERIFY(commands.Paste(&owner, &all, files.get()).empty());
        QVERIFY(commands.Drop(&owner, &all, files.get()).empty());
        QCOMPARE(m_prompts->asked.size(), size_t(3));
        for (const MessageBoxSpec& recipe : m_prompts->asked)
            ExpectInformation(recipe, kAllCollectionsText);
        QCOMPARE(m_prompts->owners[0], &owner);
        QCOMPARE(m_prompts->chooseFilesCalls, 0);
        QCOMPARE(m_prompts->filterCalls, 0);

        QVERIFY(commands.AddPhotos(&owner, nullptr).empty());
        QVERIFY(commands.Paste(&owner, nullptr, files.get()).empty());
        QVERIFY(commands.Drop(&owner, &m_album->GetCollections().AddPlaceholder(), files.get()).empty());
        QCOMPARE(m_prompts->asked.size(), size_t(3));
        QCOMPARE(m_prompts->chooseFilesCalls, 0);
        QCOMPARE(CountItems(), 0);
    }

    void addAsksFromTwentyFilesOn()
    {
        PhotoCommands commands(*m_prompts);
        QStringList nineteen;
        for (int i = 0; i < 19; ++i)
            nineteen << Photo(QStringLiteral("p%1.jpg").arg(i));
        auto added = commands.AddPathList(nullptr, *m_target, nineteen);
        QVERIFY(added.has_value());
        QCOMPARE(added->size(), size_t(19));
        QVERIFY(m_prompts->asked.empty());

        const QStringList twenty = nineteen + QStringList{Photo(QStringLiteral("p19.png"))};
        m_prompts->answers = {QMessageBox::No};
        QVERIFY(!commands.AddPathList(nullptr, *m_target, twenty).has_value());
        QCOMPARE(m_prompts->asked.size(), size_t(1));
        ExpectQuestion(m_prompts->asked[0],
                       QStringLiteral("20 files are to be added. This may take some time. \nAre you sure you want to continue?"),
                       QStringLiteral("Confirm Add Files"));
        QCOMPARE(CountItems(), 19);

        m_prompts->answers = {QMessageBox::Yes};
        added = commands.AddPathList(nullptr, *m_target, twenty);
        QVERIFY(added.has_value());
        QCOMPARE(added->size(), size_t(20));
        QCOMPARE(CountItems(), 39);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void addPhotosTakesTheChosenFilesUnfiltered()
    {
        PhotoCommands commands(*m_prompts);
        const QString a = Photo(QStringLiteral("Beach.JPG"));
        // The same file twice makes two items; what cannot be added is skipped silently.
        m_prompts->files = {a, Photo(QStringLiteral("notes.txt")), a};
        const std::vector<Item*> added = commands.AddPhotos(nullptr, m_target);
        QCOMPARE(m_prompts->chooseFilesCalls, 1);
        QCOMPARE(m_prompts->filterCalls, 0);
        QCOMPARE(added.size(), size_t(2));
        QCOMPARE(added[0]->Name(), QStringLiteral("Beach"));
        QCOMPARE(added[1]->Name(), QStringLiteral("Beach"));
        QVERIFY(added[0]->FirstPhotoPath() != added[1]->FirstPhotoPath());
        QVERIFY(m_prompts->asked.empty());

        m_prompts->files.clear();
        QVERIFY(commands.AddPhotos(nullptr, m_target).empty());
        QCOMPARE(CountItems(), 2);

        const QStringList filters = AddPhotosNameFilters();
        QCOMPARE(filters.size(), 9);
        QCOMPARE(filters.last(), QStringLiteral("All Supported Formats (*.bmp *.dib *.jfif *.jpg *.jpeg *.jpe *.png *.rle "
                                                "*.gif *.tif *.tiff *.webp *.heic *.heif *.hif *.avif)"));
        // Every storable extension is offered by the last filter.
        for (const QString& ext : StorablePhotoExtensions())
            QVERIFY2(filters.last().contains(QStringLiteral("*.") + ext + QLatin1Char(' '))
                         || filters.last().endsWith(QStringLiteral("*.") + ext + QLatin1Char(')')),
                     qPrintable(ext));
        QCOMPARE(filters.first(), QStringLiteral("BMP (*.bmp *.dib *.rle)"));
    }

    void pasteAndDropFilterFoldersAndReportOnlyAFailedPaste()
    {
        PhotoCommands commands(*m_prompts);
        const QString folder = m_dir->filePath(QStringLiteral("drop"));
        for (const char* name : {"a.jpg", "x/b.png", "x/y/c.bmp", "x/y/z/notes.txt", "x/clip.ico"})
            QVERIFY(WriteFile(folder + QLatin1Char('/') + QLatin1String(name)));
        const auto drop = FileList({folder});
        std::vector<Item*> added = commands.Drop(nullptr, m_target, drop.get());
        QCOMPARE(added.size(), size_t(3));
        QCOMPARE(m_prompts->filterCalls, 1);
        QCOMPARE(m_prompts->filtered, QStringList{folder});

        // Only other file types: a paste says so, a drop stays silent.
        const auto others = FileList({folder + QStringLiteral("/x/y/z/notes.txt"), folder + QStringLiteral("/x/clip.ico")});
        QVERIFY(commands.Drop(nullptr, m_target, others.get()).empty());
        QVERIFY(m_prompts->asked.empty());
        QVERIFY(commands.Paste(nullptr, m_target, others.get()).empty());
        QCOMPARE(m_prompts->asked.size(), size_t(1));
        ExpectInformation(m_prompts->asked[0], kPasteFailedText);

        // A paste whose photos cannot be read also failed.
        const auto unreadable = FileList({m_dir->filePath(QStringLiteral("gone.jpg"))});
        QVERIFY(commands.Paste(nullptr, m_target, unreadable.get()).empty());
        QCOMPARE(m_prompts->asked.size(), size_t(2));

        // No file list at all: nothing happens.
        QMimeData text;
        text.setText(QStringLiteral("/some/path.jpg"));
        QVERIFY(commands.Paste(nullptr, m_target, &text).empty());
        QVERIFY(commands.Paste(nullptr, m_target, nullptr).empty());
        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://example.org/a.jpg"))});
        QVERIFY(commands.Drop(nullptr, m_target, &web).empty());
        QCOMPARE(m_prompts->asked.size(), size_t(2));
        QCOMPARE(m_prompts->filterCalls, 4);

        const auto good = FileList({folder + QStringLiteral("/a.jpg")});
        QCOMPARE(commands.Paste(nullptr, m_target, good.get()).size(), size_t(1));
        QCOMPARE(m_prompts->asked.size(), size_t(2));
        QCOMPARE(CountItems(), 4);
    }

    void cancelledPasteAddsNothingAndSaysNothing()
    {
        // 30 real photos; the filter has accepted 11 when the user cancels.
        const QString folder = m_dir->filePath(QStringLiteral("many"));
        QStringList paths;
        for (int i = 0; i < 30; ++i) {
            paths << folder + QStringLiteral("/p%1.jpg").arg(i);
            QVERIFY(WriteFile(paths.last()));
        }
        PausingJob* job = nullptr;
        m_prompts->makeJob = [&](const QStringList& input) {
            auto j = std::make_unique<PausingJob>(input, 10);
            job = j.get();
            return j;
        };
        m_prompts->onDialog = [&](FilterProgressDialog& dialog) {
            auto* poll = new QTimer(&dialog);
            connect(poll, &QTimer::timeout, &dialog, [&dialog, poll, &job] {
                if (!job->paused.IsSet())
                    return;
                poll->stop();
                dialog.reject();
            });
            poll->start(5);
        };
        m_prompts->answers = {QMessageBox::Yes};
        PhotoCommands commands(*m_prompts);
        const auto data = FileList(paths);
        QVERIFY(commands.Paste(nullptr, m_target, data.get()).empty());
        QCOMPARE(m_prompts->asked.size(), size_t(1));
        QCOMPARE(m_prompts->asked[0].text, QStringLiteral("Cancel filtering?"));
        QCOMPARE(CountItems(), 0);
        QVERIFY(!QFileInfo::exists(m_target->Folder()));
    }

    void declinedConfirmationAfterAPasteSaysNothing()
    {
        QStringList paths;
        for (int i = 0; i < 25; ++i)
            paths << Photo(QStringLiteral("q%1.png").arg(i));
        m_prompts->answers = {QMessageBox::No};
        PhotoCommands commands(*m_prompts);
        const auto data = FileList(paths);
        QVERIFY(commands.Paste(nullptr, m_target, data.get()).empty());
        QCOMPARE(m_prompts->asked.size(), size_t(1));
        QCOMPARE(m_prompts->asked[0].caption, QStringLiteral("Confirm Add Files"));
        QCOMPARE(CountItems(), 0);
    }

    void deleteAsksWithTheNameOrTheNumber()
    {
        PhotoCommands commands(*m_prompts);
        const QString photo = Photo(QStringLiteral("Holiday.jpg"));
        const std::vector<Item*> items = *commands.AddPathList(nullptr, *m_target, {photo, photo, photo, photo});
        QVERIFY(!commands.ConfirmDelete(nullptr, {}));
        QVERIFY(m_prompts->asked.empty());

        m_prompts->answers = {QMessageBox::No};
        QVERIFY(!commands.ConfirmDelete(nullptr, {items[0]}));
        ExpectQuestion(m_prompts->asked[0], QStringLiteral("Are you sure you want to delete \"Holiday\"?"),
                       QStringLiteral("Confirm Item Delete"));
        QCOMPARE(CountItems(), 4);
        QVERIFY(QFileInfo::exists(items[0]->FirstPhotoPath()));

        const QStringList folders = {items[1]->Folder(), items[2]->Folder(), items[3]->Folder()};
        m_prompts->answers = {QMessageBox::Yes};
        QVERIFY(commands.ConfirmDelete(nullptr, {items[1], items[2], items[3]}));
        RemoveItems({items[1], items[2], items[3]});
        ExpectQuestion(m_prompts->asked[1], QStringLiteral("Are you sure you want to delete these 3 items?"),
                       QStringLiteral("Confirm Multiple Item Delete"));
        QCOMPARE(CountItems(), 1);
        for (const QString& f : folders)
            QVERIFY2(!QFileInfo::exists(f), qPrintable(f));
        QVERIFY(QFileInfo::exists(items[0]->FirstPhotoPath()));

        // A name with a placeholder in it is shown as it is.
        items[0]->SetName(QStringLiteral("100%1 sure"));
        m_prompts->answers = {QMessageBox::Yes};
        QVERIFY(commands.ConfirmDelete(nullptr, {items[0]}));
        RemoveItems({items[0]});
        QCOMPARE(m_prompts->asked[2].text, QStringLiteral("Are you sure you want to delete \"100%1 sure\"?"));
        QCOMPARE(CountItems(), 0);
    }

    void sendToFolderRemembersTheFolderForTheRun()
    {
        PhotoCommands commands(*m_prompts);
        const std::vector<Item*> items =
            *commands.AddPathList(nullptr, *m_target, {Photo(QStringLiteral("One.jpeg")), Photo(QStringLiteral("../x/Two.png"))});
        QCOMPARE(commands.SendToFolder(nullptr, {}), 0);
        QVERIFY(m_prompts->folderTitles.isEmpty());

        const QString out = m_dir->filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(out));
        m_prompts->folder = out;
        QCOMPARE(commands.SendToFolder(nullptr, {items[0], items[1]}), 2);
        QCOMPARE(m_prompts->folderTitles.last(), QStringLiteral("Please select a folder:"));
        QCOMPARE(m_prompts->folderStarts.last(), QString());
        QVERIFY(QFileInfo::exists(out + QStringLiteral("/One.jpg")));
        QVERIFY(QFileInfo::exists(out + QStringLiteral("/Two.png")));
        QCOMPARE(PhotoCommands::LastSendFolder(), out);

        // Cancel keeps the remembered folder; a folder gone meanwhile is not offered.
        m_prompts->folder.clear();
        QCOMPARE(commands.SendToFolder(nullptr, {items[0]}), 0);
        QCOMPARE(m_prompts->folderStarts.last(), out);
        QCOMPARE(PhotoCommands::LastSendFolder(), out);
        QVERIFY(QDir(out).removeRecursively());
        QCOMPARE(commands.SendToFolder(nullptr, {items[0]}), 0);
        QCOMPARE(m_prompts->folderStarts.last(), QString());
        QVERIFY2(m_prompts->asked.empty(), "copy failures are silent");
    }

    void realMessageBoxShowsTheSpecAndAnswers()
    {
        QWidget owner;
        owner.resize(300, 200);
        owner.show();
        UserPrompts prompts;
        QString seenText;
        QString seenTitle;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        bool noIsDefault = false;
        QWidget* seenParent = nullptr;
        auto answer = [&](QMessageBox::StandardButton press) {
            QTimer::singleShot(0, [&, press] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                seenText = box->text();
                seenTitle = box->windowTitle();
                seenIcon = box->icon();
                seenParent = box->parentWidget();
                noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
                if (press == QMessageBox::NoButton)
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    box->button(press)->click();
            });
        };
        answer(QMessageBox::Yes);
        const MessageBoxSpec recipe = YesNoQuestion(QStringLiteral("Cancel filtering?"), QStringLiteral("Confirm Cancel"));
        QCOMPARE(prompts.ShowMessage(&owner, recipe), QMessageBox::Yes);
        QCOMPARE(seenText, QStringLiteral("Cancel filtering?"));
        QCOMPARE(seenTitle, QStringLiteral("Confirm Cancel"));
        QCOMPARE(seenIcon, QMessageBox::Question);
        QCOMPARE(seenParent, &owner);
        QVERIFY(noIsDefault);
        answer(QMessageBox::NoButton);
        // Escape answers No.
        QCOMPARE(prompts.ShowMessage(&owner, recipe), QMessageBox::No);

        answer(QMessageBox::Ok);
        QCOMPARE(prompts.ShowMessage(&owner, InformationMessage(kPasteFailedText)), QMessageBox::Ok);
        QCOMPARE(seenTitle, QStringLiteral("Orvanne Tessary"));
        QCOMPARE(seenIcon, QMessageBox::Information);
    }

private:
    QString Photo(const QString& name)
    {
        const QString path = m_dir->filePath(QStringLiteral("src/") + name);
        if (!WriteFile(path, name.toUtf8()))
            qWarning("cannot write %s", qPrintable(path));
        return QFileInfo(path).absoluteFilePath();
    }
    int CountItems() const { return m_album->GetCollections().ItemCount(m_album->GetCollections().AllCollections()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Album> m_album;
    Collection* m_target = nullptr;
    std::unique_ptr<ScriptedPrompts> m_prompts;
};

QTEST_MAIN(PhotoCommandsTest)
#include "PhotoCommandsTest.moc"
