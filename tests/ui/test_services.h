#pragma once
// Test doubles for the platform services: scripted dialogs, a recording desktop, a settings
// store in a temporary file, and a main window built on them.

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include <QPrinter>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include "shell/command_line.h"
#include "ui/main/main_window.h"
#include "ui/platform/desktop_services.h"
#include "ui/platform/prompts.h"
#include "ui/platform/qt_settings_store.h"

namespace quorrel::testing {

//! Answers file dialogs and Abort/Ignore questions from queues and records every message.
class ScriptedPrompts : public Prompts {
 public:
  //! Answers to open and save dialogs, in order; an empty name or none left cancels.
  QStringList files;
  std::deque<LoadAnswer> answers;            //!< Ignore when the queue is empty
  std::deque<SaveChoice> saveChoices;        //!< Discard when the queue is empty
  std::deque<bool> confirmations;            //!< yes when the queue is empty
  std::optional<QSize> pictureSize;          //!< the size asked for a picture: the suggested one
  std::deque<std::optional<int>> choices;    //!< the first item when the queue is empty
  std::vector<FileDialogRequest> requests;
  QStringList informations;
  QStringList errors;
  QStringList questions;

  std::optional<QString> openFile(const FileDialogRequest& request) override {
    return nextFile(request);
  }
  std::optional<QString> saveFile(const FileDialogRequest& request) override {
    return nextFile(request);
  }
  void information(const QString& text) override { informations << text; }
  void error(const QString& text) override { errors << text; }
  SaveChoice askSaveChanges(const QString& text) override {
    questions << text;
    if (saveChoices.empty()) return SaveChoice::Discard;
    const SaveChoice choice = saveChoices.front();
    saveChoices.pop_front();
    return choice;
  }
  bool confirm(const QString& text) override {
    questions << text;
    if (confirmations.empty()) return true;
    const bool yes = confirmations.front();
    confirmations.pop_front();
    return yes;
  }
  std::optional<QSize> askPictureSize(QSize suggested) override {
    return pictureSize.value_or(suggested);
  }
  std::optional<int> chooseItem(const QString& text, const QStringList& items, int) override {
    questions << text + " " + items.join(" | ");
    if (choices.empty()) return 0;
    const std::optional<int> choice = choices.front();
    choices.pop_front();
    return choice;
  }
  LoadAnswer abortOrIgnore(const QString& text) override {
    questions << text;
    if (answers.empty()) return LoadAnswer::Ignore;
    const LoadAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

 private:
  std::optional<QString> nextFile(const FileDialogRequest& request) {
    requests.push_back(request);
    const QString file = files.isEmpty() ? QString() : files.takeFirst();
    if (file.isEmpty()) return std::nullopt;
    return file;
  }
};

//! Records what the program asks of the desktop; the browser works when told so, and the
//! printer prints into a PDF file.
class RecordingDesktop : public DesktopServices {
 public:
  bool browserWorks = true;
  QString pdfFile;  //!< where "printing" goes; empty: the print dialog is cancelled
  QStringList addresses;
  QStringList mails;

  bool openAddress(const QString& address) override {
    addresses << address;
    return browserWorks;
  }
  bool writeMail(const QString& address, const QString& subject) override {
    mails << address + "?" + subject;
    return true;
  }
  bool choosePrinter(QPrinter& printer, QWidget*) override {
    if (pdfFile.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile);
    return true;
  }
};

//! A settings file of its own in a temporary folder.
class TemporarySettings {
 public:
  TemporarySettings()
      : settings_(folder_.filePath("Quorrel.conf"), QSettings::IniFormat), store_(settings_) {}
  QtSettingsStore& store() { return store_; }
  QSettings& settings() { return settings_; }
  //! A value as the file holds it, after writing out what is pending.
  QVariant stored(const QString& key) {
    settings_.sync();
    return QSettings(folder_.filePath("Quorrel.conf"), QSettings::IniFormat).value(key);
  }

 private:
  QTemporaryDir folder_;
  QSettings settings_;
  QtSettingsStore store_;
};

//! Everything a main window needs, answered by tests.
struct TestServices {
  TestServices() { settings.store().write("Main", "expertmode", "1"); }

  ScriptedPrompts prompts;
  RecordingDesktop desktop;
  TemporarySettings settings;

  //! A main window started with `arguments` ("nosplash" is the tests' default, and the
  //! stored expert mode keeps the tips window away unless a test removes it).
  std::unique_ptr<TForm1> start(std::vector<std::string> arguments = {"nosplash"}) {
    return std::make_unique<TForm1>(
        TForm1::Services{prompts, desktop, settings.store(), dataFolder.path()},
        ReadCommandLine(arguments));
  }

  //! The user's data folder of these windows.
  QTemporaryDir dataFolder;
};

//! A folder for the files a test writes.
class ScratchFiles {
 public:
  QString write(const QString& name, const QByteArray& content) {
    const QString path = folder_.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
    return path;
  }
  QString path(const QString& name) const { return folder_.filePath(name); }

 private:
  QTemporaryDir folder_;
};

}  // namespace quorrel::testing
