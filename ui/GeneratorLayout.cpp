// The main window's widgets: names, kinds, texts, hints, places and spin ranges.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "LedFrame.h"
#include "ProgramIcon.h"
#include "TfrmGenerator.h"
#include "UpDown.h"
#include "WaveFormList.h"
#include "WindowFont.h"
#include "WindowLayout.h"

namespace quor {

namespace {

constexpr const char* kPresetHint = "Recall Stored Sweep Settings (Right-click to Store)";
constexpr const char* kBufferHint =
    "Increase this value if you have problems getting a smooth tone output. Decrease for "
    "faster parameter changes.";

QLabel* addLabel(QWidget* parent, const char* text, int left, int top, const char* name = nullptr) {
  auto* label = new QLabel(text, parent);
  if (name != nullptr) label->setObjectName(name);
  label->move(left, top);
  label->adjustSize();
  return label;
}

QGroupBox* addGroup(QWidget* parent, const char* name, const char* caption, QRect place) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(name);
  group->setGeometry(place);
  return group;
}

}  // namespace

QLineEdit* TfrmGenerator::addEdit(QWidget* parent, Control control, QRect place, const char* hint) {
  auto* field = new QLineEdit(parent);
  field->setGeometry(place);
  if (hint != nullptr) field->setToolTip(hint);
  edits_[control] = field;
  widgets_[control] = field;
  connect(field, &QLineEdit::textEdited, this,
          [this, control] { userEvent(control, ControlEvent::Change); });
  field->installEventFilter(this);
  return field;
}

UpDown* TfrmGenerator::addUpDown(QWidget* parent, Control field, const char* name, int minimum,
                                 int maximum, int step, int position) {
  auto* spin = new UpDown(
      parent, edit(field), {minimum, maximum, step, position},
      [this, field](const std::string& text) { guarded([&] { setText(field, text); }); });
  spin->setObjectName(name);
  return spin;
}

QCheckBox* TfrmGenerator::addCheck(QWidget* parent, Control control, const char* name,
                                   const char* caption, QRect place) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setGeometry(place);
  checks_[control] = box;
  widgets_[control] = box;
  connect(box, &QCheckBox::clicked, this,
          [this, control] { userEvent(control, ControlEvent::Click); });
  return box;
}

QComboBox* TfrmGenerator::addList(QWidget* parent, Control control, const char* name, QRect place,
                                  const char* hint) {
  QComboBox* box = control == Control::WaveForm ? new WaveFormList(parent) : new QComboBox(parent);
  box->setObjectName(name);
  box->setGeometry(place);
  if (hint != nullptr) box->setToolTip(hint);
  lists_[control] = box;
  widgets_[control] = box;
  // Only a user's choice raises the change; a selection set by code raises nothing.
  connect(box, &QComboBox::activated, this,
          [this, control] { userEvent(control, ControlEvent::Change); });
  return box;
}

void TfrmGenerator::buildWindow() {
  setObjectName("frmGenerator");
  setWindowTitle("Quor Generator");
  setWindowIcon(programIcon());
  setFont(windowFont());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  auto* client = new QWidget(this);
  client->setObjectName("ClientArea");
  setCentralWidget(client);

  LED_ = new LedFrame(client);
  LED_->setObjectName("LED");
  OnButton_ = new QPushButton("ON/OFF", client);
  OnButton_->setObjectName("OnButton");
  OnButton_->setGeometry(534, 32, 75, 24);
  OnButton_->setToolTip("ON/OFF Switch");
  OnButton_->setCursor(Qt::PointingHandCursor);
  OnButton_->setDefault(true);
  widgets_[Control::OnButton] = OnButton_;
  connect(OnButton_, &QPushButton::clicked, this,
          [this] { guarded([this] { engine_->toneSwitch.OnButtonClick(); }); });

  buildPresetsGroup(client);
  buildSignalGroup(client);
  buildPulsedGroup(client);
  buildOutputGroup(client);

  // Sits on the top edge of the output settings group, above it.
  auto* help = new QPushButton("?", client);
  help->setObjectName("Button1");
  help->setGeometry(530, 87, 18, 17);
  help->setAutoDefault(true);  // Enter on the focused button presses it, as on the presets
  help->raise();
  connect(help, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });

  // Below the visible client area; only code presses it, so no key may reach it.
  auto* flash = new QPushButton("btnFlash", client);
  flash->setObjectName("btnFlash");
  flash->setGeometry(376, 511, 60, 20);
  flash->setFocusPolicy(Qt::NoFocus);
  connect(flash, &QPushButton::clicked, this, [this] { guarded([this] { btnFlashClick(); }); });

  for (const InitialControl& initial : initialTexts()) {
    edit(initial.control)->setText(initial.text);
  }
  for (Control control : initiallyChecked()) check(control)->setChecked(true);
  buildMenu();
}

