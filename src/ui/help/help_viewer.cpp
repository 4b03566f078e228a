#include "ui/help/help_viewer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "shell/help_topics.h"

namespace quorrel {

namespace {

QUrl PageAddress(const QString& page) { return QUrl("qrc:/help/" + page); }

}  // namespace

HelpWindow::HelpWindow(const QString& title, QWidget* owner)
    : QWidget(owner, Qt::Window), browser_(new QTextBrowser) {
  setWindowTitle(title);
  setObjectName("HelpWindow");
  browser_->setOpenExternalLinks(true);
  auto* back = new QPushButton("&Back");
  auto* forward = new QPushButton("&Forward");
  auto* contents = new QPushButton("&Contents");
  // Closing needs no window manager: a button and Escape.
  auto* close = new QPushButton("C&lose");
  close->setObjectName("helpClose");
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(contents, &QPushButton::clicked, this, [this] { showPage(kHelpContentsPage); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
  resize(640, 560);
}

void HelpWindow::showPage(const QString& page) {
  browser_->setSource(PageAddress(page));
  // Over a modal dialog the help is modal itself, or the dialog would block it.
  const QWidget* modal = QApplication::activeModalWidget();
  const Qt::WindowModality wanted =
      modal != nullptr && modal != this ? Qt::ApplicationModal : Qt::NonModal;
  if (windowModality() != wanted) {
    hide();
    setWindowModality(wanted);
  }
  show();
  raise();
  activateWindow();
}

QUrl HelpWindow::currentPage() const { return browser_->source(); }

void HelpViewer::showContents() { open(QString()).showPage(kHelpContentsPage); }

void HelpViewer::showTopic(const QString& topic) {
  const auto page = HelpPageOfTopic(topic.toStdString());
  open(QString()).showPage(QString::fromStdString(page.value_or(kHelpContentsPage)));
}

void HelpViewer::showContext(int context, const QString& window) {
  const auto page = HelpPageOfContext(context);
  open(window).showPage(QString::fromStdString(page.value_or(kHelpContentsPage)));
}

HelpWindow* HelpViewer::window(const QString& name) const {
  const auto found = windows_.find(name);
  return found == windows_.end() ? nullptr : found->second;
}

HelpWindow& HelpViewer::open(const QString& name) {
  HelpWindow*& window = windows_[name];
  if (window == nullptr) {
    window = new HelpWindow(name.isEmpty() ? "Quorrel Help" : "Quorrel Tutorial", owner_);
  }
  return *window;
}

}  // namespace quorrel
