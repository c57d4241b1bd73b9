#pragma once
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace quor {

// The program's own help viewer: numbered HTML topics from a folder beside the executable,
// shown in a browser window that follows the links between them.
class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QString folder);

  // The file of topic n: "topic<n>.html" in the help folder.
  QString topicPath(int topic) const;
  // Shows the window at the topic; a missing topic file is said in the window itself.
  void showTopic(int topic);
  int currentTopic() const { return topic_; }
  QTextBrowser* browser() const { return browser_; }

 private:
  QString folder_;
  QTextBrowser* browser_;
  int topic_ = 0;
};

// The help folder of an installed program: "help" beside the executable.
QString defaultHelpFolder();

}  // namespace quor
