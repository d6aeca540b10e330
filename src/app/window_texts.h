// The captions of the window's controls, the same in both windows. '&'
// marks the access key (Alt+letter); "&&" would be a plain '&'.
#pragma once

#include <string_view>

namespace statcrane::window_text {

inline constexpr std::string_view kTitle = "StatCrane";

inline constexpr std::string_view kFolderLabel = "Encyclopedia &Folder";
inline constexpr std::string_view kPathPlaceholder = "Type or paste the folder's path";
inline constexpr std::string_view kBrowse = "&Browse...";
inline constexpr std::string_view kDriveLabel = "Encyclopedia &Drive";

inline constexpr std::string_view kStartedLabel = "Processing Started";
inline constexpr std::string_view kEndedLabel = "Processing Ended";

inline constexpr std::string_view kViewingGroup = "Spreadsheet Viewing";
inline constexpr std::string_view kViewAfterCompleted = "View &After Completed";
inline constexpr std::string_view kDontOpen = "Do&n't open";

inline constexpr std::string_view kSheetsGroup = "Spreadsheets Desired";
inline constexpr std::string_view kPlayersOnly = "P&layers Only";
inline constexpr std::string_view kTeamsOnly = "&Teams Only";
inline constexpr std::string_view kPlayersAndTeams = "Players and Tea&ms";
inline constexpr std::string_view kPlayerIndex = "Player &index";
inline constexpr std::string_view kPlayerIndexTip =
    "A first sheet \"Index\" with a link to every player and team";
inline constexpr std::string_view kLeaders = "L&eaders";
inline constexpr std::string_view kLeadersTip =
    "Sheets of the career, single-season and league leaders (not with Teams Only)";

// The label over the progress text: the first during the player phase (and
// before the first run), the second otherwise.
inline constexpr std::string_view kPlayerProgressLabel = "Player being Processed";
inline constexpr std::string_view kProgressLabel = "Progress";

inline constexpr std::string_view kOutputFolderLabel = "Workbook Folder";
inline constexpr std::string_view kChangeOutputFolder = "&Change...";
inline constexpr std::string_view kSavedLabel = "Workbook Saved";

inline constexpr std::string_view kProcess = "&Process";
inline constexpr std::string_view kStop = "&Stop";
inline constexpr std::string_view kStopping = "Stopping...";
inline constexpr std::string_view kRunReport = "Run &Report";
inline constexpr std::string_view kAbout = "Abo&ut";
inline constexpr std::string_view kExit = "E&xit";

// The Run Report dialog.
inline constexpr std::string_view kReportTitle = "Run Report";
inline constexpr std::string_view kCopy = "&Copy";
inline constexpr std::string_view kSave = "&Save...";
inline constexpr std::string_view kClose = "Close";
// The second button of the box that tells of warnings.
inline constexpr std::string_view kShowReport = "Show &Report";

// Folder dialogs.
inline constexpr std::string_view kChooseEncyclopediaFolder = "Encyclopedia Folder";
inline constexpr std::string_view kChooseOutputFolder = "Workbook Folder";
inline constexpr std::string_view kSaveReportTitle = "Save Run Report";

}  // namespace statcrane::window_text