void TfrmGenerator::buildPresetsGroup(QWidget* parent) {
  QGroupBox* group = addGroup(parent, "GroupBox1", " Presets ", {16, 8, 445, 58});
  static constexpr const char* kButtonNames[] = {"Mem1", "Mem2", "Memory3", "Memory4"};
  static constexpr const char* kMenuNames[] = {"PopupMenu1", "PopupMenu2", "PopupMenu3",
                                               "PopupMenu4"};
  static constexpr const char* kStoreNames[] = {"Store", "Store2", "Store3", "Store4"};
  static constexpr const char* kRenameNames[] = {"Rename", "Rename1", "Rename2", "Rename3"};
  static constexpr int kLefts[] = {24, 123, 226, 326};
  for (int slot = 1; slot <= kMemorySlots; ++slot) {
    const auto i = static_cast<size_t>(slot - 1);
    auto* button = new QPushButton(QString("Memory %1").arg(slot), group);
    button->setObjectName(kButtonNames[i]);
    button->setGeometry(kLefts[i], 19, 90, 25);
    button->setToolTip(kPresetHint);
    button->setAutoDefault(true);
    memoryButtons_[i] = button;
    connect(button, &QPushButton::clicked, this,
            [this, slot] { guarded([this, slot] { presets_->recall(slot); }); });

    auto* menu = new QMenu(button);
    menu->setObjectName(kMenuNames[i]);
    QAction* store = menu->addAction("Store");
    store->setObjectName(kStoreNames[i]);
    if (slot == 1) store->setToolTip("Store settings in this memory position");
    QAction* rename = menu->addAction("Rename");
    rename->setObjectName(kRenameNames[i]);
    connect(store, &QAction::triggered, this,
            [this, slot] { guarded([this, slot] { presets_->store(slot); }); });
    connect(rename, &QAction::triggered, this,
            [this, slot] { guarded([this, slot] { presets_->BeginRename(slot); }); });
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QPushButton::customContextMenuRequested, this,
            [button, menu](const QPoint& at) { menu->popup(button->mapToGlobal(at)); });

    // The name edit lies on the button's face, so that the button shows around it.
    auto* nameEdit = new QLineEdit(group);
    nameEdit->setObjectName(QString("Mem%1Edit").arg(slot));
    nameEdit->setGeometry(kLefts[i] + 5, 19 + 5, 80, 14);
    nameEdit->setFrame(false);
    QPalette face = nameEdit->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    nameEdit->setPalette(face);
    nameEdit->setTextMargins(0, 0, 0, 0);
    nameEdit->hide();
    nameEdit->setEnabled(false);
    nameEdit->installEventFilter(this);
    nameEdits_[i] = nameEdit;
  }
}

void TfrmGenerator::buildSignalGroup(QWidget* parent) {
  GroupBox4_ = addGroup(parent, "GroupBox4", " Signal Parameters ", {8, 87, 282, 266});
  QGroupBox* group = GroupBox4_;

  SignalType_ = new QTabWidget(group);
  SignalType_->setObjectName("SignalType");
  SignalType_->setGeometry(7, 16, 260, 110);
  auto* constant = new QWidget;
  constant->setObjectName("Constant");
  auto* sweep = new QWidget;
  sweep->setObjectName("Sweep");
  SignalType_->addTab(constant, "Constant Frequency");
  SignalType_->addTab(sweep, "Frequency Sweep");
  // Only a user's change of page asks; a page set by code does not.
  connect(SignalType_->tabBar(), &QTabBar::tabBarClicked, this, [this] {
    bool allowChange = true;
    SignalTypeChanging(SignalType_, allowChange);
  });

  addLabel(constant, "Frequency:", 4, 29);
  addEdit(constant, Control::fEdit, {56, 24, 61, 24}, "Set the Signal Frequency here")
      ->setObjectName("fEdit");
  addUpDown(constant, Control::fEdit, "UpDown2", 1, 22050, 100, 1000);
  addLabel(constant, "Hz", 136, 29);

  addLabel(sweep, "Initial Frequency:", 13, 5);
  addEdit(sweep, Control::fInit, {13, 21, 49, 24}, "Set the Sweep Start Frequency here")
      ->setObjectName("fInit");
  addUpDown(sweep, Control::fInit, "UpDown6", 1, 22050, 100, 100);
  addLabel(sweep, "Hz", 80, 26);
  addLabel(sweep, "Final Frequency:", 126, 5);
  addEdit(sweep, Control::fFinal, {126, 21, 49, 24}, nullptr)->setObjectName("fFinal");
  addUpDown(sweep, Control::fFinal, "UpDown7", 1, 22050, 100, 10000);
  addLabel(sweep, "Hz", 193, 26);
  addCheck(sweep, Control::Logarithmic, "Logarithmic", "Logarithmic Sweep", {12, 57, 157, 19})
      ->setToolTip(
          "Increases the signal frequency logarithmically with time rather than linearly.");

  addLabel(group, "Wave Form", 8, 132);
  QComboBox* waveForm = addList(group, Control::WaveForm, "WaveForm", {8, 147, 121, 22},
                                "Choose the Waveform of the Signal here");
  WaveForm_ = static_cast<WaveFormList*>(waveForm);

  addLabel(group, "Level", 8, 178);
  addEdit(group, Control::Amplitude, {8, 193, 47, 24},
          "Sets the output level of the generated Signal, 100 is maximum, 0 is minimum.")
      ->setObjectName("Amplitude");
  addUpDown(group, Control::Amplitude, "UpDown1", 0, 100, 1, 100)
      ->setToolTip("Change the Amplitude by 1dB");

  addLabel(group, "Period", 86, 178);
  addEdit(group, Control::Duration, {86, 193, 38, 24}, "Tone Duration")->setObjectName("Duration");
  addUpDown(group, Control::Duration, "UpDown5", 1, 120, 1, 3)
      ->setToolTip("Change the Tone Duration in 1 Second Steps");
  addLabel(group, "sec", 143, 198);
  addCheck(group, Control::chkLoop, "chkLoop", "Loop", {176, 195, 91, 20});
  addCheck(group, Control::chkPositiveOffset, "chkPositiveOffset", "Positive offset",
           {11, 226, 142, 15});
}

