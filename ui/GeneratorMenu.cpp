// The main window's menu, its shortcuts and the help topic behind each item.
#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>
#include <QSignalBlocker>

#include "FlashWindowSequence.h"
#include "HelpWindow.h"
#include "ScreensaverRule.h"
#include "TfrmGenerator.h"

namespace quor {

namespace {

constexpr const char* kHelpTopic = "helpTopic";
constexpr int kMainTopic = 1;
constexpr int kAboutTopic = 3;
constexpr int kRunScriptTopic = 4;
constexpr int kFileMenuTopic = 5;

QAction* addItem(QMenu* menu, const char* name, const char* caption, QKeySequence shortcut = {},
                 int topic = 0) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  action->setShortcut(shortcut);
  // An item without a topic of its own shows its menu's topic.
  action->setProperty(kHelpTopic, topic != 0 ? topic : menu->menuAction()->property(kHelpTopic));
  return action;
}

QMenu* addMenu(QMenuBar* bar, const char* name, const char* caption, int topic) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(name);
  menu->menuAction()->setObjectName(name);
  menu->menuAction()->setProperty(kHelpTopic, topic);
  return menu;
}

// Lets a dimmed item be highlighted, so that F1 can tell what it is for.
class MenuStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// A check item inverts its own mark before it reports the choice, while the item's handler is
// the one meant to invert it: the item's own inversion is taken back first.
void onCheckItemChosen(QAction* item, TfrmGenerator* window, const std::function<void()>& handler) {
  QObject::connect(item, &QAction::triggered, window, [item, window, handler](bool checked) {
    {
      const QSignalBlocker quiet(item);
      item->setChecked(!checked);
    }
    window->guarded(handler);
  });
}

}  // namespace

void TfrmGenerator::buildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");

  QMenu* file = addMenu(bar, "File1", "&File", kFileMenuTopic);
  QAction* load = addItem(file, "LoadSweepSettings1", "&Load Tone Settings", Qt::CTRL | Qt::Key_L);
  connect(load, &QAction::triggered, this,
          [this] { guarded([this] { LoadSweepSettings1Click(); }); });
  QAction* save =
      addItem(file, "SaveSweepSettingsAs1", "&Save Tone Settings As...", Qt::CTRL | Qt::Key_S);
  connect(save, &QAction::triggered, this,
          [this] { guarded([this] { SaveSweepSettingsAs1Click(); }); });
  file->addSeparator()->setObjectName("N1");
  QAction* runScript =
      addItem(file, "RunScript1", "&Run Tone Script", Qt::CTRL | Qt::Key_R, kRunScriptTopic);
  runScript->setEnabled(false);  // until the script dialog exists
  connect(runScript, &QAction::triggered, this, [this] { guarded([this] { RunScript1Click(); }); });
  QAction* editor = addItem(file, "OpenScriptEditor1", "Open Script &Editor", Qt::CTRL | Qt::Key_E);
  connect(editor, &QAction::triggered, this,
          [this] { guarded([this] { OpenScriptEditor1Click(); }); });
  file->addSeparator()->setObjectName("N6");
  QAction* exit = addItem(file, "Exit1", "&Exit", Qt::CTRL | Qt::Key_X);
  connect(exit, &QAction::triggered, this, [this] { guarded([this] { Exit1Click(); }); });

  QMenu* tools = addMenu(bar, "Recall1", "&Tools", kMainTopic);
  QAction* slider = addItem(tools, "FreqSlider1", "Show &Frequency Slider", Qt::CTRL | Qt::Key_F);
  slider->setCheckable(true);
  slider->setEnabled(false);  // until the slider window exists
  connect(slider, &QAction::triggered, this, [this] { guarded([this] { FreqSlider1Click(); }); });
  QAction* screensaver = addItem(tools, "DisableScreensaver", "Disable Screensaver when active");
  screensaver->setCheckable(true);
  screensaver->setChecked(true);
  QAction* flash = addItem(tools, "Flashscreenwhenfinished1", "Flash screen when finished");
  flash->setCheckable(true);
  flash->setChecked(true);
  onCheckItemChosen(screensaver, this, [this] { DisableScreensaverClick(*this); });
  onCheckItemChosen(flash, this, [this] { Flashscreenwhenfinished1Click(*this); });
  menuOptions_ = {{MenuOption::FreqSlider1, slider},
                  {MenuOption::DisableScreensaver, screensaver},
                  {MenuOption::Flashscreenwhenfinished1, flash}};
  tools->addSeparator()->setObjectName("N3");
  QAction* onOff = addItem(tools, "OnOff1", "On/Off", Qt::Key_F5);
  connect(onOff, &QAction::triggered, this,
          [this] { guarded([this] { engine_->toneSwitch.OnButtonClick(); }); });

  QMenu* help = addMenu(bar, "About1", "&Help", kMainTopic);
  QAction* mainHelp = addItem(help, "Help1", "&Main Help");
  connect(mainHelp, &QAction::triggered, this, [this] { guarded([this] { Help1Click(); }); });
  QAction* about = addItem(help, "About2", "&About this program...", {}, kAboutTopic);
  about->setEnabled(false);  // until the About window exists
  connect(about, &QAction::triggered, this, [this] { guarded([this] { About1Click(); }); });

  menus_ = {file, tools, help};
  auto* menuStyle = new MenuStyle;
  menuStyle->setParent(this);
  for (QMenu* menu : menus_) {
    menu->setStyle(menuStyle);
    menu->installEventFilter(this);
  }
  bar->installEventFilter(this);
  auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(helpKey, &QShortcut::activated, this,
          [this] { guarded([this] { helpWindow_->showTopic(kMainTopic); }); });
}

int TfrmGenerator::helpTopicOf(const QAction* action) const {
  const int topic = action != nullptr ? action->property(kHelpTopic).toInt() : 0;
  return topic > 0 ? topic : kMainTopic;
}

// F1 on a highlighted menu item opens that item's topic.
bool TfrmGenerator::menuKeyFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) return false;
  const QAction* highlighted = nullptr;
  if (auto* menu = qobject_cast<QMenu*>(watched)) {
    highlighted = menu->activeAction() != nullptr ? menu->activeAction() : menu->menuAction();
    for (QMenu* open : menus_) open->hide();
  } else if (auto* bar = qobject_cast<QMenuBar*>(watched)) {
    highlighted = bar->activeAction();
    if (highlighted == nullptr) return false;
  } else {
    return false;
  }
  const int topic = helpTopicOf(highlighted);
  guarded([this, topic] { helpWindow_->showTopic(topic); });
  return true;
}

// The menu's shortcuts win over the editing keys of every text field of the window, the
// preset name edits included: Ctrl+X exits instead of cutting.
bool TfrmGenerator::menuShortcutOverridesField(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride || qobject_cast<QLineEdit*>(watched) == nullptr)
    return false;
  const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
  for (QMenu* menu : menus_) {
    for (QAction* action : menu->actions()) {
      if (action->isEnabled() && action->shortcut() == pressed) return true;
    }
  }
  return false;
}

}  // namespace quor
