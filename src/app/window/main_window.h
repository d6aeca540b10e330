// The program's window on Linux (Qt 6 Widgets): a view of the window model
// (app/window_model.h). It lays out the controls, draws the model's state,
// forwards the user's actions and gives the model what it needs of the
// desktop (WindowHost): message boxes, dialogs, timers, the run's thread,
// the folder watch. The rules are the model's.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/window_host.h"
#include "app/window_model.h"

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QDialog;
class QFileSystemModel;
class QFileSystemWatcher;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLayout;
class QLineEdit;
class QModelIndex;
class QMessageBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSortFilterProxyModel;
class QTimer;
class QTreeView;

namespace statcrane {

// The modal pieces and the opener the window uses. DesktopDialogs() gives the
// real ones; tests catch them.
struct WindowDialogs {
  std::function<MessageAnswer(Severity severity, const QString& text, MessageButtons buttons)>
      message;
  std::function<bool(const QString& question)> ask;
  // The folder chosen, or "".
  std::function<QString(const QString& title, const QString& start)> choose_folder;
  // The file to save the run report in, or "".
  std::function<QString(const QString& suggested)> choose_report_file;
  // Shows a dialog of the window modally.
  std::function<void(QDialog& dialog)> show_dialog;
  // Shows a workbook in the desktop's spreadsheet application; false when
  // there is none.
  std::function<bool(const QString& path)> open_workbook;
};

// Modal message boxes, the desktop's file dialogs and opener. Needs the
// QApplication.
WindowDialogs DesktopDialogs();

// The message box the window shows: titled "StatCrane", plain text only,
// OK (and "Show Report" for kOkAndShowReport).
std::unique_ptr<QMessageBox> MakeMessageBox(Severity severity, const QString& text,
                                            MessageButtons buttons, QWidget* parent);

class MainWindow : public QWidget, private WindowHost {
  Q_OBJECT

 public:
  explicit MainWindow(WindowSetup setup, WindowDialogs dialogs = DesktopDialogs(),
                      QWidget* parent = nullptr);
  // Stops a run still going and waits for its thread.
  ~MainWindow() override;

  WindowModel& model() { return *model_; }
  // The folder a run would read.
  QString EncyclopediaFolder() const;
  // Shows `folder` as if the user had chosen it; false when it cannot be
  // shown.
  bool ShowFolder(const QString& folder);
  QString OutputFolder() const;
  bool running() const { return model_->state().run != RunPhase::kIdle; }

 signals:
  // A run ended and its messages were shown; the window is ready again.
  void runFinished();
  // The program ends with this exit status (the window closed).
  void programEnded(int status);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // WindowHost.
  void Refresh(unsigned parts) override;
  void RunConcluded() override { emit runFinished(); }
  MessageAnswer Message(Severity severity, const std::string& text,
                        MessageButtons buttons) override;
  bool Ask(const std::string& question) override;
  std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                    const std::filesystem::path& start) override;
  std::optional<std::filesystem::path> ChooseReportFile(
      const std::filesystem::path& suggested) override;
  void ShowRunReport() override;
  bool OpenWorkbook(const std::filesystem::path& workbook) override;
  std::string TimeStamp(std::chrono::system_clock::time_point when) override;
  void WatchFolder(const std::filesystem::path& folder) override;
  void StartTimer(WindowTimer timer, std::chrono::milliseconds delay) override;
  void StopTimer(WindowTimer timer) override;
  std::unique_ptr<BackgroundWork> StartBackground(std::function<void()> work) override;
  void PostToWindow(std::function<void()> task) override;
  void Quit(int status) override { emit programEnded(status); }
  void EndAtOnce(int status) override;

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
  void FitToScreen();

  // Drawing the state.
  void ShowChosenFolder();
  void SelectDrive(const QString& folder);
  void ShowRunState();
  QTimer* Timer(WindowTimer timer) const;
  // The folder of a row of the tree.
  QString FolderAt(const QModelIndex& index) const;

  WindowDialogs dialogs_;
  std::unique_ptr<WindowModel> model_;
  QString shown_folder_;            // the folder the tree shows
  QString pending_scroll_;          // the folder the tree brings into view while it loads
  bool busy_ = false;               // the busy cursor is set
  bool refocus_process_ = false;    // Stop had the focus: Process gets it back
  bool setting_path_text_ = false;  // the path field's text comes from the model

  QTimer* path_pause_timer_ = nullptr;
  QTimer* stop_grace_timer_ = nullptr;
  QFileSystemWatcher* folder_watcher_ = nullptr;

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
  QLabel* started_label_ = nullptr;
  QLineEdit* started_time_ = nullptr;
  QLabel* ended_label_ = nullptr;
  QLineEdit* ended_time_ = nullptr;
  QGroupBox* viewing_group_ = nullptr;
  QRadioButton* view_after_completed_ = nullptr;
  QRadioButton* dont_open_ = nullptr;
  QGroupBox* sheets_group_ = nullptr;
  QRadioButton* players_only_ = nullptr;
  QRadioButton* teams_only_ = nullptr;
  QRadioButton* players_and_teams_ = nullptr;
  QCheckBox* player_index_ = nullptr;
  QCheckBox* leaders_ = nullptr;
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
