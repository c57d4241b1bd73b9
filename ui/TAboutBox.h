#pragma once
#include <QDialog>

namespace quor {

// The About window: icon, product name, version and an OK button. It is not modal; whoever
// shows it learns of its closing through finished().
class TAboutBox : public QDialog {
 public:
  TAboutBox();
};

}  // namespace quor
