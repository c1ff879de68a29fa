#pragma once
// A shown, active window holding a search box with a scope, a focusable line edit beside it
// and a plain widget that takes no focus; a listener that records every event of the box.

#include <memory>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "album/Album.h"
#include "album/Collections.h"
#include "app/Settings.h"
#include "views/common/SharedFonts.h"
#include "views/search/VeFlyoutWndBase.h"
#include "views/search/VeSearchBoxCtrlBase.h"

namespace tessary::test {

struct Recorder : SearchBoxListener {
    struct Event {
        int flags;
        QString text;
    };
    void OnSearchBoxEvent(VeSearchBoxCtrlBase& box, int flags) override { events.push_back({flags, box.GetText()}); }
    std::vector<int> Flags() const
    {
        std::vector<int> f;
        for (const Event& e : events)
            f.push_back(e.flags);
        return f;
    }
    std::vector<Event> events;
};

// The settings as a fresh start leaves them, with the given history.
inline void ResetSettings(const QStringList& recent = {}, const QStringList& all = {}, bool autoSuggest = true)
{
    Settings& s = Settings::Instance();
    s.autoSuggest = autoSuggest;
    s.mruSearches = recent;
    s.allSearches = all;
}

struct SearchBoxWindow {
    explicit SearchBoxWindow(bool withScope = true)
        : album(QStringLiteral("/nowhere/Trip"), QStringLiteral("Trip"))
    {
        collection = album.GetCollections().Add(QStringLiteral("Beach Days"));
        window.resize(420, 200);
        box = new VeSearchBoxCtrlBase(&window);
        box->setGeometry(20, 10, 300, 22);
        other = new QLineEdit(&window);
        other->setGeometry(20, 60, 200, 22);
        plain = new QWidget(&window);
        plain->setGeometry(20, 100, 200, 60);
        plain->setFocusPolicy(Qt::NoFocus);
        if (withScope)
            box->SetScope(collection);
        box->AddListener(&recorder);
        window.show();
        window.activateWindow();
        ok = QTest::qWaitForWindowActive(&window);
    }
    ~SearchBoxWindow() { box->RemoveListener(&recorder); }

    QPoint TextPoint() const { return QPoint(40, box->height() / 2); }
    // A click into the text area, as the user activates the box.
    void ClickIn() { QTest::mouseClick(box, Qt::LeftButton, {}, TextPoint()); }
    QLineEdit& Edit() { return box->Edit(); }
    VeFlyoutWndBase& Flyout() { return box->Flyout(); }
    void Key(Qt::Key key) { QTest::keyClick(&box->Edit(), key); }

    Album album;
    Collection* collection = nullptr;
    QWidget window;
    VeSearchBoxCtrlBase* box = nullptr;
    QLineEdit* other = nullptr;
    QWidget* plain = nullptr;
    Recorder recorder;
    bool ok = false;
};

} // namespace tessary::test
