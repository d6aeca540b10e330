// Form1, the program's window: the encyclopedia's drive and folder, the
// viewing and sheet options, the progress of a run, and where its workbook
// goes.
//
// A run executes on a worker thread; its progress comes back through queued
// signals, so the window keeps painting while it takes no input. The folder
// of a completed run is remembered in "data/STATCRANE.txt" (RememberedFolderFile).
#pragma once

#include <QHash>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/processing_run.h"
#include "app/remembered_folder.h"

class QCloseEvent;
class QComboBox;
class QFileSystemModel;
class QFileSystemWatcher;
class QGroupBox;
class QLabel;
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
// boxes and the opening of workbooks.
struct WindowSetup {
  QString program_folder;    // "data/STATCRANE.txt" lives here
  QString config_folder;     // ... or here, when the program folder cannot be written
  QString start_folder;      // the current folder at start, shown on first start
  QString home_folder;       // shown when the remembered folder is gone
  QString documents_folder;  // the output folder until the user picks another
  RunFunction run;           // the processing run; RunProcessing when empty
  // Shows a written workbook in the desktop's spreadsheet application.
  std::function<void(const QString& path)> open_workbook;
  // Shows a message box and returns when the user closed it.
  std::function<void(QMessageBox::Icon icon, const QString& text)> message;
};

// The program's folder, the user's configuration, home and Documents
// folders, the real run, the desktop's opener and modal message boxes.
// Needs the QApplication.
WindowSetup DesktopSetup();

class Form1 : public QWidget {
  Q_OBJECT

 public:
  explicit Form1(WindowSetup setup, QWidget* parent = nullptr);
  // Stops a run still going and waits for its thread.
  ~Form1() override;

  // Set when the remembered-folder file could be neither read nor created;
  // the program reports it and ends.
  const std::optional<StatCraneError>& startup_error() const { return startup_error_; }

  // The folder shown in the folder list; empty until one was shown.
  const QString& EncyclopediaFolder() const { return EncyclopediaFolder_; }
  // Shows `folder` in the drive and folder lists as if the user had chosen
  // it. False (and nothing changes) when it is not a readable folder.
  bool ShowFolder(const QString& folder);

  // Where the workbooks of runs go.
  const QString& OutputFolder() const { return output_folder_; }
  // Uses `folder` for later runs and remembers it beside the remembered
  // folder.
  void SetOutputFolder(const QString& folder);

  bool running() const { return worker_ != nullptr; }
  // The report of the last run (empty before the first).
  const RunReport& last_report() const { return last_report_; }

 signals:
  // A run ended and its messages were shown; the window is idle again
  // unless it ends the program.
  void runFinished();
  // The program ends with this exit status: "E&XIT", the window closed, or
  // a run that failed.
  void programEnded(int status);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void Form_Load();
  void read_path();
  void drv1_Change(int index);
  void dir1_Change(const QString& folder);
  void cmdProcess_Click();
  void cmdExit_Click();
  void cmdOutputFolder_Click();
  void cmdReport_Click();

  // Re-decides "Process": the shown folder holds encteam.dat in any spelling.
  void UpdateProcess();
  // Sets the drive list to the volume of `folder` without changing folders.
  void SelectDrive(const QString& folder);
  void RunEnded();
  // Input controls off during a run; back on afterwards, except the viewing
  // options once they took effect.
  void SetInputEnabled(bool enabled);
  void ViewingTookEffect();
  void ShowPhaseProgress(const QString& phase, qint64 done, qint64 total);

  WindowSetup setup_;
  std::unique_ptr<RememberedFolderFile> remembered_;
  std::optional<StatCraneError> startup_error_;
  QString EncyclopediaFolder_;
  QString output_folder_;
  QHash<QString, QString> drive_folders_;  // volume -> last folder shown on it
  bool process_allowed_ = false;           // the shown folder holds encteam.dat
  bool viewing_fixed_ = false;             // the viewing options took effect
  bool viewing_this_run_ = false;          // ... during the current run
  bool closing_ = false;                   // the window closed during a run
  int exit_status_ = 0;

  QThread* worker_ = nullptr;
  RunBridge* bridge_ = nullptr;
  std::optional<RunResult> result_;  // written by the worker, read once it ended
  QString run_output_;
  RunReport last_report_;
  bool have_report_ = false;

  QLabel* Label1 = nullptr;
  QComboBox* drv1 = nullptr;
  QLabel* Label2 = nullptr;
  QTreeView* dir1 = nullptr;
  QFileSystemModel* dir1_model_ = nullptr;
  QFileSystemWatcher* fle1 = nullptr;  // watches the shown folder for encteam.dat
  QLabel* Label4 = nullptr;
  QLineEdit* txtstarttime = nullptr;
  QLabel* Label5 = nullptr;
  QLineEdit* txtendtime = nullptr;
  QGroupBox* Frame1 = nullptr;
  QRadioButton* opt1 = nullptr;
  QRadioButton* opt2 = nullptr;
  QGroupBox* Frame2 = nullptr;
  QRadioButton* opt3 = nullptr;
  QRadioButton* opt4 = nullptr;
  QRadioButton* opt5 = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* txt1 = nullptr;
  QProgressBar* prgPhase = nullptr;
  QLabel* lblOutputFolder = nullptr;
  QLineEdit* txtOutputFolder = nullptr;
  QPushButton* cmdOutputFolder = nullptr;
  QLabel* lblSavedWorkbook = nullptr;
  QLineEdit* txtSavedWorkbook = nullptr;
  QPushButton* cmdProcess = nullptr;
  QPushButton* cmdReport = nullptr;
  QPushButton* cmdExit = nullptr;
};

}  // namespace statcrane
