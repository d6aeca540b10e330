// The program's window: the encyclopedia folder (typed, browsed for or
// picked in the drive and folder lists), the viewing and sheet options, the
// progress of a run, where its workbook goes, and what the run found.
//
// A run executes on a worker thread; its progress comes back through the
// RunBridge, so the window keeps answering: "Process" turns into "Stop" while
// a run goes on. An error or a warning is told and the window is ready
// again; it never ends the program itself. The folder of a completed run
// (with its "Player index" choice) and the workbook folder are remembered in
// "data/STATCRANE.txt" (RememberedFolderFile).
#pragma once

#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/processing_run.h"
#include "app/progress_text.h"
#include "app/remembered_folder.h"

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QDialog;
class QFileSystemModel;
class QSortFilterProxyModel;
class QFileSystemWatcher;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLayout;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QThread;
class QTreeView;

namespace statcrane {

class RunBridge;

using RunFunction = std::function<RunResult(const RunOptions&, RunObserver&, RememberedFolder*)>;

// What the window takes from its surroundings. DesktopSetup() gives the real
// ones; tests point every folder into a temporary folder and catch message
// boxes, questions, dialogs and the opening of workbooks.
struct WindowSetup {
  QString program_folder;    // "data/STATCRANE.txt" lives here
  QString config_folder;     // ... or here, when the program folder cannot be written
  QString start_folder;      // the current folder at start, shown on first start
  QString home_folder;       // shown when the remembered folder is gone
  QString documents_folder;  // the workbook folder until the user picks another
  RunFunction run;           // the processing run; RunProcessing when empty
  // Shows a written workbook in the desktop's spreadsheet application.
  std::function<void(const QString& path)> open_workbook;
  // Shows a message box and returns when the user closed it.
  std::function<void(QMessageBox::Icon icon, const QString& text)> message;
  // Asks a yes-or-no question; true for yes.
  std::function<bool(const QString& question)> ask;
  // The folder dialog ("Browse...", "Change..."): the folder chosen, or "".
  std::function<QString(const QString& title, const QString& start)> choose_folder;
  // Where to save the run report: the file chosen, or "".
  std::function<QString(const QString& suggested)> choose_report_file;
  // Shows a dialog of the window modally.
  std::function<void(QDialog& dialog)> show_dialog;
};

// The program's folder, the user's configuration, home and Documents
// folders, the real run, the desktop's opener, modal message boxes and the
// desktop's file dialogs. Needs the QApplication.
WindowSetup DesktopSetup();

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(WindowSetup setup, QWidget* parent = nullptr);
  // Stops a run still going and waits for its thread.
  ~MainWindow() override;

  // The encyclopedia folder a run would read; empty until one was chosen.
  const QString& EncyclopediaFolder() const { return encyclopedia_folder_; }
  // Shows `folder` in the path field and the drive and folder lists as if
  // the user had chosen it. False (and the lists stay) when it is not a
  // readable folder.
  bool ShowFolder(const QString& folder);

  // Where the workbooks of runs go.
  const QString& OutputFolder() const { return output_folder_; }
  // Uses `folder` for later runs and remembers it, when a workbook can be
  // written there; otherwise tells the user why not and returns false.
  bool SetOutputFolder(const QString& folder);

  bool running() const { return worker_ != nullptr; }
  // The report of the last run (empty before the first).
  const RunReport& last_report() const { return last_report_; }

 signals:
  // A run ended and its messages were shown; the window is ready again.
  void runFinished();
  // The program ends with this exit status ("E&XIT" or the window closed).
  void programEnded(int status);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Building the window, one group of controls at a time.
  QLayout* BuildFolderChoice();
  QLayout* BuildTimeStamps();
  QWidget* BuildViewingOptions();
  QWidget* BuildSheetOptions();
  QLayout* BuildProgress();
  QLayout* BuildWorkbookFolder();
  QLayout* BuildButtons();
  void SetTabOrder();
  void ConnectControls();

