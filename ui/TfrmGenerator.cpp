#include "TfrmGenerator.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <stdexcept>

#include "AppSettings.h"
#include "ApplicationTitle.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "FieldEvents.h"
#include "FileDialogs.h"
#include "FlashWindowSequence.h"
#include "FrequencyScale.h"
#include "HelpWindow.h"
#include "LedFrame.h"
#include "MessagePresenter.h"
#include "ScriptInterpreter.h"
#include "TAboutBox.h"
#include "TfrmFrequencySlider.h"
#include "TfrmScript.h"
#include "Version.h"
#include "WaveFormList.h"
#include "WaveformPictures.h"
#include "WindowLayout.h"
#include "WindowScriptHost.h"

namespace quor {

namespace {

QStringList toQt(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list << QString::fromStdString(text);
  return list;
}

}  // namespace

TfrmGenerator::TfrmGenerator(GeneratorServices services) : services_(std::move(services)) {
  if (services_.output == nullptr) throw std::invalid_argument("the window needs an output");
  if (services_.messages == nullptr) {
    ownPresenter_ = std::make_unique<MessageBoxPresenter>(this);
    messages_ = ownPresenter_.get();
  } else {
    messages_ = services_.messages;
  }
  if (services_.dialogs == nullptr) ownDialogs_ = std::make_unique<QtFileDialogs>(this);
  dialogs_ = services_.dialogs != nullptr ? services_.dialogs : ownDialogs_.get();
  buildWindow();
  // A window of its own, so that it stays usable while this one takes no input (the About
  // window is open).
  helpWindow_ = std::make_unique<HelpWindow>(services_.helpFolder.isEmpty() ? defaultHelpFolder()
                                                                            : services_.helpFolder);
  screensaver_ = std::make_unique<ScreensaverInhibitor>();
  connect(menuOptions_.at(MenuOption::DisableScreensaver), &QAction::toggled, this,
          [this] { AudioOutputStateChanged(); });
  engine_ = std::make_unique<ToneEngine>(*this, *services_.output);
  presets_ = std::make_unique<Presets>(*this, *this);
  FormCreate();
}

TfrmGenerator::~TfrmGenerator() {
  // The slider window and the script run work on this one's controls, and the engine detaches
  // from the controls while they still exist.
  scriptInterpreter_.reset();
  scriptHost_.reset();
  frmScript_.reset();
  frmFrequencySlider_.reset();
  presets_.reset();
  engine_.reset();
}

void TfrmGenerator::FormCreate() {
  for (const std::string& name : waveformItems()) {
    const QString text = QString::fromStdString(name);
    WaveForm_->addPictureItem(text, waveformPicture(text.toUpper()));
  }
  WaveForm_->view()->setMinimumHeight(WaveFormList::kItemHeight * WaveForm_->count());
  const QRect signalGroup = GroupBox4_->geometry();
  centralWidget()->setFixedSize(652, signalGroup.top() + signalGroup.height() + 20);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
  move(screen()->availableGeometry().center() - rect().center());
  const QRect button = OnButton_->geometry();
  LED_->setGeometry(button.left() - 4, button.top() - 4, button.width() + 8, button.height() + 8);
  setItemIndex(Control::WaveForm, 0);
  setActivePage(SignalPage::Constant);
  fillDeviceList();
  presets_->initialise();
  restoreApplicationSettings();
  OnButton_->setFocus();
  loadSettingsFileArgument();
}

void TfrmGenerator::fillDeviceList() {
  setItems(Control::WaveDevice, services_.deviceItems);
  setItemIndex(Control::WaveDevice, 0);
  services_.output->setWaveDevice(static_cast<uint32_t>(itemIndex(Control::WaveDevice) - 1));
  setVisible(Control::Label11, !services_.hideDeviceList);
  setVisible(Control::WaveDevice, !services_.hideDeviceList);
}

void TfrmGenerator::restoreApplicationSettings() {
  RestoreApplicationSettings(*this);
  engine_->parameters.cboSoundQualityChange();
  engine_->values.SampleRate = engine_->parameters.sampleRateFromBandwidth();
}

void TfrmGenerator::attachAboutBox(std::unique_ptr<TAboutBox> aboutBox) {
  aboutBox_ = std::move(aboutBox);
  connect(aboutBox_.get(), &QDialog::finished, this, [this] { setTakesInput(true); });
  findChild<QAction*>("About2")->setEnabled(true);
}

void TfrmGenerator::attachFlashWindow(std::unique_ptr<TfrmFlash> flash) {
  frmFlash_ = std::move(flash);
}

TfrmFrequencySlider& TfrmGenerator::attachFrequencySlider(
    std::unique_ptr<TfrmFrequencySlider> slider) {
  frmFrequencySlider_ = std::move(slider);
  menuOptions_.at(MenuOption::FreqSlider1)->setEnabled(true);
  return *frmFrequencySlider_;
}

// The item has toggled its check mark on being chosen; the window follows it.
void TfrmGenerator::FreqSlider1Click() {
  if (!menuChecked(MenuOption::FreqSlider1)) {
    frmFrequencySlider_->hide();
    return;
  }
  setActivePage(SignalPage::Constant);
  frmFrequencySlider_->setPositionFromMainWindow(
      SliderPosition(IntlStrToFloat(text(Control::fEdit))));
  frmFrequencySlider_->show();
  frmFrequencySlider_->raise();
  frmFrequencySlider_->activateWindow();
}

void TfrmGenerator::AudioOutputStateChanged() {
  screensaver_->update(services_.output->active(), menuChecked(MenuOption::DisableScreensaver));
}

void TfrmGenerator::guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    messages_->showError(QString::fromStdString(errorBoxText(error.what())));
  }
}

