#pragma once
// The web browser, the mail program and the printer, behind one interface that tests answer.

#include <QString>

class QPrinter;
class QWidget;

namespace quorrel {

class DesktopServices {
 public:
  virtual ~DesktopServices() = default;
  //! Opens the address in the user's browser; false when that failed.
  virtual bool openAddress(const QString& address) = 0;
  //! Starts a new message in the user's mail program.
  virtual bool writeMail(const QString& address, const QString& subject) = 0;
  //! Lets the user choose and set up `printer`; false when cancelled.
  virtual bool choosePrinter(QPrinter& printer, QWidget* parent) = 0;
};

//! The services of the user's desktop.
class SystemDesktopServices : public DesktopServices {
 public:
  bool openAddress(const QString& address) override;
  bool writeMail(const QString& address, const QString& subject) override;
  bool choosePrinter(QPrinter& printer, QWidget* parent) override;
};

}  // namespace quorrel
