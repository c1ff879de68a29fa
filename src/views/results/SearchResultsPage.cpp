#include "SearchResultsPage.h"

#include "VeSRBannerCtrlBase.h"
#include "VeSearchResultsCtrlBase.h"

namespace tessary {

SearchResultsPage::SearchResultsPage(UserPrompts& prompts, SearchEngine& engine, QWidget* parent)
    : QWidget(parent), m_banner(new VeSRBannerCtrlBase(this)), m_results(new VeSearchResultsCtrlBase(prompts, engine, this))
{
    setObjectName(QStringLiteral("searchResultsPage"));
    m_results->setFrameShape(QFrame::NoFrame);
}

void SearchResultsPage::resizeEvent(QResizeEvent*)
{
    const int bannerHeight = std::min(height(), VeSRBannerCtrlBase::kHeight);
    m_banner->setGeometry(0, 0, width(), bannerHeight);
    m_results->setGeometry(0, bannerHeight, width(), height() - bannerHeight);
}

} // namespace tessary