void TfrmGenerator::raiseEvent(Control control, ControlEvent event) {
  if (sink_ != nullptr) sink_->controlEvent(control, event);
}

void TfrmGenerator::userEvent(Control control, ControlEvent event) {
  guarded([&] { raiseEvent(control, event); });
}

// ---- the window's own handlers ----

void TfrmGenerator::SignalTypeChanging(QObject*, bool& AllowChange) {
  // Any page may be chosen at any time; the next apply reads which one is active.
  AllowChange = true;
}

void TfrmGenerator::Button1Click() {
  helpWindow_->showTopic(2);
}

void TfrmGenerator::Help1Click() {
  helpWindow_->showTopic(1);
}

void TfrmGenerator::About1Click() {
  setTakesInput(false);
  aboutBox_->show();
  aboutBox_->raise();
  aboutBox_->activateWindow();
}

void TfrmGenerator::Exit1Click() {
  close();
}

void TfrmGenerator::btnFlashClick() {
  if (onFlashScreen) {
    onFlashScreen();
  } else if (frmFlash_) {
    runScreenFlash(*frmFlash_, flashPacing_);
  }
}

void TfrmGenerator::setTakesInput(bool takes) {
  inputBlock_.setBlocked(!takes);
}

void TfrmGenerator::hideScriptDialog() {
  if (onHideScriptDialog) onHideScriptDialog();
}

void TfrmGenerator::FormActivate() {
  const QString title = QString("Quor Generator ") + kVersion;
  setWindowTitle(title);
  setApplicationTitle(title);
  const bool pulsed = checked(Control::PulsedOn);
  for (Control control :
       {Control::Pulses, Control::DutyCycle, Control::PulsesUpDown, Control::DutyCycleUpDown}) {
    setEnabled(control, pulsed);
  }
}

// ---- events ----

bool TfrmGenerator::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) guarded([this] { FormActivate(); });
  return QMainWindow::event(event);
}

