#include "ui/platform/dialog_prompts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QSpinBox>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/help/help_key.h"

namespace quorrel {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, request.title, request.folder, request.filter);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return dialog.selectedFiles().first();
}

}  // namespace

std::optional<QString> DialogPrompts::openFile(const FileDialogRequest& request) {
  return RunFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

std::optional<QString> DialogPrompts::saveFile(const FileDialogRequest& request) {
  return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

void DialogPrompts::information(const QString& text) {
  QMessageBox::information(parent_, QApplication::applicationName(), text);
}

void DialogPrompts::error(const QString& text) {
  QMessageBox::critical(parent_, QApplication::applicationName(), text);
}

LoadAnswer DialogPrompts::abortOrIgnore(const QString& text) {
  const auto answer =
      QMessageBox::question(parent_, QApplication::applicationName(), text,
                            QMessageBox::Abort | QMessageBox::Ignore, QMessageBox::Ignore);
  return answer == QMessageBox::Abort ? LoadAnswer::Abort : LoadAnswer::Ignore;
}

SaveChoice DialogPrompts::askSaveChanges(const QString& text) {
  const auto answer = QMessageBox::question(
      parent_, QApplication::applicationName(), text,
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return SaveChoice::Save;
  return answer == QMessageBox::Discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

bool DialogPrompts::confirm(const QString& text) {
  return QMessageBox::question(parent_, QApplication::applicationName(), text,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QSize> DialogPrompts::askPictureSize(QSize suggested) {
  QDialog dialog(parent_);
  dialog.setWindowTitle("Size of the picture");
  auto* width = new QSpinBox;
  auto* height = new QSpinBox;
  for (QSpinBox* side : {width, height}) {
    side->setRange(50, 20000);
    side->setSuffix(" px");
  }
  width->setValue(suggested.width());
  height->setValue(suggested.height());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow("width:", width);
  form->addRow("height:", height);
  form->addRow(new QLabel("PDF and SVG take the size in points, PNG in pixels."));
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return QSize(width->value(), height->value());
}

std::optional<int> DialogPrompts::chooseItem(const QString& text, const QStringList& items,
                                             int helpContext) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(QApplication::applicationName());
  dialog.setLabelText(text);
  dialog.setComboBoxItems(items);
  dialog.setComboBoxEditable(false);
  if (help_ != nullptr) BindHelpKey(dialog, *help_, helpContext);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return static_cast<int>(items.indexOf(dialog.textValue()));
}

}  // namespace quorrel
