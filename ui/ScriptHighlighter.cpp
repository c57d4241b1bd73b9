#include "ScriptHighlighter.h"

#include <QTextDocument>

#include "Conversions.h"
#include "ScriptLine.h"
#include "ToneError.h"

namespace quor {

namespace {

QTextCharFormat coloured(const QColor& colour, bool bold = false, bool italic = false) {
  QTextCharFormat f;
  f.setForeground(colour);
  if (bold) f.setFontWeight(QFont::Bold);
  f.setFontItalic(italic);
  return f;
}

bool isNumber(const QString& field) {
  try {
    IntlStrToFloat(field.toStdString());
    return true;
  } catch (const ToneError&) {
    return false;
  }
}

}  // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void ScriptHighlighter::setMarks(const std::map<int, ScriptFinding::Severity>& marks) {
  std::map<int, ScriptFinding::Severity> changed;
  for (const auto& [line, severity] : marks)
    if (marks_.count(line) == 0 || marks_.at(line) != severity) changed[line] = severity;
  for (const auto& [line, severity] : marks_)
    if (marks.count(line) == 0) changed[line] = severity;
  marks_ = marks;
  for (const auto& [line, severity] : changed) {
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (block.isValid()) rehighlightBlock(block);
  }
}

void ScriptHighlighter::highlightBlock(const QString& text) {
  // The interpreter trims everything at or below the space from both ends of a line.
  qsizetype first = 0, end = text.size();
  while (first < end && text[first].unicode() <= 0x20) ++first;
  while (end > first && text[end - 1].unicode() <= 0x20) --end;

  int field = 1;
  qsizetype start = first;
  for (qsizetype at = first; at <= end; ++at) {
    if (at < end && text[at] != QLatin1Char(' ')) continue;
    const QString piece = text.mid(start, at - start);
    if (field == 1) {
      setFormat(start, at - start,
                isScriptCommand(piece.toStdString()) ? coloured(QColor(0, 0, 160), true)
                                                     : coloured(Qt::red, true));
      if (piece == QLatin1String("rem")) {
        setFormat(at, end - at, coloured(Qt::darkGray, false, true));
        break;
      }
    } else {
      setFormat(start, at - start,
                isNumber(piece) ? coloured(QColor(0, 120, 0)) : coloured(Qt::darkMagenta));
    }
    start = at + 1;
    if (++field > ScriptFields::kCount) {
      setFormat(start, end - start, coloured(Qt::gray, false, true));  // never read
      break;
    }
  }

  // A blank line has no text to underline: the margin shows its mark.
  const auto mark = marks_.find(currentBlock().blockNumber() + 1);
  if (mark == marks_.end()) return;
  const QColor colour =
      mark->second == ScriptFinding::Severity::Error ? QColor(Qt::red) : QColor(230, 140, 0);
  for (qsizetype at = first; at < end; ++at) {
    QTextCharFormat f = this->format(static_cast<int>(at));
    f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    f.setUnderlineColor(colour);
    setFormat(static_cast<int>(at), 1, f);
  }
}

}  // namespace quor
