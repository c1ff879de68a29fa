#pragma once
// Change notifications that controls send to their owners, with the numbers the design gives
// them. A control announces one through its Qt signal `Notify(int code)`; the owner tells the
// sender apart by the signal's sender. UI thread only.

namespace tessary {

// Row lists.
inline constexpr int kNotifySelectionChanged = -50;
inline constexpr int kNotifyHotRowChanged = -60;
inline constexpr int kNotifyCurrentRowChanged = -61;

// Tab strip and page stack.
inline constexpr int kNotifySelChange = -551;   // TCN_SELCHANGE: the page or tab changed
inline constexpr int kNotifySelChanging = -552; // TCN_SELCHANGING: asked before a page change
inline constexpr int kNotifyPageStackCreated = -560;
inline constexpr int kNotifyPageAdded = -561;

} // namespace tessary
