#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QSplitter>
#include <QTreeView>
#include <optional>

#include "app/folder_tree_model.h"
#include "app/list_view.h"
#include "app/properties_window.h"
#include "app/scheme_file_dialog.h"
#include "app/sound_seam.h"
#include "app/user_data_window.h"
#include "library/scan_status.h"
#include "library/user_data_editor.h"
#include "model/selection_status.h"
#include "session/session.h"

namespace rw::app {

// The main window: the folder tree, the demo list and the play list side by side, the status
// bar with its three panels and the progress bar of a listing. It shows what the session
// derives and hands the user's actions to it.
class MainWindow : public QMainWindow, private ScanStatus {
  Q_OBJECT

 public:
  explicit MainWindow(Session& session, QWidget* parent = nullptr);

  QTreeView* folderTree() const { return tree_; }
  ListView* demoList() const { return demoList_; }
  ListView* playList() const { return playList_; }
  QLabel* statusPanel(int panel) const { return panels_[panel]; }
  bool listing() const { return listing_; }

  // After the window is shown: selects the remembered folder and lists it.
  void FirstListing();
  // After the first listing, when the settings ask for it; the dialog's check box decides for
  // the next start.
  void ShowTipOfTheDay();
  // "Show Playlist": the play list pane with its name label, and the status panels that follow.
  void SetPlayListVisible(bool visible);
  // Loads a play list file into the play list (shown first when hidden); its name fades in.
  bool LoadPlayList(const QString& path);
  QLabel* playListName() const { return playListName_; }
  // Another start of the program handed over its command line.
  void ComeToFront();

  // The column commands of either list: the chooser, and saving or loading a scheme file.
  void ChooseColumns(ListKind list);
  void SaveColumnScheme(ListKind list);
  void LoadColumnScheme(ListKind list);
  // "Properties..": the properties window for the one selected row of a list, not while busy.
  void ShowProperties(ListKind list);
  // "Edit Userdata..": the user data editor for the one selected row of a list.
  void EditUserData(ListKind list);
  // The properties window for a demo found by its file rather than in a list.
  void OpenPropertiesOfRow(const ListRow& row);
  PropertiesWindow* propertiesWindow() const { return properties_; }
  UserDataWindow* userDataWindow() const { return userData_; }
  // Where the windows ask for map music and taunts; silent while unset.
  SoundSeam sounds;

  // The scheme file dialogs; tests answer them in the user's place.
  SchemeFileDialog askSchemeToSave = AskSchemeToSave;
  SchemeFileDialog askSchemeToOpen = AskSchemeToOpen;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplySettings();
  void StoreSettings();
  void ApplyColumns(ListView& view, const ListSettings& list);
  void FitColumns(ListView& view, const ColumnLayout& layout);
  static void ShowSortIndicator(ListView& view, const ColumnLayout& layout);
  void ShowExpandedNodes();
  void StoreColumns(const ListView& view, ListSettings& list) const;
  void SelectNode(const QModelIndex& index);
  void SortBy(ListView& view, ColumnLayout& layout, int column);
  void TakeDroppedRows(ListView& target, QObject* source, int row);
  void SelectionChanged(ListView& view, const QItemSelection& selected,
                        const QItemSelection& deselected);
  void ShowPanels();
  // The status panels follow the splitter: panel 0 under the tree, panel 1 under the demo list.
  void FitPanels();
  // Drops on the tree: a folder from the file manager, or demo list rows onto a node.
  bool TreeDropEvent(QEvent* event);
  // The pointer over the demo list: the web-link and editor hints, and a click on a link.
  bool DemoListPointerEvent(QEvent* event);
  std::optional<std::string> DroppedFolder(const QMimeData& mime) const;
  ListView& ViewOf(ListKind list) const;
  ListSettings& SettingsOf(ListKind list);
  // A layout the chooser or a scheme gave a list, shown without redrawing in between.
  void ShowColumns(ListView& view, const ListSettings& list);

  void OpenProperties(const ListRow& row, SourceList source);
  void EditUserDataOf(std::optional<RowRef> row, const ListRow& columns);
  // A click on a user-data cell of the demo list: the editor with that value's field focused.
  void EditUserDataAtCell(const QModelIndex& index);
  // Creates the editor when there is none; true when it was made now and is to be placed.
  bool MakeUserDataWindow();
  void ShowSavedNotes(const UserDataEditor::Saved& saved);
  void ChangePlayList(const ListRow& row, PlaylistButton action);

  // The listing's progress, in the status bar.
  void Started() override;
  void ShowParsing(const std::string& text) override;
  void ShowProgress(const ScanProgress& progress) override;
  void MarkFolder(bool holdsDemos) override;
  void ShowSummary(const std::string& text) override;
  void Finished() override;

  Session& session_;
  FolderTreeModel treeModel_;
  QSplitter* splitter_;
  QTreeView* tree_;
  ListView* demoList_;
  QWidget* playPane_;
  QLabel* playListName_;
  ListView* playList_;
  QLabel* panels_[3];
  QProgressBar* progress_;
  StatusPanels panelTexts_;
  bool listing_ = false;
  bool closeAfterListing_ = false;
  bool selecting_ = false;
  bool fitted_ = false;
  bool playFitted_ = false;
  QString schemeFolder_;  // the scheme dialogs start in the data folder after their first use
  QPointer<PropertiesWindow> properties_;
  QPointer<UserDataWindow> userData_;
};

}  // namespace rw::app
