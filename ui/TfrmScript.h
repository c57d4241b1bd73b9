#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace quor {

class TfrmGenerator;

// The progress dialog of a script run: the line being carried out, and Next and Cancel. Created
// hidden, once, after the main window; a run shows it and goes on only while it is visible.
// It is a window of its own, so that it stays usable while the main window takes no input.
class TfrmScript : public QDialog {
 public:
  explicit TfrmScript(TfrmGenerator& frmGenerator);

  // Handlers.
  void NextClick();    // cuts the current tone or delay short; the run goes on
  void CancelClick();  // also ends the run after the current line
  void FormHide();     // every hide, whatever hid it, gives the main window its input back

  QLabel* label1() const { return Label1_; }
  QPushButton* cancelButton() const { return Cancel_; }
  QPushButton* nextButton() const { return Next_; }

 protected:
  // Escape, and a close asked for by the window manager, press Cancel.
  void reject() override;
  void hideEvent(QHideEvent* event) override;

 private:
  TfrmGenerator& frmGenerator_;
  QPushButton* Cancel_ = nullptr;
  QPushButton* Next_ = nullptr;
  QLabel* Label1_ = nullptr;
};

}  // namespace quor
