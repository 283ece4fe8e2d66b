// SPDX-License-Identifier: MIT
// The main window TForm1: the plot with the axis, column, file and option
// controls around it. It owns the one PlotState of the process and keeps the
// state that lives in controls (auto boxes, Ys selection, toggles), which the
// reader, the range step and the painter reach through PlotControls.
//
// Every handler that the user can reach runs through Guarded(): an exception
// (a text that is not a number, a list index out of range, a settings file
// that cannot be written) is shown once in the error box and the handler
// stops there.
#pragma once

#include "AxisRanges.h"
#include "Canvas.h"
#include "DataFileFollow.h"
#include "DataFileReader.h"
#include "Dialogs.h"
#include "DirectoryNavigator.h"
#include "FileNameText.h"
#include "FileNames.h"
#include "PlotCursor.h"
#include "PlotState.h"
#include "SettingsRecords.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class HelpViewer;
class PlotView;
class QtTextRenderer;
class LargeViewWindow;
struct FollowWatch;
class Prefetcher;
struct ViewLimits;

// The seven controls of one axis, in the order the handlers address them.
// The X axis has no limit labels (null).
struct AxisControlGroup {
    QLineEdit* Upper = nullptr;
    QLineEdit* Lower = nullptr;
    QLineEdit* Column = nullptr;
    QCheckBox* Auto = nullptr;
    QLabel* UpperLabel = nullptr;
    QLabel* LowerLabel = nullptr;
    QLabel* ColumnLabel = nullptr;
};

class TForm1 : public QWidget, public PlotControls {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 383;
    static constexpr int kClientHeight = 431;
    // The open dialog's filter until the settings give another.
    static constexpr const char* kBuiltInFileDialogFilter =
        "GDWファイル(*.gdw)|*.gdw|データファイル(*.dat)|*.dat|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*";

    // commandLineFile is the first argument as the user gave it (bytes of a
    // file name); empty when there was none. modals answers every modal
    // window; tests pass scripted answers. settingsDirectory holds the global
    // settings file (also the option file); empty means the program's own
    // place (GlobalSettingsPath), and tests pass a temporary directory.
    explicit TForm1(const std::string& commandLineFile = {}, Dialogs modals = Dialogs::Real(),
                    QWidget* parent = nullptr, const std::string& settingsDirectory = {});
    ~TForm1() override;

    PlotState State;
    Dialogs Modals;

    // --- PlotControls ---
    bool AxisAuto(int axis) const override;
    int YsItemIndex() const override;
    bool LinkageYs() const override;
    bool DispName() const override;
    bool CursorOn() const override;

    // Selects item 0..2 of RadioGroup1 (3 or more: item 2; negative: none)
    // and runs ChangeYs.
    void SetYsItemIndex(int item);
    // Hides DeltaX, L_DeltaX, DeltaY1, L_DeltaY1, DeltaY2 and DeltaY3.
    void HideDeltaReadouts();

    // --- Handlers bound to controls (FileOpening.cpp, EditHandlers.cpp, Painting.cpp) ---
    void NewFileINput();
    void FIleNameInput();
    void NumofTracesChange();
    void ChangeColn();
    void SetTopmost();
    void ShowHelp();
    void ShowForm2();
    void PaintGraph();
    void ChangeAxes(LimitTarget target, QLineEdit* edit);
    void ChangeYs();
    void ShowAxisControls(int axis, bool visible);

    // --- Steps shared by every way of opening files (FileOpening.cpp) ---
    struct Resolved {
        bool Found = false;
        std::string Name;
    };
    Resolved ResolveDataFileName(const std::string& name) const;
    // Makes the directory of `name` the browsed one and reads its settings;
    // returns the place the navigator left.
    DirectoryNavigator::Place EnterDirectoryOf(const std::string& name);
    void HideDataControls();
    void ShowDataControls();
    // The one way the window loads a file: the reader, then what it decided
    // about the controls (a re-detected column choice, the difference
    // read-outs hidden with the red cursor).
    LoadResult LoadFile(const std::string& name);
    // Loads one file; a refused load is shown in the error box and leaves the
    // history as it was. Returns whether the file was loaded.
    bool LoadAndReport(const std::string& name);
    // Files picked or dropped together, in the order given: the first regular
    // file's directory is entered, every regular file loaded (the last ends in
    // slot 0), NumofTraces raised from `before` to the number loaded, one
    // paint, and one error box listing `refusals` and every file refused.
    void OpenFilesTogether(const std::vector<std::string>& names, int before, QStringList refusals);
    // Files of at least this many bytes are read on a worker thread, with a
    // progress dialog and Cancel once the read takes a while (tests lower it).
    void SetBackgroundLoadFrom(std::uint64_t bytes) { m_backgroundLoadFrom = bytes; }
    // A load is being read on the worker.
    bool Loading() const { return m_loading; }
    // After each step the neighbours in both directions are read ahead on
    // workers; off until switched on (never in screenshot mode).
    void SetPrefetching(bool on);
    const Prefetcher* Prefetching() const { return m_prefetcher.get(); }
    // Names given as text (command line, hand-over), relative ones taken in
    // dir, opened together as above from the current trace count.
    void OpenNamesTogether(const std::vector<std::string>& names, const std::string& dir);

