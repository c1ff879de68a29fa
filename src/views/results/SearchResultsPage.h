#pragma once
// Page 1 of the album view's middle stack: the results banner over the results list.
// UI thread only.

#include <QWidget>

namespace tessary {

class SearchEngine;
class UserPrompts;
class VeSRBannerCtrlBase;
class VeSearchResultsCtrlBase;

class SearchResultsPage : public QWidget {
    Q_OBJECT

public:
    SearchResultsPage(UserPrompts& prompts, SearchEngine& engine, QWidget* parent = nullptr);

    VeSRBannerCtrlBase& Banner() { return *m_banner; }
    VeSearchResultsCtrlBase& Results() { return *m_results; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    VeSRBannerCtrlBase* m_banner;
    VeSearchResultsCtrlBase* m_results;
};

} // namespace tessary
