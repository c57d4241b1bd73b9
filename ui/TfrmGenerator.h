#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FlashWindow.h"
#include "FlashWindowPacing.h"
#include "PresetFaces.h"
#include "Presets.h"
#include "ScreensaverInhibitor.h"
#include "ToneControls.h"
#include "ToneEngine.h"
#include "ToneOutput.h"
#include "WindowInputBlock.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;

namespace quor {

class FileDialogs;
class HelpWindow;
class LedFrame;
class MessagePresenter;
class ScriptInterpreter;
class TAboutBox;
class TfrmFrequencySlider;
class TfrmScript;
class UpDown;
class WaveFormList;
class WindowScriptHost;

// What the main window is built on, given by whoever creates it.
struct GeneratorServices {
  ToneOutput* output = nullptr;  // required; lives as long as the window
  // The output device list as the audio layer forms it: the system's default output first,
  // then the devices; hidden when there is nothing to choose.
  std::vector<std::string> deviceItems;
  bool hideDeviceList = false;
  MessagePresenter* messages = nullptr;  // nullptr: real message boxes
  FileDialogs* dialogs = nullptr;        // nullptr: Qt's file dialogs
  std::vector<std::string> arguments;    // the command line after the program's name
  QString helpFolder;                    // empty: the program's help folder
  QString programFolder;                 // empty: the folder of the running executable
};

// The generator's main window. It is the engine's set of tone controls: program changes
// through ToneControls raise the handlers directly and let their errors reach the caller,
// while everything a user does runs through guarded(), the one place that turns an error
// into the application's error box.
class TfrmGenerator : public QMainWindow, public ToneControls, public PresetFaces {
 public:
  explicit TfrmGenerator(GeneratorServices services);
  ~TfrmGenerator() override;
  using QMainWindow::setEnabled;
  using QMainWindow::setVisible;

  ToneEngine& engine() { return *engine_; }
  Presets& presets() { return *presets_; }

  // Hooks for the parts that arrive later; each does nothing until it is set.
  std::function<void()> onFlashScreen;       // replaces the real screen flash (tests)
  std::function<void()> onHideScriptDialog;  // ends a script run
  std::function<void()> onFormClose;         // after the output has stopped at close

  // While a script runs or the About window is open, the window takes no input, its close
  // button included, but its controls keep their look.
  bool takesInput() const { return !inputBlock_.blocked(); }
  void setTakesInput(bool takes);

  // Runs a handler that a user's action raised; an error ends it and is shown once.
  void guarded(const std::function<void()>& handler);

  // Handlers of the window itself.
  void SignalTypeChanging(QObject* Sender, bool& AllowChange);
  void Button1Click();
  void Help1Click();
  void About1Click();
  void Exit1Click();
  void btnFlashClick();
  void FormActivate();
  // Tone settings files (GeneratorSettingsFiles.cpp).
  void SaveSweepSettingsAs1Click();
  void LoadSweepSettings1Click();
  void LoadSettings(const std::string& Filename);
  // After the output's start and stop notifications: the screensaver stays off exactly while
  // a tone plays with "Disable Screensaver when active" checked.
  void AudioOutputStateChanged();

  // Tone scripts (GeneratorScripts.cpp).
  void RunScript1Click();
  void OpenScriptEditor1Click();
  void Runscript(const std::string& Filename);
  // Runs the script named first on the command line, if it is one; answers whether it did.
  bool runScriptArgument();
  ScriptInterpreter& scriptInterpreter() { return *scriptInterpreter_; }
  TfrmScript* frmScript() const { return frmScript_.get(); }

  HelpWindow& helpWindow() { return *helpWindow_; }
  TAboutBox& aboutBox() { return *aboutBox_; }
  // The windows created after this one, each kept as long as it lives; until a window is
  // attached, the menu item that needs it stays dimmed.
  void attachAboutBox(std::unique_ptr<TAboutBox> aboutBox);
  void attachScriptDialog(std::unique_ptr<TfrmScript> dialog);
  void attachFlashWindow(std::unique_ptr<TfrmFlash> flash);
  TfrmFrequencySlider& attachFrequencySlider(std::unique_ptr<TfrmFrequencySlider> slider);
  TfrmFrequencySlider* frmFrequencySlider() const { return frmFrequencySlider_.get(); }
  void FreqSlider1Click();
  // The help topic that F1 opens for a menu item or a menu: its own, else its menu's, else 1.
  int helpTopicOf(const QAction* action) const;

