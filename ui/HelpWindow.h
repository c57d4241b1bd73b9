#pragma once
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace quor {

// The program's own help viewer: numbered HTML topics from the program's help folder, shown
// in a browser window that follows the links between them. Its title is "Quor Generator Help"
// followed by the topic's title.
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
  static constexpr const char* kTitle = "Quor Generator Help";
  void showDocumentTitle();

  QString folder_;
  QTextBrowser* browser_;
  int topic_ = 0;
};

// The program's help folder: "help" beside the executable in the build folder, the data
// folder's "help" in an installed copy.
QString defaultHelpFolder();

}  // namespace quor