void TfrmGenerator::keyPressEvent(QKeyEvent* event) {
  // Keys that the focused control leaves alone arrive here: Enter presses the default button.
  if (isEnterKey(event) && onButtonDefault_ && OnButton_->isEnabled()) {
    OnButton_->click();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void TfrmGenerator::closeEvent(QCloseEvent* event) {
  guarded([this] { engine_->toneSwitch.stopsignal(); });
  screensaver_->update(false, false);
  // The close goes on whatever happens; a settings file that cannot be written is said once.
  const StoreResult stored = StoreApplicationSettings(*this);
  if (!stored.ok) showMessage(stored.message);
  if (onFormClose) guarded(onFormClose);
  helpWindow_->close();
  if (aboutBox_) aboutBox_->close();
  QMainWindow::closeEvent(event);
}

bool TfrmGenerator::eventFilter(QObject* watched, QEvent* event) {
  if (menuKeyFilter(watched, event)) return true;
  if (menuShortcutOverridesField(watched, event)) return true;

  if (const int slot = slotOfNameEdit(watched); slot != 0) {
    if (isEnterKey(event)) {
      guarded([this, slot] { presets_->CommitRename(slot); });
      return true;
    }
    if (leavesForAnotherControl(event)) {
      guarded([this, slot] { presets_->CommitRename(slot); });
    }
    return false;
  }

  if (watched == GroupBox3_) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      userEvent(Control::GroupBox3, ControlEvent::Click);
    }
    return false;
  }

  for (const auto& [control, field] : edits_) {
    if (field != watched) continue;
    if (leavesForAnotherControl(event)) userEvent(control, ControlEvent::Exit);
    return false;
  }
  return false;
}

int TfrmGenerator::slotOfNameEdit(const QObject* object) const {
  for (int slot = 1; slot <= kMemorySlots; ++slot) {
    if (nameEdits_[static_cast<size_t>(slot - 1)] == object) return slot;
  }
  return 0;
}

// ---- ToneControls ----

QLineEdit* TfrmGenerator::edit(Control control) const {
  const auto found = edits_.find(control);
  if (found == edits_.end()) throw std::logic_error("control has no text field");
  return found->second;
}

QCheckBox* TfrmGenerator::check(Control control) const {
  const auto found = checks_.find(control);
  if (found == checks_.end()) throw std::logic_error("control is no check box");
  return found->second;
}

QComboBox* TfrmGenerator::list(Control control) const {
  const auto found = lists_.find(control);
  if (found == lists_.end()) throw std::logic_error("control is no list");
  return found->second;
}

QWidget* TfrmGenerator::widget(Control control) const {
  const auto found = widgets_.find(control);
  if (found == widgets_.end()) throw std::logic_error("control does not exist");
  return found->second;
}

std::string TfrmGenerator::text(Control control) const {
  if (const auto found = lists_.find(control); found != lists_.end()) {
    return found->second->currentIndex() < 0 ? std::string()
                                             : found->second->currentText().toStdString();
  }
  return edit(control)->text().toStdString();
}

void TfrmGenerator::setText(Control control, const std::string& text) {
  if (lists_.count(control) != 0) return;  // lists take no typed text
  QLineEdit* field = edit(control);
  const QString value = QString::fromStdString(text);
  if (field->text() == value) return;
  field->setText(value);
  raiseEvent(control, ControlEvent::Change);
}

bool TfrmGenerator::checked(Control control) const {
  return check(control)->isChecked();
}

void TfrmGenerator::setChecked(Control control, bool checked) {
  QCheckBox* box = check(control);
  if (box->isChecked() == checked) return;
  box->setChecked(checked);
  raiseEvent(control, ControlEvent::Click);
}

int TfrmGenerator::itemIndex(Control control) const {
  return list(control)->currentIndex();
}

