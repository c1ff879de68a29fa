#pragma once
// The title rule over the search results: the scope's name as "<name> Collection" (or "All
// Collections"), "Search Results" under it in grey, and a one-pixel rule 54 pixels from the
// top whose ends fade in from white. It refers to the scope (not owned); call SetScope(nullptr)
// before the collection goes away. UI thread only.

#include <QWidget>

namespace tessary {

class Collection;

class VeSRBannerCtrlBase : public QWidget {
    Q_OBJECT

public:
    static constexpr int kInset = 13;    // left and right
    static constexpr int kTitleTop = 7;
    static constexpr int kRuleTop = 54;
    static constexpr int kFadeLength = 30;
    static constexpr int kHeight = 58;   // the banner's height in the results page

    explicit VeSRBannerCtrlBase(QWidget* parent = nullptr);

    void SetScope(const Collection* scope);
    const Collection* Scope() const { return m_scope; }

    // The title for a scope: a real collection's name gets " Collection" unless it already
    // ends so (letter case aside); "All Collections" stays; none is "Unknown Collection".
    static QString TitleFor(const Collection* scope);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Collection* m_scope = nullptr;
};

} // namespace tessary
