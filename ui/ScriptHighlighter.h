#pragma once
#include <QSyntaxHighlighter>
#include <map>

#include "ScriptCheck.h"

namespace quor {

// Colours a tone script as the interpreter reads it: the command word (an unknown one in
// red), its arguments (numbers and other text apart), comment lines, and the text after the
// ninth space that no command sees. A line with a finding is underlined with a wave, red for
// an error and orange for a warning.
class ScriptHighlighter : public QSyntaxHighlighter {
  Q_OBJECT
 public:
  explicit ScriptHighlighter(QTextDocument* document);

  // The worst finding of each line, by line number from 1. Redraws the lines that change.
  void setMarks(const std::map<int, ScriptFinding::Severity>& marks);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  std::map<int, ScriptFinding::Severity> marks_;
};

}  // namespace quor
