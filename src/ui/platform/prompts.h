#pragma once
// The file dialogs and message boxes, behind one interface that tests answer.

#include <optional>

#include <QSize>
#include <QString>
#include <QStringList>

#include "files/measured_data_file.h"

namespace quorrel {

//! What a file dialog shows: title, filter ("model parameters (*.par)"), initial folder and
//! the extension added to a name typed without one.
struct FileDialogRequest {
  QString title;
  QString filter;
  QString folder;
  QString defaultSuffix;
};

//! The answers to "Save changes to ...?".
enum class SaveChoice { Save, Discard, Cancel };

class Prompts {
 public:
  virtual ~Prompts() = default;
  //! An existing file, or nothing when the dialog is cancelled.
  virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
  //! A file to write; the dialog asks before replacing one. Nothing when cancelled.
  virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
  virtual void information(const QString& text) = 0;
  virtual void error(const QString& text) = 0;
  //! A question with the buttons Abort and Ignore.
  virtual LoadAnswer abortOrIgnore(const QString& text) = 0;
  //! A question with the buttons Yes and No; true for Yes.
  virtual bool confirm(const QString& text) = 0;
  //! The size of a picture to write, starting from `suggested`; nothing when cancelled.
  virtual std::optional<QSize> askPictureSize(QSize suggested) = 0;
  //! A question with the buttons Save, Discard and Cancel.
  virtual SaveChoice askSaveChanges(const QString& text) = 0;
  //! One of `items` (its index), or nothing when the question is cancelled. F1 opens the page
  //! of help `helpContext` while the question is shown.
  virtual std::optional<int> chooseItem(const QString& text, const QStringList& items,
                                        int helpContext) = 0;
};

//! The load questions of a measured data file, asked through the prompts.
class PromptedLoadQuestions : public LoadQuestions {
 public:
  explicit PromptedLoadQuestions(Prompts& prompts) : prompts_(prompts) {}
  LoadAnswer abortOrIgnore(const std::string& message) override {
    return prompts_.abortOrIgnore(QString::fromStdString(message));
  }

 private:
  Prompts& prompts_;
};

}  // namespace quorrel