void TfrmGenerator::buildPulsedGroup(QWidget* parent) {
  GroupBox3_ = addGroup(parent, "GroupBox3", "        Pulsed Signal", {296, 88, 126, 127});
  widgets_[Control::GroupBox3] = GroupBox3_;
  GroupBox3_->installEventFilter(this);
  QGroupBox* group = GroupBox3_;
  // Without a caption, in the group's caption line, where the leading spaces leave room.
  addCheck(group, Control::PulsedOn, "PulsedOn", "", {8, 1, 17, 14})->raise();

  addLabel(group, "Pulses/sec", 11, 20);
  addEdit(group, Control::Pulses, {11, 35, 37, 24},
          "Set the pulses per second you want here. Zero equals no pulses, i.e. continuous "
          "signal.")
      ->setObjectName("Pulses");
  widgets_[Control::PulsesUpDown] = addUpDown(group, Control::Pulses, "PulsesUpDown", 0, 120, 1, 0);
  addLabel(group, "/s", 66, 40);

  addLabel(group, "Duty Cycle", 11, 74);
  addEdit(group, Control::DutyCycle, {11, 89, 39, 24},
          "The Duty Cycle is the ratio between signal and silence in a pulse.")
      ->setObjectName("DutyCycle");
  widgets_[Control::DutyCycleUpDown] =
      addUpDown(group, Control::DutyCycle, "DutyCycleUpDown", 1, 100, 10, 50);
  addLabel(group, "%", 68, 94);
  for (Control control :
       {Control::Pulses, Control::DutyCycle, Control::PulsesUpDown, Control::DutyCycleUpDown}) {
    widget(control)->setEnabled(false);
  }
}

void TfrmGenerator::buildOutputGroup(QWidget* parent) {
  QGroupBox* group = addGroup(parent, "GroupBox2", "Output Settings", {428, 88, 213, 257});
  group->setToolTip("Settings for slow/fast computers.");

  widgets_[Control::Label11] = addLabel(group, "Device (Sound Card)", 8, 22, "Label11");
  addList(group, Control::WaveDevice, "WaveDevice", {8, 37, 173, 24},
          "If you have more than one sound card, select your output device here");
  addLabel(group, "Bandwidth [Hz]", 8, 64);
  addList(group, Control::FSList, "FSList", {8, 79, 109, 24},
          "Decrease this value if you have problems getting a smooth tone output. Decrease "
          "for better signal quality.");
  addLabel(group, "Signal resolution [bit]", 8, 109);
  addList(group, Control::cboSoundQuality, "cboSoundQuality", {8, 124, 69, 24}, nullptr);
  addLabel(group, "Buffer Size", 8, 154);
  addList(group, Control::BufferSizeEdit, "BufferSizeEdit", {8, 169, 84, 24}, kBufferHint);
  addLabel(group, "Signal Buffers", 8, 200);
  addList(group, Control::Buffers, "Buffers", {8, 215, 54, 24}, kBufferHint);

  setItems(Control::FSList, bandwidthItems());
  setItems(Control::cboSoundQuality, resolutionItems());
  setItems(Control::BufferSizeEdit, bufferSizeItems());
  setItems(Control::Buffers, bufferCountItems());

  auto* image = new QLabel(group);
  image->setObjectName("Image1");
  image->setGeometry(121, 192, 42, 40);
  image->setPixmap(programPixmap(64));
  image->setScaledContents(true);
}

}  // namespace quor