void TfrmGenerator::setItemIndex(Control control, int index) {
  QComboBox* box = list(control);
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

std::vector<std::string> TfrmGenerator::items(Control control) const {
  const QComboBox* box = list(control);
  std::vector<std::string> texts;
  for (int i = 0; i < box->count(); ++i) texts.push_back(box->itemText(i).toStdString());
  return texts;
}

void TfrmGenerator::setItems(Control control, const std::vector<std::string>& items) {
  QComboBox* box = list(control);
  box->clear();
  box->addItems(toQt(items));
  box->setCurrentIndex(-1);
}

SignalPage TfrmGenerator::activePage() const {
  return SignalType_->currentIndex() == 0 ? SignalPage::Constant : SignalPage::Sweep;
}

void TfrmGenerator::setActivePage(SignalPage page) {
  SignalType_->setCurrentIndex(page == SignalPage::Constant ? 0 : 1);
}

bool TfrmGenerator::enabled(Control control) const {
  return widget(control)->isEnabled();
}

void TfrmGenerator::setEnabled(Control control, bool enabled) {
  widget(control)->setEnabled(enabled);
}

bool TfrmGenerator::visible(Control control) const {
  return !widget(control)->isHidden();
}

void TfrmGenerator::setVisible(Control control, bool visible) {
  widget(control)->setVisible(visible);
}

LedColour TfrmGenerator::led() const {
  return LED_->lit() ? LedColour::Lime : LedColour::Red;
}

void TfrmGenerator::setLed(LedColour colour) {
  LED_->setLit(colour == LedColour::Lime);
}

bool TfrmGenerator::menuChecked(MenuOption option) const {
  return menuOptions_.at(option)->isChecked();
}

void TfrmGenerator::setMenuChecked(MenuOption option, bool checked) {
  menuOptions_.at(option)->setChecked(checked);
}

void TfrmGenerator::setSliderPosition(int position) {
  frmFrequencySlider_->setPositionFromMainWindow(position);
}

void TfrmGenerator::setSliderRange(int maximum, const std::string& maximumFrequencyText) {
  frmFrequencySlider_->setMaximumFromMainWindow(maximum, maximumFrequencyText);
}

void TfrmGenerator::showMessage(const std::string& text) {
  messages_->showMessage(QString::fromStdString(text));
}

// ---- PresetFaces ----

std::string TfrmGenerator::buttonCaption(int slot) const {
  return memoryButtons_.at(static_cast<size_t>(slot - 1))->text().toStdString();
}

void TfrmGenerator::setButtonCaption(int slot, const std::string& caption) {
  memoryButtons_.at(static_cast<size_t>(slot - 1))->setText(QString::fromStdString(caption));
}

std::string TfrmGenerator::nameEditText(int slot) const {
  return nameEdits_.at(static_cast<size_t>(slot - 1))->text().toStdString();
}

void TfrmGenerator::setNameEditText(int slot, const std::string& text) {
  nameEdits_.at(static_cast<size_t>(slot - 1))->setText(QString::fromStdString(text));
}

bool TfrmGenerator::nameEditOpen(int slot) const {
  const QLineEdit* nameEdit = nameEdits_.at(static_cast<size_t>(slot - 1));
  return !nameEdit->isHidden() && nameEdit->isEnabled();
}

void TfrmGenerator::setNameEditOpen(int slot, bool open) {
  QLineEdit* nameEdit = nameEdits_.at(static_cast<size_t>(slot - 1));
  // Closing the focused edit would hand the focus on to the next preset button, where the
  // next Enter recalls that preset; the focus goes to ON/OFF, which Enter is meant for.
  if (!open && nameEdit->hasFocus()) OnButton_->setFocus(Qt::OtherFocusReason);
  nameEdit->setEnabled(open);
  nameEdit->setVisible(open);
  if (open) nameEdit->raise();
}

void TfrmGenerator::focusNameEdit(int slot) {
  nameEdits_.at(static_cast<size_t>(slot - 1))->setFocus(Qt::OtherFocusReason);
}

void TfrmGenerator::setOnButtonDefault(bool isDefault) {
  onButtonDefault_ = isDefault;
  OnButton_->setDefault(isDefault);
}

}  // namespace quor
