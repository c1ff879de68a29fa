#pragma once
// What the search box tells its listeners: the box and a set of flags; listeners read the
// text from the box (VeSearchBoxCtrlBase::GetText). Events are only sent while the box has a
// scope. UI thread only; listeners are told synchronously, in the order they were added.

namespace tessary {

class VeSearchBoxCtrlBase;

// Search box event flags.
inline constexpr int kSearchTyped = 1;          // the text changed by typing
inline constexpr int kSearchSetByProgram = 2;   // cleared (Escape, clear button) or scope change
inline constexpr int kSearchCommitted = 4;      // Enter, or the edit lost the focus with text
inline constexpr int kSearchSuggestWanted = 8;  // the user clicked into the box

class SearchBoxListener {
public:
    virtual ~SearchBoxListener() = default;
    virtual void OnSearchBoxEvent(VeSearchBoxCtrlBase& box, int flags) = 0;
};

} // namespace tessary
