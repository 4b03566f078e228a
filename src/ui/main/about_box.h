#pragma once
// The about box "Infos": product, version, maker, operating system and version history.

#include <QDialog>

class QLabel;
class QPushButton;
class QTextBrowser;
class QFrame;

namespace quorrel {

class DesktopServices;
class HelpViewer;

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  TAboutBox(DesktopServices& desktop, HelpViewer& help, QWidget* parent = nullptr);

  //! The address that a click on the maker's name writes to.
  void setContactAddress(const QString& address) { contactAddress_ = address; }

 signals:
  void statusText(const QString& text);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void toggleHistory();

  DesktopServices& desktop_;
  QString contactAddress_;
  QFrame* Panel1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QTextBrowser* History;
  QPushButton* OKButton;
  QPushButton* Button2;
};

}  // namespace quorrel
