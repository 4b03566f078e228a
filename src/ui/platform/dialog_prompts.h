#pragma once
// The prompts as the user sees them: Qt's file dialogs and message boxes.

#include <QWidget>

#include "ui/platform/prompts.h"

namespace quorrel {

class HelpViewer;

class DialogPrompts : public Prompts {
 public:
  //! The dialogs are centred over `parent` once it is set.
  void setParent(QWidget* parent) { parent_ = parent; }
  //! The help that F1 opens in the questions that have a page.
  void setHelp(HelpViewer* help) { help_ = help; }

  std::optional<QString> openFile(const FileDialogRequest& request) override;
  std::optional<QString> saveFile(const FileDialogRequest& request) override;
  void information(const QString& text) override;
  void error(const QString& text) override;
  LoadAnswer abortOrIgnore(const QString& text) override;
  SaveChoice askSaveChanges(const QString& text) override;
  bool confirm(const QString& text) override;
  std::optional<QSize> askPictureSize(QSize suggested) override;
  std::optional<int> chooseItem(const QString& text, const QStringList& items,
                                int helpContext) override;

 private:
  QWidget* parent_ = nullptr;
  HelpViewer* help_ = nullptr;
};

}  // namespace quorrel
