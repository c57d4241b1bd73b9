#include "TfrmScript.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "ScriptInterpreter.h"
#include "TfrmGenerator.h"
#include "WindowFont.h"

namespace quor {

namespace {

QPushButton* addButton(QWidget* parent, const char* name, QRect place) {
  auto* button = new QPushButton(name, parent);
  button->setObjectName(name);
  button->setGeometry(place);
  return button;
}

}  // namespace

TfrmScript::TfrmScript(TfrmGenerator& frmGenerator) : frmGenerator_(frmGenerator) {
  setObjectName("frmScript");
  // A fixed border with a caption, but neither a system menu nor a close button.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(false);
  QFont font = windowFont();
  font.setPixelSize(10);
  setFont(font);
  setFixedSize(202, 81);

  Cancel_ = addButton(this, "Cancel", {34, 7, 61, 20});
  Next_ = addButton(this, "Next", {109, 7, 61, 20});
  setTabOrder(Cancel_, Next_);
  Label1_ = new QLabel(this);
  Label1_->setObjectName("Label1");
  Label1_->setGeometry(35, 32, 134, 13);
  Label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  connect(Cancel_, &QPushButton::clicked, this, [this] { CancelClick(); });
  connect(Next_, &QPushButton::clicked, this, [this] { NextClick(); });

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  // The first show of a run then does no first-time work: styling the controls and creating
  // the window in the windowing system happen here, once, while the program starts.
  ensurePolished();
  create();
}

void TfrmScript::NextClick() {
  frmGenerator_.guarded([this] { frmGenerator_.scriptInterpreter().next(); });
}

void TfrmScript::CancelClick() {
  frmGenerator_.guarded([this] { frmGenerator_.scriptInterpreter().cancel(); });
}

void TfrmScript::FormHide() {
  frmGenerator_.setTakesInput(true);
}

void TfrmScript::reject() {
  Cancel_->click();
}

void TfrmScript::hideEvent(QHideEvent* event) {
  // A minimised dialog is still there, and its run goes on.
  if (!event->spontaneous()) FormHide();
  QDialog::hideEvent(event);
}

}  // namespace quor
