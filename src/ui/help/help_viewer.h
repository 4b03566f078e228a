#pragma once
// The program's help: HTML pages compiled into the program, shown in help windows.

#include <map>

#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace quorrel {

//! One help window: a page browser with Back, Forward and Contents.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  //! A window of its own that closes with `owner`.
  HelpWindow(const QString& title, QWidget* owner);

  //! Opens a page of the help ("file.html#loaddata").
  void showPage(const QString& page);
  //! The page shown, as a "qrc:" address.
  QUrl currentPage() const;

 private:
  QTextBrowser* browser_;
};

//! The help windows: the main one and named secondary ones (the tutorial's "tutwnd").
class HelpViewer {
 public:
  //! The windows close with `owner`.
  explicit HelpViewer(QWidget* owner) : owner_(owner) {}

  //! The contents page.
  void showContents();
  //! The page of a topic identifier ("Index", "settingsdialog", ...); the contents page for
  //! an unknown one.
  void showTopic(const QString& topic);
  //! The page of a help context number, in the main window or in the named secondary window;
  //! the contents page for an unknown one.
  void showContext(int context, const QString& window = QString());

  //! The window of that name, once it has been opened; the main one for an empty name.
  HelpWindow* window(const QString& name = QString()) const;

 private:
  HelpWindow& open(const QString& name);

  QWidget* owner_;
  std::map<QString, HelpWindow*> windows_;
};

}  // namespace quorrel
