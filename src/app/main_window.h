#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <optional>

#include "app/command_dialogs.h"
#include "app/elided_label.h"
#include "app/find_demos_window.h"
#include "app/folder_tree_model.h"
#include "app/list_view.h"
#include "app/properties_window.h"
#include "app/scheme_file_dialog.h"
#include "app/sound_options_window.h"
#include "app/sound_seam.h"
#include "app/tool_tip_switch.h"
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
  ~MainWindow() override;

  QTreeView* folderTree() const { return tree_; }
  ListView* demoList() const { return demoList_; }
  // The filter box above the demo list.
  QLineEdit* filterBox() const { return filterBox_; }
  ListView* playList() const { return playList_; }
  ElidedLabel* statusPanel(int panel) const { return panels_[panel]; }
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
  ElidedLabel* playListName() const { return playListName_; }
  // Another start of the program handed over its command line.
  void ComeToFront();
  // A logout or a kill: the window closes as soon as it can, a listing stopped first.
  void EndOnRequest();
  // A file named on the command line: a play list file loads into the play list, a demo file
  // is read as the play list reads it. Waits while a listing runs.
  void OpenFile(const QString& path);

  // The command surfaces: the tool bar and the three pop-up menus (the main menu is the menu
  // bar's).
  QToolBar* commandBar() const { return commandBar_; }
  QMenu* demoListMenu() const { return demoListMenu_; }
  QMenu* playListMenu() const { return playListMenu_; }
  QMenu* treeMenu() const { return treeMenu_; }
  // The dialogs the commands open; tests answer them in the user's place.
  CommandDialogs dialogs;

  // Playing from the windows: "Play it" of either list, and the play list (then closing the
  // window after a launch that succeeded, when exitAfter).
  void PlayIt(ListKind list);
  void PlayCurrentList(bool exitAfter);
  void AskLoadPlayList();
  void AskSavePlayList();

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

  // The click of a command ("sound\\misc\\menu1.wav" or "menu4.wav"), from the game's
  // pak0.pk3 in the button slot, when button sounds are on.
  void PlayButtonSound(const char* member);
  // "Sound Options", opened or brought to the front.
  void ShowSoundOptions();
  // "Find Demos", opened or brought to the front.
  void ShowFindDemos();
  FindDemosWindow* findDemosWindow() const { return findDemos_; }
  // "Show in Folder" of Find Demos: the row's folder is listed and the row selected; a filter
  // that hides it is cleared.
  void ShowInFolder(const ListRow& row);

 signals:
  // A demo file named on the command line, read; its properties are shown for it.
  void demoFileOpened(const ListRow& row);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The menus, the tool bar and the keys; their check marks, pictures and hints follow the
  // settings through ShowToggles.
  void BuildCommands();
  // The windows' sounds go to the session's sound system.
  void ConnectSounds();
  void BuildMainMenu();
  void BuildCommandBar();
  void BuildListMenu(ListKind list);
  void BuildTreeMenu();
  void ShowToggles();
  void EnableDemoPlayMenu();
  // Without a program to play demos the playback commands stay disabled; the status bar says
  // why.
  void ShowWhyNothingPlays();
  void EnableToolsMenu();
  void EnableListMenu(ListKind list);
  void EnableTreeMenu();
  void EnableCommandBar();
  void Toggle(bool& setting);
  // In read-only mode: says in the status bar what was refused and how to switch the mode off.
  bool RefusedWhileReadOnly(const QString& refused);
  void SetReadOnly(bool readOnly);
  void SetViewStyle(ListKind list, int style);
  void ApplyListStyles(ListKind list);
  void ChooseListColour(ListKind list);
  // A list's background and the colour of its column button.
  void ShowListColour(ListKind list);
  void ChooseTreeColour();
  void ChooseFolderFontColour(bool demoClass);
  void RefreshList(bool reparse);
  void MoveToPlayList();
  void DeleteDemos();
  void RemoveFromPlayList();
  void RenameRow(ListView& view);
  void NewFolder();
  void RemoveFolder();
  void RemoveFolderFromDisk();
  void RenameFolder();
  void AddPathToScan();
  void RescanBranch();
  void CutNonDemoFolders();
  void ExpandAllFolders(bool expand);
  void ShowTree(FolderNode* selected);
  // After a folder was renamed: the tree as it was (expanded nodes, the current folder), with
  // the new names, and the current folder's path; nothing is listed again.
  void ShowRenamedTree();
  void ShowFolderPath(const std::string& path);
  void ShowTip();
  const ListRow* SelectedRow(ListKind list) const;
  void ApplySettings();
  // About two thirds of the screen the window opens on, centred.
  QRect FirstStartFrame() const;
  // The stored size is the frame's, as it is saved: once the frame is known the window's own
  // size is what is left inside it, so a start and an exit give back the size they were given.
  void FitFrame(bool lastChance);
  void StoreSettings();
  void ApplyColumns(ListView& view, const ListSettings& list);
  void FitColumns(ListView& view, const ColumnLayout& layout);
  static void ShowSortIndicator(ListView& view, const ColumnLayout& layout);
  void ShowExpandedNodes();
  void StoreColumns(const ListView& view, ListSettings& list) const;
  void SelectNode(const QModelIndex& index);
  void SortBy(ListView& view, ColumnLayout& layout, int column);
  void TakeDroppedRows(ListView& target, QObject* source, int row);
  // The filter box's text changed: the demo list shows what matches, or the box says why the
  // text does not parse.
  void FilterDemoList(const QString& text);
  // The demo list's count of rows shown of all, while a filter hides some.
  void ShowFilterCount();
  // Demos listed from a parse cache get their players read, a few at a time, while the
  // program waits for the user.
  void StartReadingPlayers();
  void ReadSomePlayers();
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

  ToolTipSwitch toolTips_;
  QToolBar* commandBar_ = nullptr;
  // The entries whose windows come from elsewhere; the tool bar's buttons trigger them.
  QAction* soundOptionsEntry_ = nullptr;
  QAction* controlKeysEntry_ = nullptr;
  QAction* globalParametersEntry_ = nullptr;
  QAction* helpEntry_ = nullptr;
  QMenu* demoListMenu_ = nullptr;
  QMenu* playListMenu_ = nullptr;
  QMenu* treeMenu_ = nullptr;
  // The entries whose check mark, picture, hint or enabled state changes.
  struct Entries {
    QAction* playCurrentList;
    QAction* playCurrentListAndExit;
    QAction* savePlayList;
    QAction* noSplash;
    QAction* noHints;
    QAction* modDemos;
    QAction* showPlayList;
    QAction* timeDemo;
    QAction* loopDemos;
    QAction* readOnly;
    QAction* versionNew;
    QAction* versionOld;
    QAction* restoreNew;
    QAction* restoreOld;
    QAction* autoScroll;
    QAction* treeBigIcons;
    QAction* treeSmallIcons;
    QAction* newFolder;
    QAction* removeFolderFromDisk;
    QAction* renameFolder;
    // The tool bar's own.
    QAction* saveButton;
    QAction* playItButton;
    QAction* playListButton;
    QAction* playListExitButton;
    QAction* readOnlyButton;
    QAction* timeDemoButton;
    QAction* loopButton;
    QAction* playListShownButton;
    QAction* demoColumnsButton;
    QAction* playColumnsButton;
  } entries_{};
  // Per list: its pop-up entries in the order of the enabling rules, and its view styles.
  struct ListEntries {
    QAction* playIt;
    QAction* moveOrRemove;  // "Move to Playlist" or "Remove from Playlist"
    QAction* deleteFiles;
    QAction* rename;
    QAction* editUserData;
    QAction* setWebLocation;
    QAction* clearUserData;
    QAction* selectAll;
    QAction* properties;
    QAction* gridLines;
    QAction* fullRowSelect;
    QAction* highlightItems;
    QAction* viewStyles[4];
  };
  ListEntries listEntries_[2]{};
  Session& session_;
  FolderTreeModel treeModel_;
  QSplitter* splitter_;
  QTreeView* tree_;
  QWidget* demoPane_;
  QLineEdit* filterBox_;
  ListView* demoList_;
  QWidget* playPane_;
  ElidedLabel* playListName_;
  ListView* playList_;
  ElidedLabel* panels_[3];
  QProgressBar* progress_;
  StatusPanels panelTexts_;
  bool listing_ = false;
  bool closeAfterListing_ = false;
  bool selecting_ = false;
  bool fitted_ = false;
  QRect wantedFrame_;
  bool frameFitted_ = false;
  bool playFitted_ = false;
  QPointer<SoundOptionsWindow> soundOptions_;
  QString schemeFolder_;  // the scheme dialogs start in the data folder after their first use
  QPointer<PropertiesWindow> properties_;
  // The music sources of the demo whose properties show; empty while no music is wanted.
  std::vector<ArchiveMember> mapMusic_;
  QPointer<UserDataWindow> userData_;
  QPointer<FindDemosWindow> findDemos_;
  QTimer* playerReading_;
};

}  // namespace rw::app
