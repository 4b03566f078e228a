#include "ui/platform/desktop_services.h"

#include <QDesktopServices>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>
#include <QUrlQuery>

namespace quorrel {

bool SystemDesktopServices::openAddress(const QString& address) {
  return QDesktopServices::openUrl(QUrl(address));
}

bool SystemDesktopServices::writeMail(const QString& address, const QString& subject) {
  QUrl mail("mailto:" + address);
  QUrlQuery query;
  query.addQueryItem("subject", subject);
  mail.setQuery(query);
  return QDesktopServices::openUrl(mail);
}

bool SystemDesktopServices::choosePrinter(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace quorrel
