#pragma once
#include <QString>

class QWidget;

namespace quor {

// What a file dialog shows and how it completes a typed name.
struct FileDialogRequest {
  QString title;
  // Descriptions and their patterns, all separated by "|", several patterns of one
  // description by ";": "QVP presets|*.qvp", "QVP Script|*.qvs|All Files|*.*".
  QString filter;
  // Added after a dot to a name typed without an extension: "qvp".
  QString defaultExtension;
};

// The open and save dialogs. Neither asks before replacing a file nor insists that the chosen
// file exists: what happens to the name is the caller's business.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen file's path, or an empty text when the dialog is cancelled.
  virtual QString openFileName(const FileDialogRequest& request) = 0;
  virtual QString saveFileName(const FileDialogRequest& request) = 0;
};

// Qt's file dialogs, modal over a window.
class QtFileDialogs : public FileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
  QString openFileName(const FileDialogRequest& request) override;
  QString saveFileName(const FileDialogRequest& request) override;

 private:
  QString choose(const FileDialogRequest& request, bool save);
  QWidget* parent_;
};

// The filter as Qt writes it: "QVP presets (*.qvp)", descriptions separated by ";;", and
// "*.*", which means every file, as "*".
QString qtNameFilters(const QString& filter);

// The name a dialog answers: the chosen one, with the default extension added when its file
// name has none. A file chosen for opening that exists under that very name is taken as it is.
QString completedFileName(const QString& chosen, const QString& extension, bool opening);

}  // namespace quor