    // --- Directory navigation (DirectoryNavigation.cpp) ---
    void PrevInDir();
    void NextInDir();
    void ReDrawInDir();
    void NextByWheel();
    void PrevByWheel();

    // --- Cursor read-out (CursorReadout.cpp); x, y are client pixels ---
    void DisplayXY(int x, int y);
    void SetRedCursor(int x, int y);
    void CursorClick();
    void PlotMouseLeft();

    // --- Settings files (SettingsFiles.cpp); dir ends in '/' ---
    // The global file is read while the window is made and written at close;
    // a directory's is read when a file of it is opened (a directory without
    // one only refreshes AutoDet from the option file) and written by
    // SaveSettings.
    void ReadGlobalSettingsFile();
    void ReadDirectorySettingsFile(const std::string& dir);
    void WriteGlobalSettingsFile();
    void WriteDirectorySettingsFile(const std::string& dir);
    void Closure();
    void SaveIniFile();

    // --- Files from the shell (HandOver.cpp, DroppedFiles.cpp) ---
    // A name handed over by a second copy (empty: it was started without one).
    void ReceiveCopyData(const std::string& name);
    // Several names handed over together, opened as a drop opens them.
    void ReceiveCopyDataList(const std::vector<std::string>& names);
    // Whatever one hand-over brought: one name or several.
    void ReceiveHandOver(const std::vector<std::string>& names);
    // The file names of the command line after the first, when there are
    // several: relative ones are taken in the working directory, and all are
    // opened together as a drop opens them.
    void OpenCommandLineFiles(const std::vector<std::string>& names);
    // Dropped URLs in the order the file manager gives them.
    void ReceiveDroppedFiles(const QList<QUrl>& urls);
    // Makes the whole window a drop target for files, its edits included
    // (they would take a file's URL as text). Calling it again does nothing.
    void AcceptDroppedFiles();

    // The window has begun to close: what serves hand-overs stops taking them,
    // since a file handed over now would never be seen.
    Q_SIGNAL void Closing();
    // A load on a worker began (true) or ended (false): hand-overs wait meanwhile.
    Q_SIGNAL void LoadingChanged(bool loading);

    // --- The large view (LargeViewHost.cpp) ---
    // Opens the large view, or brings it to the front; it follows every paint.
    void ShowLargeView();
    LargeViewWindow* LargeView() const { return m_largeView; }
    // It was open when the program last closed.
    bool LargeViewWasOpen() const { return m_largeViewWasOpen; }
    // Takes the large view's limits as typed limits would be taken, but
    // without the round trip through text: X and the shown Ys (all three
    // Ys at Y1's range when Link is on), their Auto boxes cleared, one paint.
    void ApplyViewLimits(const ViewLimits& limits);

    // --- Commands with keys and a context-menu entry (WindowCommands.cpp) ---
    // Home and End: the first and the last file of the listing, loaded as a
    // step loads them (DirectoryNavigation.cpp).
    void FirstInDir();
    void LastInDir();
    // The plot rectangle with its frame, as shown.
    QImage PlotImage() const;
    // Ctrl+C: the plot as an image; Ctrl+Shift+C: the shown read-outs (name,
    // value, difference) and the shown files' names as text; Ctrl+S: the
    // plot as a PNG file (a name without ".png" gets it).
    void CopyPlot();
    QString ReadoutsText() const;
    void CopyReadouts();
    void SavePlot();

    // --- Follow mode (Following.cpp) ---
    // While on, the file in slot 0 and CurrentDir are watched: complete lines
    // appended to the file are added to its trace in place, and a new file of
    // the listing is loaded as a step loads it once it has stopped growing.
    void SetFollowing(bool on);
    bool Following() const;
    void ToggleFollowing();
    // It was on when the program last closed.
    bool FollowWasOn() const { return m_followWasOn; }

