// The identifiers of the Windows window's controls (GetDlgItem), in tab
// order; the boxes the program fills come last. The window's test driver
// finds the controls by them.
#pragma once

namespace statcrane {

inline constexpr wchar_t kWindowClassName[] = L"StatCraneWindow";

// Sent to the window (by its test driver): how many pixels the text of the
// control whose id is wparam lacks, across (lparam 0) or down (lparam 1);
// zero or less when the text fits.
inline constexpr unsigned kMeasureControl = 0x8000 + 2;  // WM_APP + 2

enum ControlId : int {
  kFolderLabel = 100,
  kFolderPath,
  kBrowse,
  kFolderHint,
  kDriveLabel,
  kDriveList,
  kFolderList,
  kStartedLabel,
  kStartedTime,
  kEndedLabel,
  kEndedTime,
  kViewingGroup,
  kViewAfter,
  kDontOpen,
  kSheetsGroup,
  kPlayersOnly,
  kTeamsOnly,
  kPlayersAndTeams,
  kPlayerIndex,
  kLeaders,
  kProgressLabel,
  kProgressText,
  kProgressBar,
  kStatusText,
  kOutputLabel,
  kOutputFolder,
  kChangeOutput,
  kSavedLabel,
  kSavedWorkbook,
  kButtonStrip,  // the face behind the buttons, over what scrolls under them
  kProcess,
  kRunReport,
  kAbout,
  kExit,
};

}  // namespace statcrane