  // ToneControls
  void setEventSink(ControlEventSink* sink) override { sink_ = sink; }
  std::string text(Control control) const override;
  void setText(Control control, const std::string& text) override;
  bool checked(Control control) const override;
  void setChecked(Control control, bool checked) override;
  int itemIndex(Control control) const override;
  void setItemIndex(Control control, int index) override;
  std::vector<std::string> items(Control control) const override;
  void setItems(Control control, const std::vector<std::string>& items) override;
  SignalPage activePage() const override;
  void setActivePage(SignalPage page) override;
  bool enabled(Control control) const override;
  void setEnabled(Control control, bool enabled) override;
  bool visible(Control control) const override;
  void setVisible(Control control, bool visible) override;
  LedColour led() const override;
  void setLed(LedColour colour) override;
  bool menuChecked(MenuOption option) const override;
  void setMenuChecked(MenuOption option, bool checked) override;
  bool sliderExists() const override { return frmFrequencySlider_ != nullptr; }
  void setSliderPosition(int position) override;
  void setSliderRange(int maximum, const std::string& maximumFrequencyText) override;
  void showMessage(const std::string& text) override;
  void flashScreen() override { btnFlashClick(); }
  void hideScriptDialog() override;

  // PresetFaces
  std::string buttonCaption(int slot) const override;
  void setButtonCaption(int slot, const std::string& caption) override;
  std::string nameEditText(int slot) const override;
  void setNameEditText(int slot, const std::string& text) override;
  bool nameEditOpen(int slot) const override;
  void setNameEditOpen(int slot, bool open) override;
  void focusNameEdit(int slot) override;
  bool onButtonDefault() const override { return onButtonDefault_; }
  void setOnButtonDefault(bool isDefault) override;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building the widgets (GeneratorLayout.cpp, GeneratorMenu.cpp).
  void buildWindow();
  void buildPresetsGroup(QWidget* parent);
  void buildSignalGroup(QWidget* parent);
  void buildPulsedGroup(QWidget* parent);
  void buildOutputGroup(QWidget* parent);
  QLineEdit* addEdit(QWidget* parent, Control control, QRect place, const char* hint);
  UpDown* addUpDown(QWidget* parent, Control field, const char* name, int minimum, int maximum,
                    int step, int position);
  QCheckBox* addCheck(QWidget* parent, Control control, const char* name, const char* caption,
                      QRect place);
  QComboBox* addList(QWidget* parent, Control control, const char* name, QRect place,
                     const char* hint);
  void buildMenu();
  bool menuKeyFilter(QObject* watched, QEvent* event);
  bool menuShortcutOverridesField(QObject* watched, QEvent* event);

  void FormCreate();
  void fillDeviceList();
  void restoreApplicationSettings();
  void loadSettingsFileArgument();

  void raiseEvent(Control control, ControlEvent event);
  void userEvent(Control control, ControlEvent event);
  QLineEdit* edit(Control control) const;
  QCheckBox* check(Control control) const;
  QComboBox* list(Control control) const;
  QWidget* widget(Control control) const;
  int slotOfNameEdit(const QObject* object) const;

  GeneratorServices services_;
  WindowInputBlock inputBlock_{*this};
  std::unique_ptr<MessagePresenter> ownPresenter_;
  MessagePresenter* messages_;
  std::unique_ptr<FileDialogs> ownDialogs_;
  FileDialogs* dialogs_;
  std::unique_ptr<TfrmFlash> frmFlash_;
  EventLoopPacing flashPacing_;
  std::unique_ptr<ScreensaverInhibitor> screensaver_;
  ControlEventSink* sink_ = nullptr;

  std::map<Control, QLineEdit*> edits_;
  std::map<Control, QCheckBox*> checks_;
  std::map<Control, QComboBox*> lists_;
  std::map<Control, QWidget*> widgets_;
  std::map<MenuOption, QAction*> menuOptions_;
  QTabWidget* SignalType_ = nullptr;
  WaveFormList* WaveForm_ = nullptr;
  QGroupBox* GroupBox3_ = nullptr;
  QGroupBox* GroupBox4_ = nullptr;
  LedFrame* LED_ = nullptr;
  QPushButton* OnButton_ = nullptr;
  std::array<QPushButton*, kMemorySlots> memoryButtons_{};
  std::array<QLineEdit*, kMemorySlots> nameEdits_{};
  std::vector<QMenu*> menus_;
  bool onButtonDefault_ = true;

  std::unique_ptr<HelpWindow> helpWindow_;
  std::unique_ptr<TAboutBox> aboutBox_;
  std::unique_ptr<TfrmFrequencySlider> frmFrequencySlider_;
  std::unique_ptr<TfrmScript> frmScript_;
  std::unique_ptr<WindowScriptHost> scriptHost_;
  std::unique_ptr<ScriptInterpreter> scriptInterpreter_;
  std::unique_ptr<ToneEngine> engine_;
  std::unique_ptr<Presets> presets_;
};

}  // namespace quor
