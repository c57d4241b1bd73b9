#include "ScriptTextEdit.h"

#include <QFontDatabase>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>
#include <QToolTip>

#include "ScriptHighlighter.h"

namespace quor {

namespace {

QColor markColour(ScriptFinding::Severity severity) {
  return severity == ScriptFinding::Severity::Error ? QColor(220, 0, 0) : QColor(230, 140, 0);
}

}  // namespace

// The margin beside the text: line numbers, marks and their tooltips.
class ScriptTextEdit::Margin : public QWidget {
 public:
  explicit Margin(ScriptTextEdit* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->marginWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->paintMargin(event); }
  bool event(QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QTextBlock block = editor_->cursorForPosition(QPoint(0, help->pos().y())).block();
    const QString text = editor_->messagesOf(block.blockNumber() + 1);
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }

 private:
  ScriptTextEdit* editor_;
};

ScriptTextEdit::ScriptTextEdit(QWidget* parent)
    : QPlainTextEdit(parent),
      margin_(new Margin(this)),
      highlighter_(new ScriptHighlighter(document())) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  connect(this, &QPlainTextEdit::blockCountChanged, this,
          [this] { setViewportMargins(marginWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, &ScriptTextEdit::updateMargin);
  setViewportMargins(marginWidth(), 0, 0, 0);
}

int ScriptTextEdit::marginWidth() const {
  int digits = 1;
  for (int count = qMax(1, blockCount()); count >= 10; count /= 10) ++digits;
  const int mark = fontMetrics().height();
  return mark + 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void ScriptTextEdit::updateMargin(const QRect& rect, int dy) {
  if (dy != 0) {
    margin_->scroll(0, dy);
  } else {
    margin_->update(0, rect.y(), margin_->width(), rect.height());
  }
}

void ScriptTextEdit::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect inside = contentsRect();
  margin_->setGeometry(QRect(inside.left(), inside.top(), marginWidth(), inside.height()));
}

void ScriptTextEdit::keyPressEvent(QKeyEvent* event) {
  // Shift+Enter would break the line inside its paragraph, which a script file has no way to
  // hold: every line break is a new line.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      event->modifiers() & Qt::ShiftModifier) {
    insertPlainText("\n");
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ScriptTextEdit::paintMargin(QPaintEvent* event) {
  QPainter painter(margin_);
  painter.fillRect(event->rect(), palette().color(QPalette::Window));
  const int size = fontMetrics().height();
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  while (block.isValid() && top <= event->rect().bottom()) {
    const int height = qRound(blockBoundingRect(block).height());
    const int line = block.blockNumber() + 1;
    if (block.isVisible() && top + height >= event->rect().top()) {
      if (const auto mark = markOf(line)) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(markColour(*mark));
        painter.drawEllipse(QRectF(3, top + size * 0.2, size * 0.6, size * 0.6));
      }
      painter.setPen(palette().color(QPalette::PlaceholderText));
      painter.drawText(size, top, margin_->width() - size - 4, size, Qt::AlignRight,
                       QString::number(line));
    }
    block = block.next();
    top += height;
  }
}

void ScriptTextEdit::setFindings(const std::vector<ScriptFinding>& findings) {
  findings_.clear();
  std::map<int, ScriptFinding::Severity> marks;
  for (const ScriptFinding& finding : findings) {
    findings_[finding.line].push_back(finding);
    auto [it, added] = marks.emplace(finding.line, finding.severity);
    if (finding.severity == ScriptFinding::Severity::Error) it->second = finding.severity;
  }
  highlighter_->setMarks(marks);
  margin_->update();
}

std::optional<ScriptFinding::Severity> ScriptTextEdit::markOf(int line) const {
  const auto found = findings_.find(line);
  if (found == findings_.end()) return std::nullopt;
  for (const ScriptFinding& finding : found->second)
    if (finding.severity == ScriptFinding::Severity::Error) return finding.severity;
  return ScriptFinding::Severity::Warning;
}

QString ScriptTextEdit::messagesOf(int line) const {
  QStringList messages;
  const auto found = findings_.find(line);
  if (found != findings_.end()) {
    for (const ScriptFinding& finding : found->second) {
      messages << (finding.severity == ScriptFinding::Severity::Error ? "error: " : "warning: ") +
                      QString::fromStdString(finding.message);
    }
  }
  return messages.join('\n');
}

void ScriptTextEdit::setPlayingLine(int line) {
  playingLine_ = line;
  showPlayingLine();
}

void ScriptTextEdit::showPlayingLine() {
  QList<QTextEdit::ExtraSelection> selections;
  const QTextBlock block = document()->findBlockByNumber(playingLine_ - 1);
  if (playingLine_ > 0 && block.isValid()) {
    QTextEdit::ExtraSelection playing;
    playing.format.setBackground(QColor(200, 235, 200));
    playing.format.setProperty(QTextFormat::FullWidthSelection, true);
    playing.cursor = QTextCursor(block);
    selections << playing;
  }
  setExtraSelections(selections);
}

void ScriptTextEdit::goToLine(int line) {
  const QTextBlock block = document()->findBlockByNumber(line - 1);
  if (!block.isValid()) return;
  setTextCursor(QTextCursor(block));
  ensureCursorVisible();
  setFocus();
}

std::vector<std::string> ScriptTextEdit::scriptLines() const {
  std::vector<std::string> lines;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
    lines.push_back(block.text().toStdString());
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

void ScriptTextEdit::setScriptLines(const std::vector<std::string>& lines) {
  QStringList text;
  for (const std::string& line : lines) text << QString::fromStdString(line);
  setPlainText(text.join('\n') + (lines.empty() ? "" : "\n"));
}

}  // namespace quor