    // Wheel rotation in eighths of a degree from anywhere over the window;
    // one NextByWheel/PrevByWheel per 120 units.
    void WheelTurned(int angleDelta);

    // Runs a handler body; an exception is shown in the error box and ends it.
    // Returns false when the body was stopped by an exception.
    bool Guarded(const std::function<void()>& body);

    // The client-area picture that the plot is drawn into.
    const QImage& Picture() const { return m_picture; }
    // Shows the part of the picture given in client pixels (after the cursor
    // cross changed a few lines of it).
    void ShowPictureArea(const QRect& area);
    // Runs DrawGraph into the picture; PaintGraph adds the control updates.
    void DrawGraphIntoPicture();
    // Before the picture is shown: when the screen's device pixel ratio is
    // no longer the picture's, the picture is made again at it and redrawn.
    void FollowDeviceRatio();
    // The canvas over the picture; it keeps its pen, brush and font from one
    // paint to the next.
    RasterCanvas& Canvas() { return *m_canvas; }

    // The browsed directory, its listing and the shown file's place in it.
    const DirectoryNavigator& Navigator() const { return m_navigator; }

    // The open dialog's filter in the program's "text|pattern|..." form.
    const QString& OpenDialogFilter() const { return m_openDialogFilter; }
    HelpViewer* Help() const { return m_help; }

    // Where the settings file of the program lives (directory ending in '/').
    const std::string& ProgramDirectory() const { return m_settingsDirectory; }
    // The global settings file in it, which is also the option file.
    std::string GlobalSettingsFile() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::array<AxisControlGroup, kAxisCount> AxisControls;

    // Controls, named as the program names them (also their object names,
    // by which tests and accessibility tools find them).
    QLabel* Label1 = nullptr;
    QLineEdit* MaskEdit1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SaveSettings = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* NumofTraces = nullptr;
    QLabel* Label13 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    std::array<QRadioButton*, 3> RadioGroup1Items{};
    QPushButton* PrevFile = nullptr;
    QPushButton* ReDraw = nullptr;
    QPushButton* NextFile = nullptr;
    QCheckBox* TopMostToggle = nullptr;
    QCheckBox* DispNameToggle = nullptr;
    QCheckBox* Cursor = nullptr;

    QLineEdit* Y1_upper = nullptr;
    QLineEdit* Y2_upper = nullptr;
    QLineEdit* Y3_upper = nullptr;
    QLabel* L_Y1_upper = nullptr;
    QLabel* L_Y2_upper = nullptr;
    QLabel* L_Y3_upper = nullptr;
    // "LinkageYs" (its object name); PlotControls::LinkageYs() reads it.
    QCheckBox* LinkageYsBox = nullptr;
    QCheckBox* Y1_auto = nullptr;
    QCheckBox* Y2_auto = nullptr;
    QCheckBox* Y3_auto = nullptr;
    QLineEdit* Y1_lower = nullptr;
    QLineEdit* Y2_lower = nullptr;
    QLineEdit* Y3_lower = nullptr;
    QLabel* L_Y1_lower = nullptr;
    QLabel* L_Y2_lower = nullptr;
    QLabel* L_Y3_lower = nullptr;
    QLineEdit* X0_lower = nullptr;
    QCheckBox* X0_auto = nullptr;
    QLineEdit* X0_upper = nullptr;
    QLineEdit* X0column = nullptr;
    QLineEdit* Y1column = nullptr;
    QLineEdit* Y2column = nullptr;
    QLineEdit* Y3column = nullptr;
    QLabel* L_X0column = nullptr;
    QLabel* L_Y1column = nullptr;
    QLabel* L_Y2column = nullptr;
    QLabel* L_Y3column = nullptr;

    // The read-outs, which the cursor part shows and fills.
    ReadoutWidgets m_readouts;

