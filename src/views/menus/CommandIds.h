#pragma once
// Command ids of the menus, accelerators and buttons. The numbers are the program's command
// ids and travel in CommandEvents (common/CommandEvent.h).

namespace tessary::cmd {

// Main frame.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditFind = 57636;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
inline constexpr int kViewRefresh = 59395;
inline constexpr int kShowOnlineHelp = 32904;
inline constexpr int kTellAFriend = 32908;
inline constexpr int kVisitWebsite = 32914;
inline constexpr int kViewOnlineTutorials = 32928;
inline constexpr int kDonate = 32942;
inline constexpr int kNewInstance = 32945;

// Command bar of the album page.
inline constexpr int kAddPhotos = 32900;
inline constexpr int kHideSearchResults = 32901;
inline constexpr int kCloseAlbum = 32913;
inline constexpr int kDeleteSelectedPhotos = 32933;

// Shared by the lists' context menus.
inline constexpr int kAdd = 32931;
inline constexpr int kDelete = 32930;
inline constexpr int kRename = 32806;
inline constexpr int kMoveToTop = 32815;
inline constexpr int kMoveUp = 32816;
inline constexpr int kMoveDown = 32820;
inline constexpr int kMoveToBottom = 32821;

// Collections pane.
inline constexpr int kCollectionSortAscending = 32818;
inline constexpr int kCollectionSortDescending = 32819;

// Item list.
inline constexpr int kSelectAll = 32793;
inline constexpr int kViewThumbnails = 32797;
inline constexpr int kViewIcons = 32799;
inline constexpr int kViewList = 32801;
inline constexpr int kViewDetails = 32803;
inline constexpr int kItemRefresh = 32915;
inline constexpr int kItemPaste = 32916;
inline constexpr int kItemRename = 32917;
inline constexpr int kArrangeByName = 32918;
inline constexpr int kArrangeByDateAdded = 32923;
inline constexpr int kSelectInverse = 32924;
inline constexpr int kSendToFolder = 32943;

// Tags pane.
inline constexpr int kDeleteAllTags = 32864;
inline constexpr int kTagSortAscending = 32841;
inline constexpr int kTagSortDescending = 32842;
inline constexpr int kEditValue = 32887;
inline constexpr int kClearValue = 32926;
inline constexpr int kClearAllValues = 32888;

// Search results list.
inline constexpr int kAddToCombination = 32935;
inline constexpr int kResultRename = 32936;
inline constexpr int kResultSelectAll = 32937;
inline constexpr int kResultSelectInverse = 32938;

// Search box options.
inline constexpr int kClearSearchHistory = 32950;
inline constexpr int kAutoSuggest = 32951;

// Recent albums list of the Open Album dialog.
inline constexpr int kAlbumListOpen = 32874;
inline constexpr int kAlbumListClear = 32876;
inline constexpr int kAlbumListCopyPath = 32879;

} // namespace tessary::cmd
