#pragma once
// One row of the search results: the found item with its highlighted texts, which are built
// the first time the row is painted and dropped when the item changes. UI thread only.

#include "search/SearchEngine.h"
#include "views/rows/Row.h"

namespace tessary {

class VeSearchResultsCtrlBase;

class ResultRow : public Row {
public:
    ResultRow(VeSearchResultsCtrlBase& list, const SearchResult& result);

    const Item* GetItem() const { return m_result.item; }
    SearchResult& Result() { return m_result; }
    bool HasTexts() const { return !m_result.nameMarkup.isEmpty(); }
    void DropTexts();

    void Draw(QPainter& painter, const QRect& rect, const RowState& state) override;

private:
    VeSearchResultsCtrlBase& m_list;
    SearchResult m_result;
};

} // namespace tessary