    void CreateControls();
    void PlaceAxisControls();
    void PlaceFileControls();
    void PlaceReadouts();
    void SetTabOrder();
    void ConnectHandlers();
    void ConnectCommandKeys();
    // Loads the file a step of the navigator leads to, as Prev. and Next do.
    void StepInDir(std::string (DirectoryNavigator::*step)());
    // A command from a key or the context menu; one that steps through the
    // directory runs only while Prev./Next can be pressed.
    void RunCommand(void (TForm1::*run)(), bool needsData);
    void RunOptionsDialog();
    void OpenCommandLineFile(const std::string& name);
    // What opening a file changes before the file is read: the data layout,
    // the directory's settings in the state and in the controls, and the
    // browsed place EnterDirectoryOf leaves. A load the user cancels puts it
    // all back, so that Cancel leaves the window as it was before the opening.
    struct OpeningKept {
        bool DataControlsShown = false;
        DirectorySettings Controls;
        std::array<AxisState, kAxisCount> Axes{};
        std::array<std::int32_t, kAxisCount> ColumnMap{};
        bool AutoDet = false;
        bool RedetectColumns = false;
        std::int32_t RedCursorX = kNoCursor, RedCursorY = kNoCursor;
        DirectoryNavigator::Place Place;
    };
    OpeningKept KeepWhatOpeningChanges() const;
    void PutBack(OpeningKept kept);
    // Enters the directory of `name` and loads it as LoadAndReport does; a
    // load the user cancels puts `kept` back, the place left included.
    bool EnterAndLoad(const std::string& name, OpeningKept kept);
    void ReportRefusal(const LoadResult& result, const std::string& name);
    // The directory's settings as the controls hold them, as SaveSettings writes them.
    DirectorySettings DirectorySettingsOfControls() const;
    // One axis's Auto box and limit texts as `settings` hold them; nothing is converted.
    void ShowAxisSettings(const DirectorySettings& settings, std::size_t axis);
    // The toggles, column boxes and colours both settings files hold. A bad
    // column text stops a directory's opening; in the global file it takes
    // its default, so the program still starts.
    enum class BadColumnText {
        StopsTheOpening,
        TakesItsDefault
    };
    void ApplyCommonSettings(const CommonSettings& common, const std::string& path, BadColumnText bad);
    // The picture at the given device pixel ratio, background only, and the
    // canvas over it.
    void MakePicture(double ratio);
    double ScreenRatio() const;
    void ReadLargeViewSettings(const ProfileFile& ini);
    void WriteLargeViewSettings(ProfileFile& ini) const;
    CommonSettings CommonSettingsOfControls() const;
    void ReadFollowSettings(const ProfileFile& ini);
    void WriteFollowSettings(ProfileFile& ini) const;
    void DrawFollowMarker();
    // The reader, on a worker for a large file (BackgroundLoad.cpp); a
    // cancelled read commits nothing.
    LoadResult ReadAndCommit(const std::string& name);
    void PrefetchNeighbours();
    void ScheduleFollowLook();
    // Points the notifications at CurrentDir and the file in slot 0.
    void WatchFollowedFiles();
    // After a load into slot 0: what the load read is kept as the mark
    // appends are read from, and while following the watch moves to it.
    void FollowLoadedFile(const LoadResult& load);
    void TakeLoadMark();
    void LookAtFollowedFiles();
    // Each returns whether it changed what is shown (and painted it).
    bool FollowShownFile();
    bool FollowNewFiles();

    DirectoryNavigator m_navigator{State};
    QImage m_picture;
    std::unique_ptr<QtTextRenderer> m_textRenderer;
    std::unique_ptr<RasterCanvas> m_canvas;
    std::unique_ptr<PlotCursor> m_cursor;
    LargeViewWindow* m_largeView = nullptr;   // top-level, made on first use
    // Where the large view was, as read from the settings: shown again there.
    QRect m_largeViewGeometry;
    bool m_largeViewWasOpen = false;
    bool m_largeViewKnown = false;   // the settings file has its section
    PlotView* m_plotView = nullptr;
    QButtonGroup* m_ysButtons = nullptr;
    HelpViewer* m_help = nullptr;
    QString m_openDialogFilter;
    std::string m_settingsDirectory;
    int m_wheelRemainder = 0;
    std::unique_ptr<FollowWatch> m_follow;   // while follow mode is on
    // What the last load read of the file now in slot 0 (of that table).
    FollowMark m_loadMark;
    const DataTable* m_loadMarkTable = nullptr;
    bool m_followWasOn = false;
    bool m_followUsed = false;
    // About 20 ms of reading on this machine: below it a worker costs more
    // than the freeze it saves.
    std::uint64_t m_backgroundLoadFrom = std::uint64_t(8) << 20;
    bool m_loading = false;
    // The user cancelled a load since this was last cleared.
    bool m_loadCancelled = false;
    std::unique_ptr<Prefetcher> m_prefetcher;
    bool m_steppedBack = false;   // the last step went to the previous file
};

// Why a file cannot be opened, and the line that says so ("reason: name").
const char* RefusalReason(FileKind kind);
QString RefusalLine(const std::string& reason, const QString& item);
// Adds name to files when it is a regular file, else its line to refusals.
void TakeIfRegular(const std::string& name, std::vector<std::string>& files, QStringList& refusals);
