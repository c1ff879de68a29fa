#include "ResultRow.h"

#include "VeSearchResultsCtrlBase.h"

namespace tessary {

ResultRow::ResultRow(VeSearchResultsCtrlBase& list, const SearchResult& result)
    : m_list(list), m_result{result.item, QString(), QString()}
{
}

void ResultRow::DropTexts()
{
    m_result.nameMarkup.clear();
    m_result.detailMarkup.clear();
}

void ResultRow::Draw(QPainter& painter, const QRect& rect, const RowState& state)
{
    m_list.DrawResult(*this, painter, rect, state);
}

} // namespace tessary
