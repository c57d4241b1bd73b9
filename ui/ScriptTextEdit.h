#pragma once
#include <QPlainTextEdit>
#include <map>
#include <optional>
#include <vector>

#include "ScriptCheck.h"

namespace quor {

class ScriptHighlighter;

// The text of a tone script with its line numbers in a margin: the numbers a run's status
// ("Line 3: tone") and the check's findings name. A line with findings carries a mark in the
// margin (red for an error, orange for a warning), whose tooltip gives the messages, and is
// underlined in the text; the line a run is playing is shaded.
class ScriptTextEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit ScriptTextEdit(QWidget* parent = nullptr);

  void setFindings(const std::vector<ScriptFinding>& findings);
  // The worst finding of line `line` (from 1), if it has one.
  std::optional<ScriptFinding::Severity> markOf(int line) const;
  // The messages of line `line`, one a line, as its mark's tooltip shows them.
  QString messagesOf(int line) const;
  // Shades line `line` as the one playing; 0 for none.
  void setPlayingLine(int line);
  int playingLine() const { return playingLine_; }
  // Puts the cursor at the start of line `line`.
  void goToLine(int line);

  // The script's lines as a file holds them: a last empty line is the end of the one before.
  std::vector<std::string> scriptLines() const;
  void setScriptLines(const std::vector<std::string>& lines);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Margin;
  int marginWidth() const;
  void paintMargin(QPaintEvent* event);
  void updateMargin(const QRect& rect, int dy);
  void showPlayingLine();

  Margin* margin_;
  ScriptHighlighter* highlighter_;
  std::map<int, std::vector<ScriptFinding>> findings_;
  int playingLine_ = 0;
};

}  // namespace quor
