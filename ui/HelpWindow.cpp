#include "HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ProgramDataFolder.h"
#include "ProgramIcon.h"

namespace quor {

HelpWindow::HelpWindow(QString folder) : folder_(std::move(folder)), browser_(new QTextBrowser) {
  setWindowTitle(kTitle);
  setWindowIcon(programIcon());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({folder_});
  // The title names the topic shown, as the task bar and window lists show it.
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] { showDocumentTitle(); });
  resize(620, 560);
}

QString HelpWindow::topicPath(int topic) const {
  return QDir(folder_).filePath(QString("topic%1.html").arg(topic));
}

void HelpWindow::showTopic(int topic) {
  topic_ = topic;
  const QString path = topicPath(topic);
  if (QFileInfo::exists(path)) {
    browser_->setSource(QUrl::fromLocalFile(path));
  } else {
    browser_->setHtml(QString("<title>Help not found</title><h2>Help not found</h2><p>The "
                              "help topic %1 should be in "
                              "<tt>%2</tt>, which does not exist. Reinstall the program to "
                              "get its help back.</p>")
                          .arg(topic)
                          .arg(path.toHtmlEscaped()));
    showDocumentTitle();
  }
  show();
  raise();
  activateWindow();
}

void HelpWindow::showDocumentTitle() {
  const QString title = browser_->documentTitle();
  setWindowTitle(title.isEmpty() ? QString(kTitle) : QString(kTitle) + ": " + title);
}

QString defaultHelpFolder() {
  return programDataFolder("help");
}

}  // namespace quor