  // Start-up: the options' defaults, the drives, the remembered folders.
  void RestoreState();

  // The user chose a folder: by the path field, the folder list or a drive.
  void ApplyTypedPath();
  void FolderSelected(const QString& folder);
  void DriveChosen(int index);
  void BrowseForFolder();
  void ChangeOutputFolder();
  // Re-decides "Process" and the hint under the path for the chosen folder.
  void UpdateProcess();
  // Sets the drive list to the volume of `folder` without changing folders.
  void SelectDrive(const QString& folder);

  // "Process" and, during a run, "Stop".
  void ProcessOrStop();
  void StartRun();
  void RunEnded();
  // Tells how the run ended: the status line, and a message box for an
  // error or warnings.
  void ReportOutcome(const RunResult& result, const QString& remember_problem);
  void SetRunning(bool running);
  void ShowProgress();
  void ShowStatus(QMessageBox::Icon icon, const QString& text);
  void ShowRunReport();
  void ShowAbout();

  WindowSetup setup_;
  std::unique_ptr<RememberedFolderFile> remembered_;
  QString encyclopedia_folder_;
  QString output_folder_;
  QString pending_scroll_;  // the folder the list brings into view while it loads
  bool process_allowed_ = false;
  bool closing_ = false;  // the window closes once the run has stopped
  bool stop_asked_ = false;

  QThread* worker_ = nullptr;
  RunBridge* bridge_ = nullptr;
  std::optional<RunResult> result_;  // written by the worker, read once it ended
  std::optional<std::filesystem::path> completed_folder_;  // the run's folder to remember
  QString run_output_;
  bool run_index_ = false;  // the run asked for the index
  ProgressShown progress_;
  RunReport last_report_;
  bool have_report_ = false;

  QLabel* folder_label_ = nullptr;
  QLineEdit* folder_path_ = nullptr;
  QPushButton* browse_button_ = nullptr;
  QLabel* folder_hint_ = nullptr;
  QLabel* drive_label_ = nullptr;
  QComboBox* drive_list_ = nullptr;
  QTreeView* folder_tree_ = nullptr;
  QFileSystemModel* folder_model_ = nullptr;
  // The folder model's folders by name, as the tree shows them.
  QSortFilterProxyModel* folders_by_name_ = nullptr;
  QFileSystemWatcher* folder_watcher_ = nullptr;  // the chosen folder, for encteam.dat
  QLabel* started_label_ = nullptr;
  QLineEdit* started_time_ = nullptr;
  QLabel* ended_label_ = nullptr;
  QLineEdit* ended_time_ = nullptr;
  QGroupBox* viewing_group_ = nullptr;
  QRadioButton* view_while_processing_ = nullptr;
  QRadioButton* view_after_completed_ = nullptr;
  QRadioButton* dont_open_ = nullptr;
  QGroupBox* sheets_group_ = nullptr;
  QRadioButton* players_only_ = nullptr;
  QRadioButton* teams_only_ = nullptr;
  QRadioButton* players_and_teams_ = nullptr;
  QCheckBox* player_index_ = nullptr;
  QLabel* progress_label_ = nullptr;
  QLineEdit* progress_text_ = nullptr;
  QProgressBar* progress_bar_ = nullptr;
  QLabel* status_icon_ = nullptr;
  QLabel* status_text_ = nullptr;
  QLabel* output_folder_label_ = nullptr;
  QLineEdit* output_folder_text_ = nullptr;
  QPushButton* change_output_button_ = nullptr;
  QLabel* saved_label_ = nullptr;
  QLineEdit* saved_workbook_ = nullptr;
  QPushButton* process_button_ = nullptr;
  QPushButton* report_button_ = nullptr;
  QPushButton* about_button_ = nullptr;
  QPushButton* exit_button_ = nullptr;
};

}  // namespace statcrane
